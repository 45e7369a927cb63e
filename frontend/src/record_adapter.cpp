#include "record_adapter.h"

#include <string>

#include "positions.h"
#include "suggestions.h"
#include "vin_decode.h"

namespace kordel::ui {

namespace {

QString from_utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What a position gave in this decode; a field whose code the tables do not know
// says so rather than showing nothing, as the report shows "Error" there.
QString in_this_vin(const record::PositionMeaning &m) {
  if (m.text) return from_utf8(*m.text);
  return m.field.empty() ? QString() : QStringLiteral("not decoded (the report shows Error)");
}

// The result whose report the window shows: the one of the model year the window
// handed on, else the first that decoded.
std::optional<std::size_t> shown_result(const record::VinDecode &decode, int model_year) {
  std::optional<std::size_t> first;
  for (std::size_t i = 0; i < decode.result_count(); ++i) {
    const record::Result a = decode.result(i);
    if (a.report == nullptr || a.report->line_count == 0) continue;
    if (a.model_year == model_year) return i;
    if (!first) first = i;
  }
  return first;
}

}  // namespace

RecordHints RecordAdapter::hints_for(const QString &vin, int model_year, bool reported) {
  RecordHints hints;
  // The record library reads UTF-8; the VIN box holds only Latin-1 characters.
  const std::string text = vin.toStdString();
  record::VinDecode decode;
  decode.decode(text, 0);  // every candidate year: a suggestion may decode for any

  for (const record::Suggestion &s : record::suggestions_for(decode)) {
    std::string changes;
    for (const record::Change &change : s.changes) {
      if (!changes.empty()) changes += ", ";
      record::append_change_text(changes, change);
    }
    hints.suggestions_.append(
        {from_utf8(s.vin), from_utf8(changes), from_utf8(s.summary).simplified()});
  }

  if (reported) {
    if (const std::optional<std::size_t> i = shown_result(decode, model_year)) {
      for (const record::PositionMeaning &m : record::position_meanings(decode, *i))
        hints.characters_.append(
            {m.position, from_utf8(m.character), from_utf8(m.meaning), in_this_vin(m)});
    }
  }
  return hints;
}

}  // namespace kordel::ui
