#include <algorithm>

#include "report_lines.h"
#include "table_procedures.h"
#include "tables17.h"

namespace kordel {
namespace {

namespace position = tables17::position;

// Writes the field from its table; a code without a row leaves the field as it was.
void decode_field(std::string_view &field, std::span<const CodeRow> rows, char code) {
  if (const CodeRow *row = find_row(rows, code, '\0')) field = row->text;
}

void preset(Vin17Fields &f) {
  f.make = "AMC";
  f.year = f.trans = f.vehicle_type = f.engine = f.plant = f.model = "Error";
}

// The body decoder for the body code at positions 6 and 7, or null.
const tables17::BodyDecoder *find_body(const char *vin) {
  const char code_1 = at_position(vin, position::body_code_1);
  const char code_2 = at_position(vin, position::body_code_2);
  const auto body = std::find_if(
      tables17::bodies.begin(), tables17::bodies.end(), [&](const tables17::BodyDecoder &b) {
        return b.body_code_1 == code_1 && b.body_code_2 == code_2;
      });
  return body == tables17::bodies.end() ? nullptr : &*body;
}

// Writes each field from its table, the check digit as it stands and the body's model.
void decode_fields(const char *vin, const tables17::BodyDecoder &body, Vin17Fields &f) {
  const auto at = [vin](std::uint8_t p) { return at_position(vin, p); };
  decode_field(f.vehicle_type, tables17::vehicle_type, at(position::vehicle_type));
  decode_field(f.engine, tables17::engine, at(position::engine));
  if (const CodeRow *row = find_row(body.trans_overrides, at(position::trans), '\0'))
    f.trans = row->text;
  else
    decode_field(f.trans, tables17::trans, at(position::trans));
  decode_field(f.restraints, tables17::restraints, at(position::restraints));
  f.check_digit = at(position::check_digit);
  decode_field(f.year, tables17::year, at(position::year));
  decode_field(f.plant, tables17::plant, at(position::plant));
  f.model = body.model;
}

void write_report(const char *vin, const Vin17Fields &f, ReportLines &report) {
  const std::string_view suffix = ordinal_suffix(at_position(vin, position::sequence_tens),
                                                 at_position(vin, position::sequence_units));
  LineWriter(report, 0) << f.year << ' ' << f.make << ' ' << f.model << ' ' << f.vehicle_type
                        << "  ";
  write_shared_lines(f, suffix, report);
  LineWriter(report, 4) << "This car has " << f.restraints << " and your check digit is "
                        << f.check_digit << '.';
  report.line_count = 5;
}

}  // namespace

Decode17Result decode_17(const char *vin) {
  Decode17Result r;
  copy_vin(vin, r.vin17_text, 17);
  const char *v = r.vin17_text;

  if (const Check *failed = first_failure(tables17::checks, v)) {
    r.messages.add(failure_message(*failed));
    return r;
  }

  Vin17Fields &f = r.vin17_fields;
  preset(f);
  const tables17::BodyDecoder *body = find_body(v);
  // An accepted body code with no decoder: silently nothing.
  if (body == nullptr) return r;

  decode_fields(v, *body, f);
  write_report(v, f, r.report);
  return r;
}

}  // namespace kordel
