// The two dialogs the VIN box's and the report's context menus open: "Did you
// mean" lists the VINs one slip away that decode, "What each character says"
// reads the last decoded VIN position by position. Both are modal and are shown
// through ask()/show(), which tests answer in advance.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>

#include "record_hints.h"

class QListWidget;
class QTreeWidget;

namespace kordel::ui {

class SuggestionsDialog : public QDialog {
  Q_OBJECT
 public:
  SuggestionsDialog(const QString &vin, const QList<SuggestedVin> &suggestions, QWidget *parent);

  // The VIN of the suggestion chosen; nothing when closed without one.
  std::optional<QString> chosen() const { return chosen_; }

  // Shows the dialog and waits; the VIN chosen, or nothing.
  static std::optional<QString> ask(QWidget *parent, const QString &vin,
                                    const QList<SuggestedVin> &suggestions);

  // When set, called instead of showing the dialog.
  static inline std::function<std::optional<QString>(const QList<SuggestedVin> &)> answer_for_tests;

 private:
  void choose();

  QListWidget *list_;
  std::optional<QString> chosen_;
};

class CharactersDialog : public QDialog {
  Q_OBJECT
 public:
  CharactersDialog(const QString &vin, const QList<CharacterMeaning> &characters, QWidget *parent);

  // Shows the dialog and waits until it is closed.
  static void show_for(QWidget *parent, const QString &vin,
                       const QList<CharacterMeaning> &characters);

  // When set, called instead of showing the dialog.
  static inline std::function<void(const QList<CharacterMeaning> &)> answer_for_tests;

 private:
  QTreeWidget *table_;
};

}  // namespace kordel::ui
