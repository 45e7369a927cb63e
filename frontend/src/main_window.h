// Form1: the main window, where the user types a VIN and decodes it.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <memory>

#include "about_box.h"
#include "decode_report.h"
#include "dialogs.h"
#include "library_binding.h"
#include "model_year.h"

class QPlainTextEdit;
class QPrinter;
class QPushButton;

namespace kordel::ui {

class VinBox;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(LibraryBinding &binding, QWidget *parent = nullptr);
  ~MainWindow() override;

  // The report as the report box holds it, lines joined with CR LF.
  const QString &report() const { return report_; }
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
  // After a modal box or dialog: the window active again and the focus in Vin.
  void return_to_vin();

  LibraryBinding &binding_;
  CandidateYears candidate_years_;
  QString report_;
  SaveAsDialog save1_;
  std::unique_ptr<QPrinter> print1_;  // made at the first Print, then keeps the choice
  QPointer<AboutBox> about_;

  VinBox *vin_box_;
  QPushButton *decode_button_, *cancel_button_, *save_button_, *print_button_;
  QPlainTextEdit *report_box_;
};

}  // namespace kordel::ui
