// What the window offers beside the report, from the record library: the VINs one
// slip away that decode ("did you mean") and what each character of a decoded VIN
// says. Free of widgets; the dialogs and the context menus only show it.
#pragma once

#include <QList>
#include <QString>

namespace kordel::ui {

struct SuggestedVin {
  QString vin;      // upper-case, as the record library suggests it
  QString changes;  // "position 9: 7 -> 5", a swap's two changes joined with ", "
  QString summary;  // line 1 of its report
};

struct CharacterMeaning {
  int position = 0;  // 1-based
  QString character;
  QString meaning;  // what the position encodes ("model year")
  QString text;     // what it says in this decode; empty where nothing reads it
};

// The hints for one decode. Empty until a decode gives some.
class RecordHints {
 public:
  // vin as the VIN box holds it; model_year the two-digit year handed to the
  // library (0 for none); reported: whether the window's decode gave a report.
  static RecordHints for_decode(const QString &vin, int model_year, bool reported);

  const QList<SuggestedVin> &suggestions() const { return suggestions_; }
  const QList<CharacterMeaning> &characters() const { return characters_; }
  bool can_suggest() const { return !suggestions_.isEmpty(); }
  bool can_explain() const { return !characters_.isEmpty(); }

  // The same hints without the suggestions (for a VIN edited since).
  static RecordHints without_suggestions(RecordHints hints) {
    hints.suggestions_.clear();
    return hints;
  }

  // "Did you mean 1AMCM3875BK100021? Right-click the VIN" after a decode with
  // suggestions, with "or" between two; empty otherwise.
  QString prompt_text() const;

  // One suggestion as the list shows it: the VIN and what it decodes as, then on a
  // line of its own what changes.
  static QString suggestion_row(const SuggestedVin &s);

 private:
  friend class RecordAdapter;
  QList<SuggestedVin> suggestions_;
  QList<CharacterMeaning> characters_;
};

}  // namespace kordel::ui
