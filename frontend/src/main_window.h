// Form1: the main window, where the user types a VIN and decodes it.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include "about_box.h"
#include "decode_report.h"
#include "model_year.h"
#include "dialogs.h"
#include "library_binding.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kordel::ui {

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(LibraryBinding &binding, QWidget *parent = nullptr);
  ~MainWindow() override;

  // The report as the report box holds it, lines joined with CR LF.
  const QString &report() const { return report_; }
  const SaveAsDialog &save_dialog() const { return save1_; }
  AboutBox *about_box() const { return about_; }

 public slots:
  void decode();
  void save_as();
  void print();
  void show_about();

 private:
  void build_pictures(QWidget *client);
  void call_library(LibraryBinding::EntryPoint entry_point, std::int32_t model_year,
                    const QString &vin, LineBuffers &lines);
  void show_report(const QString &report);

  LibraryBinding &binding_;
  CandidateYears candidate_years_;
  QString report_;
  SaveAsDialog save1_;
  QPointer<AboutBox> about_;

  QLineEdit *vin_;
  QPushButton *command1_, *command2_, *command3_, *command4_;
  QPlainTextEdit *text1_;
};

}  // namespace kordel::ui
