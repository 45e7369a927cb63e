#include "csv_record.h"

namespace kordel::record {
namespace {

// The columns after the field columns.
constexpr std::string_view trailing_columns =
    "check_digit,check_digit_expected,production_number,message";

void append_field(std::string &out, std::string_view text) {
  append_csv_field(out, text);
  out += ',';
}

// The input's columns, or the VIN.
void append_input(std::string &out, const VinDecode &decode, const CsvRow *row) {
  if (row == nullptr) {
    append_field(out, decode.vin());
    return;
  }
  for (std::size_t i = 0; i < row->header.size(); ++i)
    append_field(out,
                 i < row->fields.size() ? std::string_view(row->fields[i]) : std::string_view());
}

// Each field column: the field's text where this decode has it, else empty.
void append_field_columns(std::string &out, const Vin13Fields *f13, const Vin17Fields *f17) {
  for (const std::size_t index : csv_fields) {
    const Field &field = fields[index];
    std::optional<std::string_view> text;
    if (f13 != nullptr && in_scheme13(field))
      text = field_text(raw_text(field, *f13));
    else if (f17 != nullptr && in_scheme17(field))
      text = field_text(raw_text(field, *f17));
    append_field(out, text.value_or(std::string_view()));
  }
}

// The messages of one attempt, the check-digit warning last, joined with "; ".
std::string joined_messages(const VinDecode &decode, const Attempt &a) {
  std::string message;
  const auto add = [&message](std::string_view text) {
    if (!message.empty()) message += "; ";
    message += text;
  };
  for (const Message &m : *a.messages) add(message_text(m));
  if (a.status == Status::unknown) add(unknown_message);
  if (const std::optional<CheckDigit> &check = decode.check_digit(); check && !check->valid())
    add(decode.check_digit_warning());
  return message;
}

// The row of one model year tried: the decode's columns and the messages.
void append_attempt(std::string &out, const VinDecode &decode, std::size_t i) {
  const Attempt a = decode.attempt(i);
  append_field(out, a.model_year != 0 ? std::to_string(1900 + a.model_year) : std::string());
  append_field(out, status_name(a.status));
  const bool decoded = a.status == Status::decoded;
  append_field_columns(
      out, decoded ? decode.fields13(i) : nullptr, decoded ? decode.fields17() : nullptr);
  const std::optional<CheckDigit> &check = decode.check_digit();
  append_field(out, check ? std::string_view(&check->given, 1) : std::string_view());
  append_field(
      out, check && check->expected ? std::string_view(&*check->expected, 1) : std::string_view());
  append_field(
      out,
      decode.production_number() ? std::to_string(*decode.production_number()) : std::string());
  append_csv_field(out, joined_messages(decode, a));
}

// The row of a VIN not decoded: "error", empty columns and the reason.
void append_error(std::string &out, const VinDecode &decode) {
  out += ",error,";
  // Field columns and the check digit, expected digit and production number.
  out.append(csv_field_count + 3, ',');
  append_csv_field(out, decode.error());
}

}  // namespace

void append_csv_field(std::string &out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void append_csv_header(std::string &out, const CsvRow *row, const RecordOptions &options) {
  if (row != nullptr) {
    for (const std::string &name : row->header) append_field(out, name);
  } else {
    out += "vin,";
  }
  out += "model_year,status,";
  for (const std::size_t index : csv_fields) {
    out += fields[index].name;
    out += ',';
  }
  out += trailing_columns;
  if (options.suggest) out += ",suggestions";
  out += "\r\n";
}

void append_csv_rows(std::string &out, const VinDecode &decode, const CsvRow *row,
                     const RecordOptions &options) {
  // The suggestions column, with the comma before it; the same on every row.
  std::string suggestions;
  if (options.suggest) {
    std::string joined;
    if (options.suggestions != nullptr)
      append_suggestions_text(joined, *options.suggestions);
    else
      append_suggestions_text(joined, suggestions_for(decode));
    suggestions += ',';
    append_csv_field(suggestions, joined);
  }
  if (!decode.error().empty()) {
    append_input(out, decode, row);
    append_error(out, decode);
    out += suggestions;
    out += "\r\n";
    return;
  }
  for (std::size_t i = 0; i < decode.attempt_count(); ++i) {
    append_input(out, decode, row);
    append_attempt(out, decode, i);
    out += suggestions;
    out += "\r\n";
  }
}

}  // namespace kordel::record
