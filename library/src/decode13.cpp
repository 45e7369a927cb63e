#include "models13.h"

namespace kordel {
namespace {

using models13::FieldSource;
using models13::ModelDecoder;

std::string_view *second_field(Vin13Fields &f, Field13 field) {
  switch (field) {
    case Field13::model: return &f.model;
    case Field13::series: return &f.series;
    case Field13::none: break;
  }
  return nullptr;
}

// Writes one field from its source; a code without a row for the year digit
// leaves the field as it was. A row may write a second field too.
void decode_field(const FieldSource &source, std::string_view &field, Vin13Fields &f,
                  const char *vin) {
  if (source.position == 0) {
    field = source.fixed_text;
    return;
  }
  const CodeRow *row = find_row(source.rows, vin[source.position - 1], vin[1]);
  if (row == nullptr) return;
  field = row->text;
  if (std::string_view *also = second_field(f, row->also_writes)) *also = row->also_text;
}

void preset(Vin13Fields &f) {
  f.make = "AMC";
  f.year = f.trans = f.model = f.body = f.series = f.engine = f.plant = "Error";
}

void write_report(const char *vin, const Vin13Fields &f, Report &report) {
  const std::string_view suffix = ordinal_suffix(vin[11], vin[12]);
  LineWriter(report, 0) << f.year << ' ' << f.make << ' ' << f.model << ' ' << f.series
                              << ' ' << f.body << ' ';
  LineWriter(report, 1) << "Engine:" << f.engine << ". Trans:" << f.trans << ' ';
  LineWriter(report, 2) << "This was the ";
  LineWriter(report, 3) << suffix << " car ordered from the " << f.plant << " plant in "
                              << f.year;
  report.line_count = 4;
}

}  // namespace

namespace models13 {

void run_model_decoder(const ModelDecoder &model, Decode13Result &r) {
  const char *v = r.vin_text;
  for (const Check &check : model.checks) {
    if (accepts(check.accepted, v[check.position - 1])) continue;
    r.messages.add(failure_message(check));
    if (check.kind != FailureKind::report_and_go_on) return;
  }

  Vin13Fields &f = r.vin13_fields;
  decode_field(model.year, f.year, f, v);
  decode_field(model.trans, f.trans, f, v);
  f.model = model.model_text;
  decode_field(model.body, f.body, f, v);
  decode_field(model.series, f.series, f, v);
  decode_field(model.engine, f.engine, f, v);
  // Plant codes 0 to 6 are Kenosha; 7 to 9 and K (after the digits) Brampton.
  f.plant = static_cast<unsigned char>(v[7]) <= '6' ? "Kenosha" : "Brampton";

  write_report(v, f, r.report);
}

Decode13Result decode_with_model(const ModelDecoder &model, const char *vin) {
  Decode13Result r;
  copy_vin(vin, r.vin_text, 13);
  preset(r.vin13_fields);
  run_model_decoder(model, r);
  r.result = 1;
  return r;
}

}  // namespace models13

Decode13Result decode_13(int model_year, const char *vin) {
  Decode13Result r;  // result 0 until a decoder runs or a message is shown
  copy_vin(vin, r.vin_text, 13);
  const char *v = r.vin_text;

  if (!accepts(models13::first_position.accepted, v[0])) {
    r.messages.add(failure_message(models13::first_position));
    r.result = 1;
    return r;
  }
  preset(r.vin13_fields);

  if (v[3] < '0' || v[3] > '9') return r;  // no model line: nothing at all
  for (const models13::DispatchRow &row : models13::dispatch) {
    if (!row.series_code.holds(v[3]) || !row.year_digit.holds(v[1]) ||
        !row.body_type.holds(v[4]) || !row.model_year.holds(model_year))
      continue;
    if (row.decoder != nullptr)
      models13::run_model_decoder(*row.decoder, r);
    else if (row.message != nullptr)
      r.messages.add(failure_message(*row.message));
    r.result = row.decoder != nullptr || row.message != nullptr ? 1 : 0;
    return r;
  }
  return r;
}

}  // namespace kordel
