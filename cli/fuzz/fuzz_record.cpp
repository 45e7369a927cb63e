// Feeds arbitrary VINs through the record layer with suggestions and position
// meanings on: every JSON record must parse as one line of JSON, and every CSV row,
// read back with libcsv in the delimiter it was written in, must be as wide as the
// header.
//
// Input: one byte choosing the model year, the delimiter, raw cells and whether the
// VINs come with an input row, then the VINs one a line (cells split at '|').
#include <csv.h>

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "csv_record.h"
#include "json_record.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

// The number of fields in each row of `csv`, read with libcsv.
std::vector<std::size_t> row_widths(std::string_view csv, char delimiter) {
  struct Count {
    std::size_t fields = 0;
    std::vector<std::size_t> widths;
  } count;
  csv_parser parser{};
  require(csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) == 0);
  csv_set_delim(&parser, static_cast<unsigned char>(delimiter));
  const auto on_field = [](void *, std::size_t, void *data) {
    ++static_cast<Count *>(data)->fields;
  };
  const auto on_row = [](int, void *data) {
    auto *c = static_cast<Count *>(data);
    c->widths.push_back(c->fields);
    c->fields = 0;
  };
  require(csv_parse(&parser, csv.data(), csv.size(), on_field, on_row, &count) == csv.size());
  require(csv_fini(&parser, on_field, on_row, &count) == 0);
  csv_free(&parser);
  return count.widths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using namespace kordel::record;
  if (size < 1) return 0;
  const std::uint8_t choice = data[0];
  const int model_year = (choice & 7) == 0 ? 0 : 68 + (choice & 7);
  RecordOptions options;
  options.suggest = true;
  options.explain = true;
  options.csv_delimiter = ",;\t"[(choice >> 3) % 3];
  options.csv_raw = (choice & 0x40) != 0;
  const bool with_row = (choice & 0x80) != 0;
  std::string_view input(reinterpret_cast<const char *>(data + 1), size - 1);

  const std::vector<std::string> header = {"id", "VIN", "id"};
  VinDecode decode;
  std::string csv;
  while (!input.empty()) {
    const std::size_t end = input.find('\n');
    const std::string_view line = input.substr(0, end);
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);

    std::vector<std::string> cells;
    for (std::size_t start = 0;;) {
      const std::size_t bar = line.find('|', start);
      cells.emplace_back(line.substr(start, bar - start));
      if (bar == std::string_view::npos) break;
      start = bar + 1;
    }
    const std::vector<std::string> names = csv_column_names(header, cells.size());
    const CsvRow row{header, cells, names};
    const std::string_view vin = !with_row          ? line
                                 : cells.size() > 1 ? std::string_view(cells[1])
                                                    : std::string_view();
    decode.decode(trim_vin(vin), model_year);

    std::string record;
    append_json_record(record, decode, with_row ? &row : nullptr, options);
    require(record.find('\n') == std::string::npos);
    require(nlohmann::json::accept(record));

    if (csv.empty()) append_csv_header(csv, with_row ? &row : nullptr, options);
    append_csv_rows(csv, decode, with_row ? &row : nullptr, options);
  }
  if (csv.empty()) return 0;
  const std::vector<std::size_t> widths = row_widths(csv, options.csv_delimiter);
  for (const std::size_t width : widths) require(width == widths.front());
  return 0;
}
