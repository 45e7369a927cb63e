// Code tables of the 17-character VIN (model years 1981-1988).
#pragma once

#include <span>
#include <string_view>

#include "codes.h"

namespace kordel::tables17 {

struct BodyDecoder {
  char body_code_1;  // position 6
  char body_code_2;  // position 7
  std::string_view model;
  std::span<const CodeRow> trans_overrides;  // tried before the common trans table
};

extern const std::span<const Check> checks;
extern const std::span<const CodeRow> vehicle_type;  // position 3
extern const std::span<const CodeRow> engine;        // position 4
extern const std::span<const CodeRow> trans;         // position 5
extern const std::span<const CodeRow> restraints;    // position 8
extern const std::span<const CodeRow> year;          // position 10
extern const std::span<const CodeRow> plant;         // position 11
extern const std::span<const BodyDecoder> bodies;    // positions 6 and 7

}  // namespace kordel::tables17
