#include "decode.h"

namespace kordel {

void copy_vin(const char *vin, char *copy, std::size_t length) {
  std::size_t i = 0;
  for (; i < length && vin[i] != '\0'; ++i) copy[i] = upper_case(vin[i]);
  for (; i <= length; ++i) copy[i] = '\0';
}

std::string_view ordinal_suffix(char tens, char units) {
  if (tens == '1') return "th";
  switch (units) {
    case '1': return "st";
    case '2': return "nd";
    case '3': return "rd";
    case '0':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
    case '9': return "th";
    default: return "";
  }
}

}  // namespace kordel
