// Model decoders of the 13-character VIN (model years 1968-1980) as data, and the
// dispatch that picks one of them.
#pragma once

#include <climits>
#include <span>
#include <string_view>

#include "codes.h"

namespace kordel::models13 {

// Where a field's text comes from: one fixed text, or a code table read at a position.
struct FieldSource {
  std::uint8_t position = 0;  // 0: the fixed text
  std::string_view fixed_text = {};
  std::span<const CodeRow> rows = {};
};

constexpr FieldSource fixed(std::string_view text) { return {0, text, {}}; }
constexpr FieldSource coded(std::uint8_t position, std::span<const CodeRow> rows) {
  return {position, {}, rows};
}

struct ModelDecoder {
  std::string_view name;  // for tests and benchmarks
  std::string_view model_text;
  std::span<const Check> checks;
  FieldSource year, trans, body, series, engine;
};

extern const ModelDecoder ambassador, matador, javelin, amx, pacer, gremlin, spirit, rebel,
    matador_2dr, hornet, concord, eagle, rambler;

// All thirteen, for tests that walk every table.
extern const std::span<const ModelDecoder *const> all;

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
// with neither decoder nor message ends the call silently with result 0.
struct DispatchRow {
  CharCondition series_code;  // position 4
  CharCondition year_digit;   // position 2
  CharCondition body_type;    // position 5
  YearCondition model_year;
  const ModelDecoder *decoder = nullptr;
  const Check *message = nullptr;  // shown as a stop
};

// Position 1 of every 13-character VIN, tested before the dispatch.
extern const Check first_position;

extern const std::span<const DispatchRow> dispatch;

// Runs one model decoder on a result whose vin_text is copied and whose fields are
// preset, as the dispatch leaves it.
void run_model_decoder(const ModelDecoder &model, Decode13Result &r);

// Copies, presets and runs one model decoder without the dispatch.
Decode13Result decode_with_model(const ModelDecoder &model, const char *vin);

}  // namespace kordel::models13
