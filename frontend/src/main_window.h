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
  // The parts of the window, made in this order by the constructor.
  void create_menu();
  QWidget *create_client_area();
  void create_pictures(QWidget *client);
  void create_vin_box(QWidget *client);
  void create_buttons(QWidget *client);
  void create_report_box(QWidget *client);
  void set_tab_order();
  void place_on_screen();

  void call_library(LibraryBinding::EntryPoint entry_point, std::int32_t model_year,
                    const QString &vin, LineBuffers &lines);
  void show_report(const QString &report);
  // After a modal box or dialog: the window active again and the focus in Vin.
  void return_to_vin();

  LibraryBinding &binding_;
  CandidateYears candidate_years_;
  QString report_;
  SaveAsDialog save_dialog_;           // keeps the name chosen last
  std::unique_ptr<QPrinter> printer_;  // made at the first Print, then keeps the choice
  QPointer<AboutBox> about_;

  VinBox *vin_box_;
  QPushButton *decode_button_, *cancel_button_, *save_button_, *print_button_;
  QPlainTextEdit *report_box_;
};

}  // namespace kordel::ui
