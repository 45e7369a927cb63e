#include "positions.h"

#include "models13.h"
#include "table_procedures.h"
#include "tables17.h"

namespace kordel::record {
namespace {

template <class Fields>
struct Layout {
  std::string_view field;
  std::string_view meaning;
  std::string_view Fields::*text = nullptr;  // null: the sequence, or no field
};

template <class Fields, std::size_t N>
using Layouts = std::array<Layout<Fields>, N>;

// Each field at the position the decoder reads it from (models13::position), the
// make first and the sequence number from the plant on.
constexpr Layouts<Vin13Fields, 13> layout13 = [] {
  namespace pos = models13::position;
  Layouts<Vin13Fields, 13> l{};
  for (std::size_t p = pos::plant; p < l.size(); ++p) l[p] = {"sequence", "sequence number"};
  l[0] = {"make", "make", &Vin13Fields::make};
  l[pos::year - 1] = {"year", "model year", &Vin13Fields::year};
  l[pos::trans - 1] = {"trans", "transmission", &Vin13Fields::trans};
  l[pos::model_line - 1] = {"model", "model line", &Vin13Fields::model};
  l[pos::body - 1] = {"body", "body", &Vin13Fields::body};
  l[pos::series - 1] = {"series", "series", &Vin13Fields::series};
  l[pos::engine - 1] = {"engine", "engine", &Vin13Fields::engine};
  l[pos::plant - 1] = {
      "plant", "assembly plant, and the first digit of the sequence number", &Vin13Fields::plant};
  return l;
}();

// The 17-character VIN (1981-1988), at the positions of tables17::position.
// Positions 1 and 2 are checked but no table reads them (their meaning names what
// the check accepts); the check digit is repeated as it stands.
constexpr Layouts<Vin17Fields, 17> layout17 = [] {
  namespace pos = tables17::position;
  Layouts<Vin17Fields, 17> l{};
  for (std::size_t p = pos::plant; p < l.size(); ++p) l[p] = {"sequence", "sequence number"};
  l[0] = l[1] = {"", "read by no table"};
  l[pos::vehicle_type - 1] = {"vehicle_type", "vehicle type", &Vin17Fields::vehicle_type};
  l[pos::engine - 1] = {"engine", "engine", &Vin17Fields::engine};
  l[pos::trans - 1] = {"trans", "transmission", &Vin17Fields::trans};
  l[pos::body_code_1 - 1] = {"model", "model line and body, first character", &Vin17Fields::model};
  l[pos::body_code_2 - 1] = {"model", "model line and body, second character", &Vin17Fields::model};
  l[pos::restraints - 1] = {"restraints", "restraints", &Vin17Fields::restraints};
  l[pos::check_digit - 1] = {"check_digit", "check digit"};
  l[pos::year - 1] = {"year", "model year", &Vin17Fields::year};
  l[pos::plant - 1] = {"plant", "assembly plant", &Vin17Fields::plant};
  return l;
}();

// The production number as the report prints it; where the last six characters
// are not all digits, those characters as the positions show them (UTF-8).
std::string production_text(const VinDecode &decode, std::size_t length) {
  if (decode.production_number()) return std::string(decode.production_text());
  std::string text;
  for (std::size_t p = length - 5; p <= length; ++p) text += decode.character(p);
  return text;
}

template <class Fields, std::size_t N>
PositionMeanings meanings(const VinDecode &decode, const Layouts<Fields, N> &layout,
                          const Fields &fields, std::optional<std::string_view> check_digit) {
  PositionMeanings out;
  const std::string production = production_text(decode, N);
  for (std::size_t p = 1; p <= N; ++p) {
    const Layout<Fields> &l = layout[p - 1];
    PositionMeaning &m = out.items[out.count++];
    m.position = static_cast<std::uint8_t>(p);
    m.character = decode.character(p);
    m.field = l.field;
    m.meaning = std::string(l.meaning);
    if (l.text != nullptr)
      m.text = field_text(fields.*l.text);
    else if (l.field == "sequence")
      m.text = production;
    else if (l.field == "check_digit")
      m.text = check_digit;
  }
  return out;
}

// What a check calls the code at its position: "body class" from "The 6th digit is
// a invalid body class code for an AMX."; empty when the message says nothing of it.
std::string_view check_words(const Check &check) {
  const std::string_view message = check.message;
  const std::size_t start = message.find("invalid ");
  const std::size_t end = message.find(" code", start);
  if (start == std::string_view::npos || end == std::string_view::npos) return {};
  return message.substr(start + 8, end - start - 8);
}

// A position only checks read: field none, no text, the check's words.
void checked_only(PositionMeaning &m, std::span<const Check> checks) {
  m.field = {};
  m.text.reset();
  for (const Check &check : checks) {
    if (check.position != m.position) continue;
    const std::string_view words = check_words(check);
    m.meaning = words.empty() ? std::string("checked") : std::string(words) + ", checked";
    if (!check.accepted.chars().empty()) {
      m.meaning += ": accepts ";
      m.meaning += check.accepted.chars();
    }
    return;
  }
  m.meaning = "read by no table";
}

// The model decoder the dispatch chose for `vin` and `model_year`, or null.
const models13::ModelDecoder *decoder_of(const char *vin, int model_year) {
  for (const models13::DispatchRow &row : models13::dispatch)
    if (row.series_code.holds(at_position(vin, models13::position::model_line)) &&
        row.year_digit.holds(at_position(vin, models13::position::year)) &&
        row.body_type.holds(at_position(vin, models13::position::body)) &&
        row.model_year.holds(model_year))
      return row.decoder;
  return nullptr;
}

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// Corrects the 13-character meanings by the tables of the model line decoded: a
// position whose field is a fixed text is read only by its check; the series an
// engine code names comes from position 7, not 6; a series row that rewrites the
// model name says so; position 4 names the model line it chose.
void correct13(PositionMeanings &out, const Decode13Result &r, int model_year) {
  const models13::ModelDecoder *m = decoder_of(r.vin_text, model_year);
  if (m == nullptr) return;
  namespace pos = models13::position;
  const char year_digit = at_position(r.vin_text, pos::year);
  const struct {
    std::uint8_t position;
    const models13::FieldSource *source;
  } sources[] = {{pos::year, &m->year},
                 {pos::trans, &m->trans},
                 {pos::body, &m->body},
                 {pos::series, &m->series},
                 {pos::engine, &m->engine}};
  for (const auto &[position, source] : sources)
    if (source->rows.empty()) checked_only(out.items[position - 1u], m->checks);

  PositionMeaning &model = out.items[pos::model_line - 1u];
  model.text = trimmed(m->model_text);
  PositionMeaning &series = out.items[pos::series - 1u];
  const CodeRow *series_row =
      m->series.rows.empty()
          ? nullptr
          : find_row(m->series.rows, at_position(r.vin_text, pos::series), year_digit);
  if (series_row != nullptr && series_row->also_writes == Field13::model)
    series.meaning =
        "series, which also sets the model name to \"" + std::string(series_row->also_text) + "\"";
  const CodeRow *engine_row =
      m->engine.rows.empty()
          ? nullptr
          : find_row(m->engine.rows, at_position(r.vin_text, pos::engine), year_digit);
  if (engine_row != nullptr && engine_row->also_writes == Field13::series) {
    PositionMeaning &engine = out.items[pos::engine - 1u];
    engine.meaning =
        "engine, which also names the series \"" + std::string(engine_row->also_text) + "\"";
    if (series_row != nullptr) {
      series.meaning = "series, overruled by the engine code";
      series.text = trimmed(series_row->text);
    } else if (!m->series.rows.empty()) {
      series.meaning = "series, overruled by the engine code";
      series.text.reset();
    }
  }
}

}  // namespace

PositionMeanings position_meanings(const VinDecode &decode, std::size_t i) {
  if (const Vin13Fields *f = decode.fields13(i)) {
    PositionMeanings out = meanings(decode, layout13, *f, {});
    correct13(out, decode.result13(i), decode.result(i).model_year);
    return out;
  }
  const Vin17Fields &g = *decode.fields17();
  PositionMeanings out =
      meanings(decode, layout17, g, field_text(std::string_view(&g.check_digit, 1)));
  checked_only(out.items[0], tables17::checks);
  checked_only(out.items[1], tables17::checks);
  return out;
}

}  // namespace kordel::record
