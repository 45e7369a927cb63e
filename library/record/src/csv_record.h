// The CSV of decoded VINs, as `kordel-decode --format csv` writes it: a header,
// then a row for each model year a VIN is decoded with. RFC 4180 with CRLF line ends.
#pragma once

#include <string>
#include <string_view>

#include "record.h"
#include "vin_decode.h"

namespace kordel::record {

// Appends the header: the input's columns when there is a `row` (else "vin"),
// then the decode's.
void append_csv_header(std::string &out, const CsvRow *row = nullptr);

// Appends the rows of one VIN: one per model year tried, or one with its error.
void append_csv_rows(std::string &out, const VinDecode &decode, const CsvRow *row = nullptr);

// Appends a CSV field, in double quotes (each inner one doubled) where it holds a
// comma, a quote or a line break.
void append_csv_field(std::string &out, std::string_view text);

}  // namespace kordel::record
