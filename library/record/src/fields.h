// The fields of a decode, written once: their names, which VIN scheme has each,
// and where the CSV puts them. The JSON object and the CSV columns both follow it.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "decode.h"

namespace kordel::record {

struct Field {
  std::string_view name;
  std::string_view Vin13Fields::*in13 = nullptr;  // nullptr: 13-character VINs lack it
  std::string_view Vin17Fields::*in17 = nullptr;  // nullptr: 17-character VINs lack it
  char Vin17Fields::*char17 = nullptr;            // a 17-character field held as one character
  int csv_column = -1;                            // its place among the CSV's field columns, or -1
};

// In the order of the JSON object's `fields` member, for either scheme. The CSV
// has a column for every field of either scheme but the check digit, which it
// writes with the expected one from the check of the whole VIN.
inline constexpr std::array<Field, 11> fields = {{
    {"year", &Vin13Fields::year, &Vin17Fields::year, nullptr, 0},
    {"make", &Vin13Fields::make, &Vin17Fields::make, nullptr, 1},
    {"model", &Vin13Fields::model, &Vin17Fields::model, nullptr, 2},
    {"series", &Vin13Fields::series, nullptr, nullptr, 3},
    {"body", &Vin13Fields::body, nullptr, nullptr, 4},
    {"vehicle_type", nullptr, &Vin17Fields::vehicle_type, nullptr, 8},
    {"engine", &Vin13Fields::engine, &Vin17Fields::engine, nullptr, 5},
    {"trans", &Vin13Fields::trans, &Vin17Fields::trans, nullptr, 6},
    {"restraints", nullptr, &Vin17Fields::restraints, nullptr, 9},
    {"check_digit", nullptr, nullptr, &Vin17Fields::check_digit, -1},
    {"plant", &Vin13Fields::plant, &Vin17Fields::plant, nullptr, 7},
}};

inline constexpr bool in_scheme13(const Field &field) { return field.in13 != nullptr; }
inline constexpr bool in_scheme17(const Field &field) {
  return field.in17 != nullptr || field.char17 != nullptr;
}

// A field's text as the decoder wrote it (blanks and all); the caller checks
// the scheme first.
inline std::string_view raw_text(const Field &field, const Vin13Fields &f) { return f.*field.in13; }
inline std::string_view raw_text(const Field &field, const Vin17Fields &f) {
  return field.in17 != nullptr ? f.*field.in17 : std::string_view(&(f.*field.char17), 1);
}

// The indices into `fields` of the CSV's field columns, in column order.
inline constexpr std::size_t csv_field_count = [] {
  std::size_t n = 0;
  for (const Field &field : fields) n += field.csv_column >= 0 ? 1 : 0;
  return n;
}();
inline constexpr std::array<std::size_t, csv_field_count> csv_fields = [] {
  std::array<std::size_t, csv_field_count> order{};
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].csv_column >= 0) order[static_cast<std::size_t>(fields[i].csv_column)] = i;
  return order;
}();

}  // namespace kordel::record
