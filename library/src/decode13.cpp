#include <algorithm>

#include "models13.h"
#include "report_lines.h"
#include "table_procedures.h"

namespace kordel {
namespace {

using models13::FieldSource;
using models13::ModelDecoder;
namespace position = models13::position;

std::string_view *second_field(Vin13Fields &f, Field13 field) {
  switch (field) {
    case Field13::model: return &f.model;
    case Field13::series: return &f.series;
    case Field13::none: break;
  }
  return nullptr;
}

// Writes one field from its source: the fixed text, or the text of the row for
// the field's code and the year digit; a code without such a row leaves the field
// as it was. A row may write a second field too.
void decode_field(std::string_view &field, const FieldSource &source, char code, char year_digit,
                  Vin13Fields &f) {
  if (source.rows.empty()) {
    field = source.fixed_text;
    return;
  }
  const CodeRow *row = find_row(source.rows, code, year_digit);
  if (row == nullptr) return;
  field = row->text;
  if (std::string_view *also = second_field(f, row->also_writes)) *also = row->also_text;
}

constexpr std::string_view kenosha = "Kenosha", brampton = "Brampton";
static_assert(kenosha.size() < capacity13::plant && brampton.size() < capacity13::plant);

void preset(Vin13Fields &f) {
  f.make = "AMC";
  f.year = f.trans = f.model = f.body = f.series = f.engine = f.plant = "Error";
}

void write_report(const char *vin, const Vin13Fields &f, ReportLines &report) {
  const std::string_view suffix = ordinal_suffix(at_position(vin, position::sequence_tens),
                                                 at_position(vin, position::sequence_units));
  LineWriter(report, 0) << f.year << ' ' << f.make << ' ' << f.model << ' ' << f.series << ' '
                        << f.body << ' ';
  write_shared_lines(f, suffix, report);
  report.line_count = 4;
}

// The first dispatch row that holds for the VIN and the caller's model year, or null.
const models13::DispatchRow *find_dispatch_row(const char *vin, int model_year) {
  const char series_code = at_position(vin, position::model_line);
  const char year_digit = at_position(vin, position::year);
  const char body_type = at_position(vin, position::body);
  const auto row = std::find_if(
      models13::dispatch.begin(), models13::dispatch.end(), [&](const models13::DispatchRow &d) {
        return d.series_code.holds(series_code) && d.year_digit.holds(year_digit) &&
               d.body_type.holds(body_type) && d.model_year.holds(model_year);
      });
  return row == models13::dispatch.end() ? nullptr : &*row;
}

}  // namespace

namespace models13 {

void run_model_decoder(const ModelDecoder &model, Decode13Result &r) {
  const char *v = r.vin_text;
  for (const Check &check : model.checks) {
    if (check.accepted.contains(at_position(v, check.position))) continue;
    r.messages.add(failure_message(check));
    if (check.kind != FailureKind::report_and_go_on) return;
  }

  const auto at = [v](std::uint8_t p) { return at_position(v, p); };
  const char year_digit = at(position::year);
  Vin13Fields &f = r.vin13_fields;
  decode_field(f.year, model.year, at(position::year), year_digit, f);
  decode_field(f.trans, model.trans, at(position::trans), year_digit, f);
  f.model = model.model_text;
  decode_field(f.body, model.body, at(position::body), year_digit, f);
  decode_field(f.series, model.series, at(position::series), year_digit, f);
  decode_field(f.engine, model.engine, at(position::engine), year_digit, f);
  // Plant codes 0 to 6 are Kenosha; 7 to 9 and K (after the digits) Brampton.
  f.plant = static_cast<unsigned char>(at(position::plant)) <= '6' ? kenosha : brampton;

  write_report(v, f, r.report);
}

Decode13Result decode_with_model(const ModelDecoder &model, const char *vin) {
  Decode13Result r;
  copy_vin(vin, r.vin_text, 13);
  preset(r.vin13_fields);
  run_model_decoder(model, r);
  r.return_code = 1;
  return r;
}

}  // namespace models13

Decode13Result decode_13(int model_year, const char *vin) {
  Decode13Result r;  // return code 0 until a decoder runs or a message is shown
  copy_vin(vin, r.vin_text, 13);
  const char *v = r.vin_text;

  const Check &first = models13::first_position;
  if (!first.accepted.contains(at_position(v, first.position))) {
    r.messages.add(failure_message(first));
    r.return_code = 1;
    return r;
  }
  preset(r.vin13_fields);

  const models13::DispatchRow *row = find_dispatch_row(v, model_year);
  if (row == nullptr) return r;
  if (row->decoder != nullptr)
    models13::run_model_decoder(*row->decoder, r);
  else if (row->message != nullptr)
    r.messages.add(failure_message(*row->message));
  r.return_code = row->decoder != nullptr || row->message != nullptr ? 1 : 0;
  return r;
}

}  // namespace kordel
