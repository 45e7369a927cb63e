// The general look-ups that run the tables of both schemes: the character at a
// position, the row for a code, the first failed check and the message it shows.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "codes.h"
#include "decode.h"

namespace kordel {

// The character at a 1-based VIN position.
constexpr char at_position(const char *vin, std::uint8_t position) { return vin[position - 1]; }

// The first row for `code` whose year-digit condition holds, or null.
constexpr const CodeRow *find_row(std::span<const CodeRow> rows, char code, char year_digit) {
  const auto row = std::find_if(rows.begin(), rows.end(), [&](const CodeRow &r) {
    return r.code == code && (r.year_digits.empty() || r.year_digits.contains(year_digit));
  });
  return row == rows.end() ? nullptr : &*row;
}

// The first check whose position holds a character outside its accepted set.
inline const Check *first_failure(std::span<const Check> checks, const char *vin) {
  const auto check = std::find_if(checks.begin(), checks.end(), [&](const Check &c) {
    return !c.accepted.contains(at_position(vin, c.position));
  });
  return check == checks.end() ? nullptr : &*check;
}

// The message a failed check shows.
constexpr Message failure_message(const Check &check) {
  const MessageKind kind = check.kind == FailureKind::stop_standard_output
                               ? MessageKind::standard_output
                               : MessageKind::box;
  return {kind,
          kind == MessageKind::box ? check.title : nullptr,
          check.message,
          check.position,
          check.accepted.chars(),
          check.kind == FailureKind::report_and_go_on};
}

}  // namespace kordel
