// Model decoders of the 13-character VIN (model years 1968-1980) as data, and the
// dispatch that picks one of them.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "codes.h"
#include "decode.h"

namespace kordel::models13 {

// Where each code stands in the VIN, the same for every model line: a field's
// position follows from the field.
namespace position {
inline constexpr std::uint8_t year = 2, trans = 3, model_line = 4, body = 5, series = 6, engine = 7,
                              plant = 8;
// The last two digits of the sequence number, which choose the ordinal suffix.
inline constexpr std::uint8_t sequence_tens = 12, sequence_units = 13;
}  // namespace position

// Where a field's text comes from: its code table, read at the field's position,
// or one fixed text.
struct FieldSource {
  std::span<const CodeRow> rows;  // empty for a fixed text
  std::string_view fixed_text;

  template <std::size_t N>
  constexpr FieldSource(const CodeRow (&table)[N]) : rows(table) {}  // NOLINT: a table serves
  constexpr explicit FieldSource(std::string_view text) : fixed_text(text) {}
};

constexpr FieldSource fixed(std::string_view text) { return FieldSource(text); }

// One model line: its checks in order, its model text and the source of each field.
struct ModelDecoder {
  std::string_view name;  // for tests and benchmarks
  std::span<const Check> checks;
  std::string_view model_text;  // written after trans, before body
  FieldSource year;
  FieldSource trans;
  FieldSource body;
  FieldSource series;
  FieldSource engine;
};

// The thirteen model lines, in the order the tables are written; `all` lists them
// for tests that walk every table.
extern const ModelDecoder ambassador, matador, javelin, amx, pacer, gremlin, spirit, rebel,
    matador_2dr, hornet, concord, eagle, rambler;
inline constexpr const ModelDecoder *all_lines[] = {
    &ambassador,
    &matador,
    &javelin,
    &amx,
    &pacer,
    &gremlin,
    &spirit,
    &rebel,
    &matador_2dr,
    &hornet,
    &concord,
    &eagle,
    &rambler,
};
inline constexpr std::span<const ModelDecoder *const> all = all_lines;

// A character condition of the dispatch.
struct CharCondition {
  CharSet set;
  constexpr bool holds(char c) const { return set.contains(c); }
};

constexpr CharCondition any_character{CharSet().complement()};
constexpr CharCondition one_of(const char *chars) { return {CharSet(chars)}; }
constexpr CharCondition none_of(const char *chars) { return {CharSet(chars).complement()}; }

struct YearCondition {
  int low = INT_MIN, high = INT_MAX;  // inclusive
  bool inverted = false;

  constexpr bool holds(int year) const { return (year >= low && year <= high) != inverted; }
};

constexpr YearCondition any_year{};
constexpr YearCondition year_is(int year) { return {year, year, false}; }
constexpr YearCondition years(int low, int high) { return {low, high, false}; }
constexpr YearCondition above(int year) { return {year + 1, INT_MAX, false}; }
constexpr YearCondition below(int year) { return {INT_MIN, year - 1, false}; }
constexpr YearCondition outside(int low, int high) { return {low, high, true}; }

// One row of the dispatch decision table; the first row that holds decides. A row
// with neither decoder nor message ends the call silently with return code 0.
struct DispatchRow {
  CharCondition series_code;  // position 4
  CharCondition year_digit;   // position 2
  CharCondition body_type;    // position 5
  YearCondition model_year;
  const ModelDecoder *decoder = nullptr;
  const Check *message = nullptr;  // shown as a stop
};

extern const std::span<const DispatchRow> dispatch;

// Position 1 of every 13-character VIN, tested before the dispatch.
extern const Check first_position;

// Runs one model decoder on a result whose vin_text is copied and whose fields are
// preset, as the dispatch leaves it.
void run_model_decoder(const ModelDecoder &model, Decode13Result &r);

// Copies, presets and runs one model decoder without the dispatch.
Decode13Result decode_with_model(const ModelDecoder &model, const char *vin);

}  // namespace kordel::models13
