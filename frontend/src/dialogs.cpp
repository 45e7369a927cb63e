#include "dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include "controls.h"

namespace kordel::ui {

void MessageBoxes::show(QWidget *parent, const QString &title, const QString &text) {
  if (answer_for_tests) {
    answer_for_tests(title, text);
    return;
  }
  build(parent, title, text)->exec();
}

std::unique_ptr<QMessageBox> MessageBoxes::build(QWidget *parent, const QString &title,
                                                 const QString &text) {
  keep_windows_normal();
  auto box =
      std::make_unique<QMessageBox>(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
  // A message box sizes itself to its text; a short text under a longer title gets
  // the title cut in the title bar. The title bar's font is often bold and larger,
  // and its icon and buttons take room too.
  const int title_room = box->fontMetrics().horizontalAdvance(title) * 3 / 2 + 120;
  if (auto *grid = qobject_cast<QGridLayout *>(box->layout()))
    grid->addItem(new QSpacerItem(title_room, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(),
                  0,
                  1,
                  grid->columnCount());
  return box;
}

SaveAsDialog::SaveAsDialog()
    : proposed_path_(QDir::homePath() + QStringLiteral("/amcreport.txt")) {}

std::optional<QString> SaveAsDialog::ask(QWidget *parent) {
  std::optional<QString> chosen;
  if (answer_for_tests) {
    chosen = answer_for_tests(proposed_path_);
  } else {
    keep_windows_normal();
    QFileDialog dialog(parent, QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setDirectory(QFileInfo(proposed_path_).absolutePath());
    dialog.selectFile(QFileInfo(proposed_path_).fileName());
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      chosen = dialog.selectedFiles().constFirst();
  }
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  if (QFileInfo(*chosen).suffix().isEmpty() && !QFileInfo(*chosen).exists())
    *chosen += QStringLiteral(".txt");
  proposed_path_ = *chosen;
  return chosen;
}

std::unique_ptr<QPrintDialog> PrintDialog::build(QWidget *parent, QPrinter *printer) {
  auto dialog = std::make_unique<QPrintDialog>(printer, parent);
  // Qt's dialog proposes a file name only on X11; elsewhere it proposes the folder
  // itself, and the first print to file fails. Propose the file X11 gets.
  if (auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"))) {
    if (printer->outputFileName().isEmpty() && QFileInfo(file->text()).isDir())
      file->setText(QDir(file->text()).filePath(QStringLiteral("print.pdf")));
  }
  return dialog;
}

bool PrintDialog::ask(QWidget *parent, QPrinter *printer) {
  if (answer_for_tests) return answer_for_tests(printer);
  keep_windows_normal();
  const std::unique_ptr<QPrintDialog> dialog = build(parent, printer);
  // Qt's dialog offers the default queue again even when the printer was set to
  // write a file last time; choose its file entry, the last one, once shown.
  if (printer->outputFormat() == QPrinter::PdfFormat || !printer->outputFileName().isEmpty())
    QTimer::singleShot(0, dialog.get(), [dialog = dialog.get()] {
      if (auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers")))
        printers->setCurrentIndex(printers->count() - 1);
    });
  return dialog->exec() == QDialog::Accepted;
}

}  // namespace kordel::ui
