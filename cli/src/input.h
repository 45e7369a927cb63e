// Reading VINs from a stream: one a line, or one column of a CSV file. Memory
// stays bounded whatever the input holds.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "csv_dialect.h"
#include "csv_record.h"
#include "record.h"
#include "vin_decode.h"

namespace kordel::cli {

// A line longer than this is not a VIN; it is reported, and skipped to its end
// without being kept.
inline constexpr std::size_t max_line_bytes = record::max_vin_bytes;
// A CSV field or row longer than this, or a row of more fields, makes the input unreadable.
inline constexpr std::size_t max_csv_bytes = 1 << 20;
inline constexpr std::size_t max_csv_fields = 4096;

// One line; `too_long` when it had more than max_line_bytes (then `line` holds its
// start). Returns false to stop reading (when the output has gone, say).
using LineHandler = std::function<bool(std::string_view line, bool too_long)>;

// Calls `handle` for each line of `in` (LF-terminated; the last may lack its LF),
// without a UTF-8 byte-order mark at the start. Returns an error text when the
// stream could not be read, else an empty string.
std::string read_lines(std::FILE *in, const LineHandler &handle);

// One data row of a CSV file (in UTF-8, its `names` set where the header repeats a
// name or the row has cells past it) and the value of the VIN column in it (empty
// when the row is shorter than the header). Returns false to stop reading.
using RowHandler = std::function<bool(const record::CsvRow &row, std::string_view vin)>;

// How to read a CSV file: a delimiter and encoding given, or (unset) read from the
// file's first 64 KiB.
struct CsvChoice {
  std::optional<char> delimiter;
  std::optional<record::TextEncoding> encoding;
};

// Reads CSV (RFC 4180) from `in`: the first row is the header, which must name
// `column`. `dialect` is set to the file's before the first row is handled; a
// Windows-1252 file's cells are handed on in UTF-8. Returns an error text when the
// input cannot be read as such, else an empty string. Rows before an error have
// been handled.
std::string read_csv(std::FILE *in, const std::string &column, const CsvChoice &choice,
                     record::CsvDialect &dialect, const RowHandler &handle);

// The same over a buffer in memory (for tests and fuzzing).
std::string read_csv(std::string_view data, const std::string &column, const CsvChoice &choice,
                     record::CsvDialect &dialect, const RowHandler &handle);
std::string read_lines(std::string_view data, const LineHandler &handle);

}  // namespace kordel::cli
