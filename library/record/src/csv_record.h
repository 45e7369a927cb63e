// The CSV of decoded VINs, as `kordel-decode --format csv` writes it: a header,
// then a row for each model year a VIN is decoded with. RFC 4180 with CRLF line ends.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// Appends a CSV field, in double quotes (each inner one doubled) where it holds the
// delimiter, a quote or a line break. Unless `raw`, a field a spreadsheet would run
// as a formula (one that begins with '=', '+', '-', '@', a tab or a carriage return,
// and is not a plain number such as -12 or +3.5) gets a leading apostrophe, which
// makes a spreadsheet show it as text.
void append_csv_field(std::string &out, std::string_view text, char delimiter = ',',
                      bool raw = false);

// The warning for `rows` input rows with cells past the header, which a CSV output
// has no column for.
std::string cells_past_header_warning(std::size_t rows);

// The names of a CSV row's cells for the JSON `row` member, `width` cells or the
// header's if more: a header name repeated gets "_2", "_3", ... (the first free
// one), and a cell past the header is "column_N", N counting from 1.
std::vector<std::string> csv_column_names(std::span<const std::string> header, std::size_t width);

}  // namespace kordel::record
