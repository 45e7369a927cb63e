// The CSV of decoded VINs, as `kordel-decode --format csv` writes it: a header,
// then a row for each model year a VIN is decoded with. RFC 4180 with CRLF line ends.
#pragma once

#include <string>
#include <string_view>

#include "record.h"
#include "vin_decode.h"

namespace kordel::record {

// Appends the header: the input's columns when there is a `row` (else "vin"),
// then the decode's; options.suggest adds the `suggestions` column at the end.
void append_csv_header(std::string &out, const CsvRow *row = nullptr,
                       const RecordOptions &options = {});

// Appends the rows of one VIN: one per model year tried, or one with its error.
// With options.suggest each row ends in the VIN's suggestions, joined with "; ".
void append_csv_rows(std::string &out, const VinDecode &decode, const CsvRow *row = nullptr,
                     const RecordOptions &options = {});

// Appends a CSV field, in double quotes (each inner one doubled) where it holds a
// comma, a quote or a line break.
void append_csv_field(std::string &out, std::string_view text);

}  // namespace kordel::record
