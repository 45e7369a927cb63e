#include <algorithm>

#include "report_lines.h"
#include "table_procedures.h"
#include "tables17.h"

namespace kordel {
namespace {

// Writes the field from its table; a code without a row leaves the field as it was.
void decode_field(std::string_view &field, std::span<const CodeRow> rows, char code) {
  if (const CodeRow *row = find_row(rows, code, '\0')) field = row->text;
}

void write_report(const char *vin, const Vin17Fields &f, Report &report) {
  const std::string_view suffix = ordinal_suffix(vin[15], vin[16]);
  LineWriter(report, 0) << f.year << ' ' << f.make << ' ' << f.model << ' ' << f.vehicle_type
                        << "  ";
  LineWriter(report, 1) << "Engine:" << f.engine << ". Trans:" << f.trans << ' ';
  LineWriter(report, 2) << "This was the ";
  LineWriter(report, 3) << suffix << " car ordered from the " << f.plant << " plant in " << f.year;
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
  f.make = "AMC";
  f.year = f.trans = f.vehicle_type = f.engine = f.plant = f.model = "Error";

  const auto body = std::find_if(
      tables17::bodies.begin(), tables17::bodies.end(), [&](const tables17::BodyDecoder &b) {
        return b.body_code_1 == v[5] && b.body_code_2 == v[6];
      });
  // An accepted body code with no decoder: silently nothing.
  if (body == tables17::bodies.end()) return r;

  decode_field(f.vehicle_type, tables17::vehicle_type, v[2]);
  decode_field(f.engine, tables17::engine, v[3]);
  if (const CodeRow *row = find_row(body->trans_overrides, v[4], '\0'))
    f.trans = row->text;
  else
    decode_field(f.trans, tables17::trans, v[4]);
  decode_field(f.restraints, tables17::restraints, v[7]);
  f.check_digit = v[8];
  decode_field(f.year, tables17::year, v[9]);
  decode_field(f.plant, tables17::plant, v[10]);
  f.model = body->model;

  write_report(v, f, r.report);
  return r;
}

}  // namespace kordel
