#include "report.h"

namespace kordel::report {
namespace {

// The candidates in the order the model-year prompt offers them.
constexpr std::int16_t sixties_or_seventies[] = {68, 78};
constexpr std::int16_t seventy_or_eighty[] = {70, 80};
constexpr std::int16_t both_decades[] = {68, 69, 70, 78, 79, 80};

}  // namespace

YearSettlement settle_model_year(int model_digit, int year_digit) {
  switch (model_digit) {
    case 8:
    case 1:
      if (year_digit == 8) return {true, 0, sixties_or_seventies};
      return {};
    case 4:
      if (year_digit == 9) return {false, 79, {}};
      if (year_digit == 0) return {true, 0, seventy_or_eighty};
      return {};
    case 0:
      if (year_digit == 0 || year_digit == 8 || year_digit == 9) return {true, 0, both_decades};
      return {};
    default: return {};
  }
}

}  // namespace kordel::report
