#include "main_window.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

#include "about_box.h"
#include "artwork.h"
#include "controls.h"
#include "report_output.h"
#include "ui_fonts.h"
#include "year_prompt.h"

namespace kordel::ui {

namespace {

QPushButton *make_button(const QString &name, const QString &caption, QRect geometry,
                         QWidget *parent) {
  auto *button = new CommandButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  button->setFont(program_font(13.5));
  return button;
}

}  // namespace

MainWindow::MainWindow(LibraryBinding &binding, QWidget *parent)
    : QMainWindow(parent, fixed_frame(Qt::Window)), binding_(binding) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Kordel decoder"));
  setWindowIcon(artwork::window_icon());
  keep_windows_normal();

  create_menu();
  QWidget *client = create_client_area();
  // Made first, the pictures lie beneath all controls.
  create_pictures(client);
  create_vin_box(client);
  create_buttons(client);
  create_report_box(client);
  set_tab_order();
  place_on_screen();
  vin_box_->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::create_menu() {
  QAction *about = menuBar()->addAction(QStringLiteral("About"));
  about->setObjectName(QStringLiteral("About"));
  connect(about, &QAction::triggered, this, &MainWindow::show_about);
}

QWidget *MainWindow::create_client_area() {
  auto *client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(712, 441);
  // The tiles leave narrow gaps between them; a dark ground keeps those quiet.
  QPalette ground = client->palette();
  ground.setColor(QPalette::Window, artwork::ground_colour());
  client->setPalette(ground);
  client->setAutoFillBackground(true);
  setCentralWidget(client);
  return client;
}

void MainWindow::create_pictures(QWidget *client) {
  struct Placement {
    int number, left, top;
  };
  static constexpr Placement tiles[] = {
      {1, 0, 0},
      {9, 104, 0},
      {10, 488, 0},
      {7, 592, 0},
      {3, 0, 104},
      {4, 112, 104},
      {5, 232, 104},
      {6, 480, 104},
      {2, 592, 104},
      {8, 360, 112},
      {12, 0, 344},
      {13, 120, 344},
      {14, 248, 344},
      {15, 368, 344},
      {16, 480, 344},
      {17, 592, 344},
  };
  const auto place = [client](int number, QRect geometry, artwork::Drawing drawing) {
    auto *picture = new artwork::Picture(std::move(drawing), client);
    picture->setObjectName(QStringLiteral("Image%1").arg(number));
    picture->setGeometry(geometry);
    mark_as_decoration(picture);
  };
  for (const Placement &t : tiles)
    place(t.number, QRect(t.left, t.top, 121, 97), artwork::tile(t.number));
  // Made after the tiles, the banner lies over them.
  place(11, QRect(112, -8, 486, 120), artwork::banner());
}

void MainWindow::create_vin_box(QWidget *client) {
  vin_box_ = new VinBox(client);
  vin_box_->setObjectName(QStringLiteral("Vin"));
  vin_box_->setAccessibleName(QStringLiteral("VIN"));
  vin_box_->setGeometry(184, 96, 353, 49);
  vin_box_->setFont(program_font(24, true));
}

void MainWindow::create_buttons(QWidget *client) {
  decode_button_ = make_button(
      QStringLiteral("Command1"), QStringLiteral("&Decode"), QRect(288, 168, 137, 25), client);
  cancel_button_ = make_button(
      QStringLiteral("Command2"), QStringLiteral("&Cancel"), QRect(520, 384, 137, 25), client);
  save_button_ = make_button(
      QStringLiteral("Command3"), QStringLiteral("&Save as"), QRect(296, 384, 137, 25), client);
  print_button_ = make_button(
      QStringLiteral("Command4"), QStringLiteral("&Print"), QRect(48, 384, 137, 25), client);
  connect(decode_button_, &QPushButton::clicked, this, &MainWindow::decode);
  connect(cancel_button_, &QPushButton::clicked, this, &QWidget::close);
  connect(save_button_, &QPushButton::clicked, this, &MainWindow::save_as);
  connect(print_button_, &QPushButton::clicked, this, &MainWindow::print);
}

void MainWindow::create_report_box(QWidget *client) {
  report_box_ = new QPlainTextEdit(client);
  report_box_->setObjectName(QStringLiteral("Text1"));
  report_box_->setAccessibleName(QStringLiteral("Report"));
  report_box_->setGeometry(8, 200, 697, 145);
  report_box_->setFont(program_font(13.5));
  report_box_->setReadOnly(true);  // Save as and Print take exactly what it shows
  report_box_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // Lines wrap at the box's width, where trailing blanks hang past the edge: the
  // 1000 blanks of a 13-character report's last line then ask for no scrolling.
  report_box_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void MainWindow::set_tab_order() {
  setTabOrder(vin_box_, decode_button_);
  setTabOrder(decode_button_, cancel_button_);
  setTabOrder(cancel_button_, save_button_);
  setTabOrder(save_button_, print_button_);
  setTabOrder(print_button_, report_box_);
}

void MainWindow::place_on_screen() {
  setFixedSize(sizeHint());
  if (const QScreen *screen = QGuiApplication::primaryScreen())
    move(opening_position(size(), screen->availableGeometry()));
}

void MainWindow::call_library(LibraryBinding::EntryPoint entry_point, std::int32_t model_year,
                              const QString &vin, LineBuffers &lines) {
  const QByteArray vin_text = vin_to_8bit(vin);
  entry_point(static_cast<std::int16_t>(model_year),
              vin_text.constData(),
              lines.data(0),
              lines.data(1),
              lines.data(2),
              lines.data(3),
              lines.data(4));
}

void MainWindow::decode() {
  const QString vin = vin_box_->text();
  LineBuffers lines;
  const VinScheme scheme = scheme_of(vin);

  if (scheme == VinScheme::invalid_length) {
    MessageBoxes::show(
        this, QStringLiteral("Invalid Vin Length"), QStringLiteral("13 or 17 Characters only."));
  } else {
    QString error;
    if (!binding_.bind(&error)) {
      MessageBoxes::show(this, QStringLiteral("Kordel decoder"), error);
    } else if (scheme == VinScheme::thirteen) {
      std::int32_t model_year = 0;
      const CandidateYears::Settlement settled = candidate_years_.settle(vin);
      if (settled.prompt) {
        YearPrompt prompt(candidate_years_, this);
        if (prompt.exec() == QDialog::Accepted) model_year = prompt.model_year();
      } else {
        model_year = settled.model_year;
      }
      call_library(binding_.process_13(), model_year, vin, lines);
    } else {
      call_library(binding_.process_17(), 0, vin, lines);
    }
  }
  return_to_vin();
  // The next VIN typed replaces a decoded one; a VIN of the wrong length stays
  // as typed, to be mended.
  if (scheme != VinScheme::invalid_length) vin_box_->selectAll();
  show_report(lines.has_result() ? compose_report(vin, lines) : QString());
}

void MainWindow::return_to_vin() {
  activateWindow();
  vin_box_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::show_report(const QString &report) {
  report_ = report;
  QString shown = report;
  report_box_->setPlainText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void MainWindow::save_as() {
  if (const std::optional<QString> path = save_dialog_.ask(this)) {
    if (const std::optional<QString> error = save_report(*path, report_))
      MessageBoxes::show(this,
                         QStringLiteral("Save As"),
                         QStringLiteral("The report was not saved to %1.\n%2").arg(*path, *error));
  }
  return_to_vin();
}

void MainWindow::print() {
  if (printer_ == nullptr) printer_ = std::make_unique<QPrinter>();
  if (PrintDialog::ask(this, printer_.get())) {
    if (const std::optional<QString> error = render_report(printer_.get(), report_))
      MessageBoxes::show(this,
                         QStringLiteral("Print"),
                         QStringLiteral("The report was not printed.\n%1").arg(*error));
  }
  return_to_vin();
}

void MainWindow::show_about() {
  if (about_ == nullptr) {
    about_ = new AboutBox();
    // Without a window manager nobody else gives the keyboard back when it closes.
    connect(about_, &QObject::destroyed, this, [this] {
      if (isVisible()) return_to_vin();
    });
    about_->show();
  }
  about_->raise();
  about_->activateWindow();
}

}  // namespace kordel::ui
