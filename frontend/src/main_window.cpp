#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

#include "about_box.h"
#include "artwork.h"
#include "controls.h"
#include "hint_dialogs.h"
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
  create_hint_entries();
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

void MainWindow::create_hint_entries() {
  // Owned by the window: each context menu shows them and is deleted on closing.
  suggest_action_ = new QAction(QStringLiteral("&Did you mean\u2026"), this);
  suggest_action_->setObjectName(QStringLiteral("DidYouMean"));
  explain_action_ = new QAction(QStringLiteral("&What each character says\u2026"), this);
  explain_action_->setObjectName(QStringLiteral("WhatEachCharacterSays"));
  suggest_action_->setEnabled(false);
  explain_action_->setEnabled(false);
  connect(suggest_action_, &QAction::triggered, this, &MainWindow::show_suggestions);
  connect(explain_action_, &QAction::triggered, this, &MainWindow::show_characters);

  connect(vin_box_, &VinBox::context_menu_opening, this, &MainWindow::add_hint_entries);
  report_box_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(report_box_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
    QMenu *menu = report_box_->createStandardContextMenu(at);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    add_hint_entries(menu);
    menu->popup(report_box_->viewport()->mapToGlobal(at));
  });
  for (QWidget *box : {static_cast<QWidget *>(vin_box_), static_cast<QWidget *>(report_box_)})
    box->installEventFilter(this);
  // A VIN edited after a decode no longer gets the old VIN's suggestions.
  connect(vin_box_, &QLineEdit::textEdited, this, [this] {
    if (!hints_.can_suggest()) return;
    RecordHints kept = hints_;
    set_hints(RecordHints::without_suggestions(std::move(kept)), hinted_vin_);
  });
}

void MainWindow::add_hint_entries(QMenu *menu) {
  menu->addSeparator();
  menu->addAction(suggest_action_);
  menu->addAction(explain_action_);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::KeyPress) {
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if ((key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
        (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
      auto *box = static_cast<QWidget *>(watched);
      // At the text cursor, as a keyboard's context menu opens; the report's menu
      // belongs to its viewport.
      QWidget *receiver = box == report_box_ ? report_box_->viewport() : box;
      const QRect cursor = box->inputMethodQuery(Qt::ImCursorRectangle).toRect();
      const QPoint at = receiver->mapFrom(box, cursor.bottomLeft());
      QContextMenuEvent menu_event(QContextMenuEvent::Keyboard, at, receiver->mapToGlobal(at));
      QCoreApplication::sendEvent(receiver, &menu_event);
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::set_hints(RecordHints hints, const QString &vin) {
  hints_ = std::move(hints);
  hinted_vin_ = vin;
  suggest_action_->setEnabled(hints_.can_suggest());
  explain_action_->setEnabled(hints_.can_explain());
  // Said without covering anything: a tooltip on the VIN, and to screen readers.
  const QString prompt = hints_.prompt_text();
  vin_box_->setToolTip(prompt);
  vin_box_->setAccessibleDescription(prompt);
  setAccessibleDescription(prompt);
}

void MainWindow::show_suggestions() {
  if (!hints_.can_suggest()) return;
  if (const std::optional<QString> chosen =
          SuggestionsDialog::ask(this, hinted_vin_, hints_.suggestions())) {
    vin_box_->setText(*chosen);
    decode();
    return;
  }
  return_to_vin();
}

void MainWindow::show_characters() {
  if (!hints_.can_explain()) return;
  const QPointer<QWidget> had_focus = QApplication::focusWidget();
  CharactersDialog::show_for(this, hinted_vin_, hints_.characters());
  if (had_focus == report_box_) {
    activateWindow();
    report_box_->setFocus(Qt::OtherFocusReason);
  } else {
    return_to_vin();
  }
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
  std::int32_t model_year = 0;
  bool bound = true;

  if (scheme == VinScheme::invalid_length) {
    MessageBoxes::show(
        this, QStringLiteral("Invalid Vin Length"), QStringLiteral("13 or 17 Characters only."));
  } else {
    QString error;
    if (!binding_.bind(&error)) {
      bound = false;
      MessageBoxes::show(this, QStringLiteral("Kordel decoder"), error);
    } else if (scheme == VinScheme::thirteen) {
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
  set_hints(bound ? RecordHints::for_decode(vin, model_year, lines.has_result()) : RecordHints(),
            vin);
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
