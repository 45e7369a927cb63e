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
#include "record_hints.h"

class QAction;
class QMenu;
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
  // What the context menus offer for the last decode.
  const RecordHints &hints() const { return hints_; }

 public slots:
  void decode();
  void save_as();
  void print();
  void show_about();
  // The context menus' entries: "Did you mean" and "What each character says".
  void show_suggestions();
  void show_characters();

 protected:
  // The Menu key and Shift+F10 open the VIN box's and the report's context menus.
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  // The parts of the window, made in this order by the constructor.
  void create_menu();
  QWidget *create_client_area();
  void create_pictures(QWidget *client);
  void create_vin_box(QWidget *client);
  void create_buttons(QWidget *client);
  void create_report_box(QWidget *client);
  void create_hint_entries();
  void set_tab_order();
  void place_on_screen();

  void call_library(LibraryBinding::EntryPoint entry_point, std::int32_t model_year,
                    const QString &vin, LineBuffers &lines);
  void show_report(const QString &report);
  // After a modal box or dialog: the window active again and the focus in Vin.
  void return_to_vin();
  void add_hint_entries(QMenu *menu);
  void set_hints(RecordHints hints, const QString &vin);

  LibraryBinding &binding_;
  CandidateYears candidate_years_;
  QString report_;
  SaveAsDialog save_dialog_;           // keeps the name chosen last
  std::unique_ptr<QPrinter> printer_;  // made at the first Print, then keeps the choice
  QPointer<AboutBox> about_;
  RecordHints hints_;
  QString hinted_vin_;  // the VIN the hints are about
  QAction *suggest_action_, *explain_action_;

  VinBox *vin_box_;
  QPushButton *decode_button_, *cancel_button_, *save_button_, *print_button_;
  QPlainTextEdit *report_box_;
};

}  // namespace kordel::ui
