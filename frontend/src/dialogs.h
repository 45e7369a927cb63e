// Every message box and common dialog the program shows goes through these small
// wrappers, so that tests can answer them in advance instead of blocking.
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QMessageBox;
class QPrintDialog;
class QPrinter;
class QWidget;

namespace kordel::ui {

struct MessageBoxes {
  // A modal box with the title, the text, one OK button and no icon.
  static void show(QWidget *parent, const QString &title, const QString &text);
  // The box show() runs: wide enough for a window manager to show its title whole.
  static std::unique_ptr<QMessageBox> build(QWidget *parent, const QString &title,
                                            const QString &text);

  // When set, called instead of showing the box.
  static inline std::function<void(const QString &title, const QString &text)> answer_for_tests;
};

// The Save As dialog object: it keeps the name chosen last and proposes it again.
class SaveAsDialog {
 public:
  SaveAsDialog();

  // The chosen path, with "txt" added to a name without a suffix; nothing when cancelled.
  std::optional<QString> ask(QWidget *parent);

  // When set, called with the proposed path instead of showing the dialog.
  static inline std::function<std::optional<QString>(const QString &proposed)> answer_for_tests;

 private:
  QString proposed_path_;
};

struct PrintDialog {
  // Lets the user choose the printer; false when cancelled.
  static bool ask(QWidget *parent, QPrinter *printer);
  // The dialog ask() runs. Its output file, where the printer names none yet, is
  // a file in the home folder (or the working folder under it) on every platform.
  static std::unique_ptr<QPrintDialog> build(QWidget *parent, QPrinter *printer);

  // When set, called instead of showing the dialog (the test sets up the printer).
  static inline std::function<bool(QPrinter *printer)> answer_for_tests;
};

}  // namespace kordel::ui
