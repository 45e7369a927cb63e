// The module's entries into the record library, for the page and for any other
// JavaScript: one VIN's record, as `kordel-decode --format json --suggest
// --explain` writes it, with its check-digit warning; and a list's CSV, as
// `kordel-decode --format csv --suggest` writes it. Texts in and out are UTF-8 except a list's
// cells, which are bytes and go to the CSV as they are.
#include <string>
#include <string_view>
#include <vector>

#include "csv_record.h"
#include "json_record.h"
#include "record.h"
#include "report.h"
#include "vin_decode.h"

namespace {

using namespace kordel::record;

// A line longer than this is not read as a VIN, as in `kordel-decode`.
constexpr std::size_t max_line_bytes = 1024;

// The page offers suggestions for a VIN that does not decode and shows what each
// character of one that does says; a list's table and CSV carry the suggestions.
constexpr RecordOptions options{.suggest = true, .explain = true};

// The suggestions of the list row decoded last: searched for once, written to its
// CSV rows and to its answer.
std::vector<Suggestion> row_suggestions;
const RecordOptions list_options{.suggest = true, .suggestions = &row_suggestions};

// A VinDecode holds several results: kept out of the (small) stack.
VinDecode decode;
// The caller copies a returned text out before its next call, so one suffices.
std::string returned;

// The list being written: its input columns (empty for a list of lines), the
// cells of the row to come and of the row decoded last (which its decode points
// into), and the CSV.
std::vector<std::string> header;
std::vector<std::string> cells;
std::vector<std::string> decoded_cells;
std::string csv;

// Decodes `vin` for a model year of 0, 68-80 or 1968-1980; any other year is
// refused, as `kordel-decode --year` refuses it.
void decode_for(std::string_view vin, int year) {
  if (year == 0) {
    decode.decode(trim_vin(vin), 0);
    return;
  }
  if (const std::optional<int> two_digit = parse_model_year(std::to_string(year)))
    decode.decode(trim_vin(vin), *two_digit);
  else
    decode.refuse(trim_vin(vin),
                  "model year " + std::to_string(year) + " is not one of 68-80 or 1968-1980");
}

// A line of a list of lines, as `kordel-decode` reads one.
void decode_line(std::string_view line, int year) {
  if (line.size() <= max_line_bytes) {
    decode_for(line, year);
    return;
  }
  // The record names the line by its first 32 bytes.
  decode.refuse(trim_vin(line.substr(0, 32)),
                std::string(kordel::report::length_message) + " (the line holds more than " +
                    std::to_string(max_line_bytes) + " bytes)");
}

// What became of the VIN, in one word.
const char *outcome() {
  if (!decode.error().empty()) return "error";
  if (decode.decoded()) return "decoded";
  for (std::size_t i = 0; i < decode.attempt_count(); ++i)
    if (decode.attempt(i).status == Status::rejected) return "rejected";
  return "unknown";
}

// {"check_digit_warning": text, "unknown_message": the words for a result of
// status unknown, when there is one, "record": the JSON record}; texts are empty
// when they do not apply.
const char *answer(const RecordOptions &record_options) {
  returned = "{\"check_digit_warning\":";
  append_json_string(returned, decode.check_digit_warning());
  bool unknown = false;
  for (std::size_t i = 0; i < decode.attempt_count(); ++i)
    unknown = unknown || decode.attempt(i).status == Status::unknown;
  returned += ",\"unknown_message\":";
  append_json_string(returned, unknown ? unknown_message : std::string_view());
  returned += ",\"record\":";
  append_json_record(returned, decode, nullptr, record_options);
  returned += '}';
  return returned.c_str();
}

}  // namespace

extern "C" {

// Everything the page shows for one VIN; year: 0 tries every candidate year.
const char *kordel_decode(const char *vin, int year) {
  decode_for(vin ? vin : "", year);
  return answer(options);
}

// One VIN's record alone, as `kordel-decode --format json` writes it, with
// --suggest when `flags` has bit 1 and --explain when it has bit 2 (the npm
// package's call); year as for kordel_decode.
const char *kordel_record(const char *vin, int year, int flags) {
  decode_for(vin ? vin : "", year);
  returned.clear();
  append_json_record(returned,
                     decode,
                     nullptr,
                     RecordOptions{.suggest = (flags & 1) != 0, .explain = (flags & 2) != 0});
  return returned.c_str();
}

// Adds a cell of `size` bytes (not necessarily UTF-8) to the row to come and
// returns where the caller writes them.
char *kordel_csv_cell(int size) {
  cells.emplace_back(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  return cells.back().data();
}

// Starts a list's CSV with its header: the cells given are the input's columns;
// none, and the list is of VINs one a line.
void kordel_csv_begin() {
  header = std::move(cells);
  cells.clear();
  csv.clear();
  const CsvRow row{header, {}};
  append_csv_header(csv, header.empty() ? nullptr : &row, options);
}

// Decodes the row given (the cell at vin_column of an input row, or the one cell
// of a list of lines) and appends its CSV rows. Returns what became of the VIN:
// "decoded", "rejected", "unknown" or "error"; or an empty text for a blank
// line, which is skipped.
const char *kordel_csv_row(int vin_column, int year) {
  decoded_cells = std::move(cells);
  cells.clear();
  if (header.empty()) {
    const std::string_view line =
        decoded_cells.empty() ? std::string_view() : decoded_cells.front();
    if (trim_vin(line).empty()) return "";
    decode_line(line, year);
    row_suggestions = suggestions_for(decode);
    append_csv_rows(csv, decode, nullptr, list_options);
    return outcome();
  }
  const auto column = static_cast<std::size_t>(vin_column);
  decode_for(vin_column >= 0 && column < decoded_cells.size()
                 ? std::string_view(decoded_cells[column])
                 : std::string_view(),
             year);
  row_suggestions = suggestions_for(decode);
  const CsvRow row{header, decoded_cells};
  append_csv_rows(csv, decode, &row, list_options);
  return outcome();
}

// What kordel_decode answers, for the row decoded last; its record without the
// positions, which the list does not show, and with the suggestions its CSV rows got.
const char *kordel_csv_answer() { return answer(list_options); }

// The CSV written since kordel_csv_begin: its bytes and their count.
const char *kordel_csv_data() { return csv.data(); }
int kordel_csv_size() { return static_cast<int>(csv.size()); }

}  // extern "C"

// Empties the CSV written so far, once the caller has copied it out: a long
// list's CSV is taken in pieces and never held whole in the module's memory.
extern "C" __attribute__((used)) void kordel_csv_drop() { csv.clear(); }
