#include "csv_record.h"

#include <algorithm>
#include <array>
#include <set>

namespace kordel::record {
namespace {

// The columns after the field columns.
constexpr std::array<std::string_view, 4> trailing_columns = {
    "check_digit", "check_digit_expected", "production_number", "message"};

// Writes cells in one dialect: separated by the delimiter, quoted where needed, and
// neutralised as formulas unless raw.
struct CellWriter {
  std::string &out;
  const RecordOptions &options;

  void last(std::string_view text) const {
    append_csv_field(out, text, options.csv_delimiter, options.csv_raw);
  }
  void cell(std::string_view text) const {
    last(text);
    out += options.csv_delimiter;
  }
  void empty(std::size_t count) const { out.append(count, options.csv_delimiter); }
};

// The input's columns, or the VIN.
void append_input(const CellWriter &w, const VinDecode &decode, const CsvRow *row) {
  if (row == nullptr) {
    w.cell(decode.vin());
    return;
  }
  for (std::size_t i = 0; i < row->header.size(); ++i)
    w.cell(i < row->fields.size() ? std::string_view(row->fields[i]) : std::string_view());
}

// Each field column: the field's text where this decode has it, else empty.
void append_field_columns(const CellWriter &w, const Vin13Fields *f13, const Vin17Fields *f17) {
  for (const std::size_t index : csv_fields) {
    const Field &field = fields[index];
    std::optional<std::string_view> text;
    if (f13 != nullptr && in_scheme13(field))
      text = field_text(raw_text(field, *f13));
    else if (f17 != nullptr && in_scheme17(field))
      text = field_text(raw_text(field, *f17));
    w.cell(text.value_or(std::string_view()));
  }
}

// A cell a spreadsheet would take for a formula: one that begins with '=', '+',
// '-', '@', a tab or a carriage return, unless it is a plain number (a sign, digits
// and perhaps a decimal part), which a spreadsheet reads as a number.
bool starts_formula(std::string_view text) {
  if (text.empty()) return false;
  const char first = text.front();
  if (first == '=' || first == '@' || first == '\t' || first == '\r') return true;
  if (first != '+' && first != '-') return false;
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t i = 1;
  const std::size_t int_start = i;
  while (i < text.size() && digit(text[i])) ++i;
  if (i == int_start) return true;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fraction_start = ++i;
    while (i < text.size() && digit(text[i])) ++i;
    if (i == fraction_start) return true;
  }
  return i != text.size();
}

// The messages of one result, why it is incomplete, and the record's warnings
// last, joined with "; ".
std::string joined_messages(const VinDecode &decode, std::size_t i) {
  const Result a = decode.result(i);
  std::string message;
  const auto add = [&message](std::string_view text) {
    if (!message.empty()) message += "; ";
    message += text;
  };
  for (const Message &m : *a.messages) add(message_text(m));
  if (a.status == Status::unknown) add(unknown_message);
  if (a.status == Status::incomplete) add(decode.incomplete_reason(i));
  decode.for_each_warning(add);
  return message;
}

// The row of one model year tried: the decode's columns and the messages.
void append_result(const CellWriter &w, const VinDecode &decode, std::size_t i) {
  const Result a = decode.result(i);
  w.cell(a.model_year != 0 ? std::to_string(1900 + a.model_year) : std::string());
  w.cell(status_name(a.status));
  const bool decoded = a.status == Status::decoded || a.status == Status::incomplete;
  append_field_columns(
      w, decoded ? decode.fields13(i) : nullptr, decoded ? decode.fields17() : nullptr);
  const std::optional<CheckDigit> &check = decode.check_digit();
  w.cell(decode.check_digit_given());
  w.cell(check && check->expected ? std::string_view(&*check->expected, 1) : std::string_view());
  w.cell(decode.production_number() ? std::to_string(*decode.production_number()) : std::string());
  w.last(joined_messages(decode, i));
}

// The row of a VIN not decoded: "error", empty columns and the reason.
void append_error(const CellWriter &w, const VinDecode &decode) {
  w.empty(1);
  w.cell("error");
  // Field columns and the check digit, expected digit and production number.
  w.empty(csv_field_count + 3);
  w.last(decode.error());
}

}  // namespace

void append_csv_field(std::string &out, std::string_view text, char delimiter, bool raw) {
  const bool neutralise = !raw && starts_formula(text);
  // One pass over the text: most of a CSV's time is spent here.
  bool quote = false;
  for (const char c : text) {
    if (c == delimiter || c == '"' || c == '\r' || c == '\n') {
      quote = true;
      break;
    }
  }
  if (!quote) {
    if (neutralise) out += '\'';
    out += text;
    return;
  }
  out += '"';
  if (neutralise) out += '\'';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void append_csv_header(std::string &out, const CsvRow *row, const RecordOptions &options) {
  const CellWriter w{out, options};
  if (row != nullptr) {
    for (const std::string &name : row->header) w.cell(name);
  } else {
    w.cell("vin");
  }
  w.cell("model_year");
  w.cell("status");
  for (const std::size_t index : csv_fields) w.cell(fields[index].name);
  for (const std::string_view name : trailing_columns) {
    if (name != trailing_columns.front()) out += options.csv_delimiter;
    out += name;
  }
  if (options.suggest) {
    out += options.csv_delimiter;
    out += "suggestions";
  }
  out += "\r\n";
}

void append_csv_rows(std::string &out, const VinDecode &decode, const CsvRow *row,
                     const RecordOptions &options) {
  const CellWriter w{out, options};
  // The suggestions column, with the delimiter before it; the same on every row.
  std::string suggestions;
  if (options.suggest) {
    std::string joined;
    if (options.suggestions != nullptr)
      append_suggestions_text(joined, *options.suggestions);
    else
      append_suggestions_text(joined, suggestions_for(decode));
    suggestions += options.csv_delimiter;
    append_csv_field(suggestions, joined, options.csv_delimiter, options.csv_raw);
  }
  if (!decode.error().empty()) {
    append_input(w, decode, row);
    append_error(w, decode);
    out += suggestions;
    out += "\r\n";
    return;
  }
  for (std::size_t i = 0; i < decode.result_count(); ++i) {
    append_input(w, decode, row);
    append_result(w, decode, i);
    out += suggestions;
    out += "\r\n";
  }
}

std::string cells_past_header_warning(std::size_t rows) {
  return std::to_string(rows) + (rows == 1 ? " row holds" : " rows hold") +
         " more cells than the header names; the CSV output leaves out the cells past the "
         "header (JSON names them column_N)";
}

std::vector<std::string> csv_column_names(std::span<const std::string> header, std::size_t width) {
  const std::set<std::string_view> in_header(header.begin(), header.end());
  std::set<std::string> used;
  std::vector<std::string> names;
  names.reserve(std::max(width, header.size()));
  for (std::size_t i = 0; i < std::max(width, header.size()); ++i) {
    const std::string base = i < header.size() ? header[i] : "column_" + std::to_string(i + 1);
    std::string name = base;
    // A repeated name, or one taken, gets the first free "_2", "_3", ...; a header's
    // own names are kept for the columns that have them first.
    for (int n = 2; used.contains(name) || (i >= header.size() && in_header.contains(name)) ||
                    (name != base && in_header.contains(name));
         ++n)
      name = base + "_" + std::to_string(n);
    used.insert(name);
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace kordel::record
