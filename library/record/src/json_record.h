// The JSON record of one VIN, as `kordel-decode --format json` writes it. Shared
// with the web page, so it depends on nothing but the decoding core, the report
// and nlohmann/json, does no I/O and lets no exception out.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "vin_decode.h"

namespace kordel::record {

// One JSON object exactly as `kordel-decode --format json` writes it for this VIN (no newline).
// model_year: 0 for every candidate, or 68-80 / 1968-1980 as --year takes it.
std::string json_record(std::string_view vin, int model_year);

// The input row of a CSV file, for the record's `row` member.
struct CsvRow {
  std::span<const std::string> header;
  std::span<const std::string> fields;  // may be shorter than the header
};

// Appends the record of a decoded VIN (no newline); `row` adds the `row` member.
void append_json_record(std::string &out, const VinDecode &decode, const CsvRow *row = nullptr);

// Appends a JSON string. Text that is not UTF-8 is written with U+FFFD in its place.
void append_json_string(std::string &out, std::string_view text);

}  // namespace kordel::record
