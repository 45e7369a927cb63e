// Code tables of the 17-character VIN (model years 1981-1988).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "codes.h"

namespace kordel::tables17 {

// Where each code stands in the VIN. Positions 1 and 2 are only checked.
namespace position {
inline constexpr std::uint8_t vehicle_type = 3, engine = 4, trans = 5, body_code_1 = 6,
                              body_code_2 = 7, restraints = 8, check_digit = 9, year = 10,
                              plant = 11;
// The last two digits of the sequence number, which choose the ordinal suffix.
inline constexpr std::uint8_t sequence_tens = 16, sequence_units = 17;
}  // namespace position

struct BodyDecoder {
  char body_code_1;
  char body_code_2;
  std::string_view model;
  std::span<const CodeRow> trans_overrides;  // tried before the common trans table
};

extern const std::span<const Check> checks;
// Each code table is read at the position of the same name; a body at its two.
extern const std::span<const CodeRow> vehicle_type;
extern const std::span<const CodeRow> engine;
extern const std::span<const CodeRow> trans;
extern const std::span<const CodeRow> restraints;
extern const std::span<const CodeRow> year;
extern const std::span<const CodeRow> plant;
extern const std::span<const BodyDecoder> bodies;

}  // namespace kordel::tables17
