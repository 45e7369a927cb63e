// What each character of a decoded VIN says: the field its position encodes and
// the text that field got in this decode, so that a reader learns to read the tag.
// Pure: no I/O.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "vin_decode.h"

namespace kordel::record {

struct PositionMeaning {
  std::uint8_t position = 0;   // 1-based
  std::string_view character;  // as typed (UTF-8)
  std::string_view field;      // a field's name, "sequence", or empty where no table reads it
  // What the position encodes, in words ("model year"); for a position only a
  // check reads, what the check calls it and "checked" ("body class, checked").
  std::string meaning;
  // The text it gave in this decode: the field's text (without blanks at the ends),
  // the production number for the sequence; none where the report shows "Error" or
  // no table reads the position.
  std::optional<std::string> text;
};

struct PositionMeanings {
  std::array<PositionMeaning, 17> items{};
  std::size_t count = 0;
  const PositionMeaning *begin() const { return items.data(); }
  const PositionMeaning *end() const { return items.data() + count; }
};

// The meaning of every position for result i of `decode`, which must have decoded;
// the views point into `decode` and the tables.
PositionMeanings position_meanings(const VinDecode &decode, std::size_t i);

}  // namespace kordel::record
