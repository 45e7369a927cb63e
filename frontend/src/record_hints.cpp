#include "record_hints.h"

#include "record_adapter.h"

namespace kordel::ui {

RecordHints RecordHints::for_decode(const QString &vin, int model_year, bool reported) {
  return RecordAdapter::hints_for(vin, model_year, reported);
}

QString RecordHints::prompt_text() const {
  if (suggestions_.isEmpty()) return {};
  QString vins = suggestions_.constFirst().vin;
  if (suggestions_.size() == 2)
    vins += QStringLiteral(" or ") + suggestions_.at(1).vin;
  else if (suggestions_.size() > 2)
    vins += QStringLiteral(" or another");
  return QStringLiteral("Did you mean %1? Right-click the VIN").arg(vins);
}

QString RecordHints::suggestion_row(const SuggestedVin &s) {
  // Two lines, so that a long change and a long summary need no wide dialog.
  QString row = s.vin;
  if (!s.summary.isEmpty()) row += QStringLiteral(": ") + s.summary;
  return row + QStringLiteral("\n    ") + s.changes;
}

}  // namespace kordel::ui
