// The main window end to end: typing a VIN, Decode, the prompt and the library.
#include <QAccessible>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <cmath>

#include "about_box.h"
#include "artwork.h"
#include "controls.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "spin_button.h"
#include "year_prompt.h"

using namespace kordel::ui;
using test::Box;

class TestMainWindow : public QObject {
  Q_OBJECT

  LibraryBinding binding;  // loaded once, reused by every window as in the program

  template <typename T>
  static T *child(QWidget &window, const char *name) {
    T *widget = window.findChild<T *>(QLatin1String(name));
    if (widget == nullptr) qFatal("no widget %s", name);
    return widget;
  }

  static QString shown(MainWindow &w) { return child<QPlainTextEdit>(w, "Text1")->toPlainText(); }

  static void decode(MainWindow &w, const QString &vin) {
    QLineEdit *box = child<QLineEdit>(w, "Vin");
    box->clear();
    QTest::keyClicks(box, vin);
    QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
  }

  // Opens the prompt's way: press the arrows as listed (+ up, - down), then Ok.
  static void answer_prompt(const QString &presses, QString *seen = nullptr) {
    test::when_modal_opens<YearPrompt>([presses, seen](YearPrompt *prompt) {
      auto *spin = prompt->findChild<SpinButton *>(QStringLiteral("SpinButton1"));
      for (QChar press : presses)
        QTest::mouseClick(press == '+' ? spin->up_button() : spin->down_button(), Qt::LeftButton);
      if (seen) *seen = prompt->findChild<QLineEdit *>(QStringLiteral("Text1"))->text();
      QTest::mouseClick(prompt->findChild<QPushButton *>(QStringLiteral("Command1")),
                        Qt::LeftButton);
    });
  }

 private slots:
  void layout() {
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Kordel decoder"));
    QCOMPARE(w.centralWidget()->size(), QSize(712, 441));
    QCOMPARE(w.minimumSize(), w.maximumSize());  // not resizable
    QVERIFY(!(w.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!w.windowIcon().isNull());
    QCOMPARE(w.windowIcon().pixmap(48, 48).size(), QSize(48, 48));

    const struct {
      const char *name;
      QRect geometry;
      const char *caption;
    } controls[] = {
        {"Vin", {184, 96, 353, 49}, nullptr},
        {"Command1", {288, 168, 137, 25}, "&Decode"},
        {"Command2", {520, 384, 137, 25}, "&Cancel"},
        {"Command3", {296, 384, 137, 25}, "&Save as"},
        {"Command4", {48, 384, 137, 25}, "&Print"},
        {"Text1", {8, 200, 697, 145}, nullptr},
    };
    for (const auto &c : controls) {
      QWidget *widget = child<QWidget>(w, c.name);
      QCOMPARE(widget->geometry(), c.geometry);
      if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QCOMPARE(button->text(), QLatin1String(c.caption));
        QCOMPARE(button->font().pointSizeF(), 13.5);
        QVERIFY(!button->isDefault() && !button->autoDefault());
        QVERIFY(button->shortcut().isEmpty() || button->shortcut() != QKeySequence(Qt::Key_Escape));
      }
    }
    auto *vin = child<QLineEdit>(w, "Vin");
    QCOMPARE(vin->font().pointSizeF(), 24.0);
    QVERIFY(vin->font().bold());
    QCOMPARE(child<QPlainTextEdit>(w, "Text1")->font().pointSizeF(), 13.5);

    const struct {
      int number;
      QRect geometry;
    } pictures[] = {
        {11, {112, -8, 486, 120}},
        {1, {0, 0, 121, 97}},
        {9, {104, 0, 121, 97}},
        {10, {488, 0, 121, 97}},
        {7, {592, 0, 121, 97}},
        {3, {0, 104, 121, 97}},
        {4, {112, 104, 121, 97}},
        {5, {232, 104, 121, 97}},
        {6, {480, 104, 121, 97}},
        {2, {592, 104, 121, 97}},
        {8, {360, 112, 121, 97}},
        {12, {0, 344, 121, 97}},
        {13, {120, 344, 121, 97}},
        {14, {248, 344, 121, 97}},
        {15, {368, 344, 121, 97}},
        {16, {480, 344, 121, 97}},
        {17, {592, 344, 121, 97}},
    };
    const QObjectList stacking = w.centralWidget()->children();
    const qsizetype vin_at = stacking.indexOf(vin);
    for (const auto &p : pictures) {
      auto *picture =
          child<artwork::Picture>(w, qPrintable(QStringLiteral("Image%1").arg(p.number)));
      QCOMPARE(picture->geometry(), p.geometry);
      QVERIFY(!picture->pixmap().isNull());
      QVERIFY2(stacking.indexOf(picture) < vin_at, "pictures lie beneath the controls");
    }

    auto *about = w.findChild<QAction *>(QStringLiteral("About"));
    QVERIFY(about != nullptr);
    QCOMPARE(about->text(), QStringLiteral("About"));
    QVERIFY(w.menuBar()->actions().contains(about));
  }

  void focus_and_tab_order() {
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(w, "Vin"));
    for (const char *next : {"Command1", "Command2", "Command3", "Command4", "Text1"}) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(next));
    }
  }

  void vin_takes_at_most_17_characters() {
    MainWindow w(binding);
    QTest::keyClicks(child<QLineEdit>(w, "Vin"), QStringLiteral("1AMCM3877BK100021XYZ"));
    QCOMPARE(child<QLineEdit>(w, "Vin")->text(), QStringLiteral("1AMCM3877BK100021"));
  }

  void wrong_lengths_give_the_length_message() {
    MainWindow w(binding);
    w.show();
    for (int length : {0, 12, 14, 15, 16}) {
      test::RecordedBoxes recorded;
      decode(w, QString(length, 'A'));
      QCOMPARE(recorded.boxes, (QList<Box>{{"Invalid Vin Length", "13 or 17 Characters only."}}));
      QCOMPARE(shown(w), QString());
      QCOMPARE(child<QLineEdit>(w, "Vin")->text(), QString(length, 'A'));
    }
  }

  void decodes_a_17_character_vin() {
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    test::RecordedBoxes recorded;
    decode(w, QStringLiteral("1amcm3877bk100021"));
    QVERIFY(recorded.boxes.isEmpty());
    QCOMPARE(
        w.report(),
        QStringLiteral("Your VIN# of 1amcm3877bk100021 decodes as follows\r\n"
                       "1981 AMC Eagle 4wd 4 dr wagon Passenger car  \r\n"
                       "Engine:AMC 4.2l (258cid) 2v I6. Trans: 4spd manual floor shift ) \r\n"
                       "This was the 21st car ordered from the  Kenosha WI, USA plant in 1981\r\n"
                       "This car has Limited interior and seatbelts and your check digit is 7."));
    QCOMPARE(shown(w), QString(w.report()).replace("\r\n", "\n"));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(w, "Vin"));

    // Screenshot of what a person sees, kept with the build.
    const QString path = test::artifacts_dir() + QStringLiteral("/main_window.png");
    QVERIFY(w.grab().save(path));
  }

  void rejected_vin_after_a_report_empties_the_box() {
    MainWindow w(binding);
    test::RecordedBoxes recorded;
    decode(w, QStringLiteral("1AMCM3877BK100021"));
    QVERIFY(!shown(w).isEmpty());
    decode(w, QStringLiteral("1AMCM3877IK100021"));
    QCOMPARE(recorded.boxes, (QList<Box>{{"Error", "The 9th digit is a invalid year code."}}));
    QCOMPARE(shown(w), QString());
    QCOMPARE(w.report(), QString());
  }

  void decodes_13_characters_without_prompt() {
    MainWindow w(binding);
    test::RecordedBoxes recorded;
    decode(w, QStringLiteral("A9A439A100001"));  // Spirit: 4 and 9 settle 1979 alone
    QVERIFY(recorded.boxes.isEmpty());
    const QStringList lines = w.report().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[1], QStringLiteral("1979 AMC Spirit AMX 2dr hatchback "));
    QCOMPARE(lines[3],
             QStringLiteral("This was the 1st car ordered from the Kenosha plant in 1979"));
    QCOMPARE(lines[4], QString(1000, ' '));  // line 5 is never written for 13 characters
  }

  void prompt_chooses_the_year() {
    MainWindow w(binding);
    test::RecordedBoxes recorded;
    QString seen;
    answer_prompt(QStringLiteral("+"), &seen);  // 68 -> 78: the Matador
    decode(w, QStringLiteral("A8A855H100001"));
    QCOMPARE(seen, QStringLiteral("78"));
    QVERIFY(recorded.boxes.isEmpty());
    QVERIFY(w.report().contains(QStringLiteral("1978 AMC Matador  ")));

    answer_prompt(QString());  // Ok at once: 68, the Ambassador
    decode(w, QStringLiteral("A8A857H100001"));
    QVERIFY(w.report().contains(QStringLiteral("1968 AMC Ambassador")));
  }

  void prompt_steps_only_through_this_decodes_years() {
    MainWindow w(binding);
    test::RecordedBoxes recorded;
    answer_prompt(QString());
    decode(w, QStringLiteral("A9A057C100001"));  // writes slots 1 to 6
    QString seen;
    answer_prompt(QStringLiteral("++++"), &seen);  // 70/80 case: the stop is slot 2
    decode(w, QStringLiteral("A0A430A100001"));
    QCOMPARE(seen, QStringLiteral("80"));
  }

  void prompt_closed_decodes_with_no_year() {
    MainWindow w(binding);
    test::RecordedBoxes recorded;
    test::when_modal_opens<YearPrompt>([](YearPrompt *prompt) { prompt->reject(); });
    decode(w, QStringLiteral("A8A855H100001"));
    QCOMPARE(recorded.boxes, (QList<Box>{{"Error", "Invalid Year."}}));
    QCOMPARE(shown(w), QString());
  }

  void typed_year_outside_16_bits_counts_as_none() {
    MainWindow w(binding);
    test::RecordedBoxes recorded;
    test::when_modal_opens<YearPrompt>([](YearPrompt *prompt) {
      auto *text = prompt->findChild<QLineEdit *>(QStringLiteral("Text1"));
      text->setText(QStringLiteral("65614"));  // 78 + 65536: must not wrap round to 78
      QTest::mouseClick(prompt->findChild<QPushButton *>(QStringLiteral("Command1")),
                        Qt::LeftButton);
    });
    decode(w, QStringLiteral("A8A855H100001"));
    QCOMPARE(recorded.boxes, (QList<Box>{{"Error", "Invalid Year."}}));
  }

  void library_messages_reach_the_user() {
    MainWindow w(binding);
    test::RecordedBoxes recorded;
    decode(w, QStringLiteral("B1A050H100001"));
    QCOMPARE(recorded.boxes, (QList<Box>{{"Error", "The 1st digit of the vin was invalid."}}));
    QCOMPARE(shown(w), QString());
  }

  void plant_letter_in_the_sequence_gives_a_whole_report() {
    MainWindow w(binding);
    test::RecordedBoxes recorded;
    decode(w, QStringLiteral("A1A050HK00021"));
    QVERIFY(recorded.boxes.isEmpty());
    QCOMPARE(w.report().split(QStringLiteral("\r\n")).value(3),
             QStringLiteral("This was the K00021st car ordered from the Brampton plant in 1971"));
  }

  void missing_library_is_reported_and_the_window_stays_usable() {
    LibraryBinding missing(QStringList{QStringLiteral("/nonexistent/libkordel.so.1")});
    MainWindow w(missing);
    test::RecordedBoxes recorded;
    decode(w, QStringLiteral("1AMCM3877BK100021"));
    QCOMPARE(recorded.boxes.size(), 1);
    QVERIFY(recorded.boxes[0].text.contains(QStringLiteral("libkordel.so.1")));
    QCOMPARE(shown(w), QString());
    decode(w, QStringLiteral("short"));
    QCOMPARE(recorded.boxes.last().title, QStringLiteral("Invalid Vin Length"));
  }

  void library_lacking_a_function_is_reported() {
    // Any shared library without the two functions will do: the C library itself.
    LibraryBinding wrong(QStringList{QStringLiteral("/lib/x86_64-linux-gnu/libc.so.6")});
    QString error;
    QVERIFY(!wrong.bind(&error));
    QVERIFY(error.contains(QStringLiteral("process_13")));
  }

  void focused_buttons_take_return_and_enter() {
    SaveAsDialog::answer_for_tests = [](const QString &) { return std::nullopt; };
    PrintDialog::answer_for_tests = [](QPrinter *) { return false; };
    test::RecordedBoxes recorded;
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
      for (const char *name : {"Command1", "Command2", "Command3", "Command4"}) {
        MainWindow w(binding);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto *button = child<QPushButton>(w, name);
        QSignalSpy clicked(button, &QPushButton::clicked);
        button->setFocus();
        QTest::keyClick(button, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QVERIFY2(clicked.size() == 1, name);
      }
    }
    SaveAsDialog::answer_for_tests = nullptr;
    PrintDialog::answer_for_tests = nullptr;

    // Tab from the VIN to Decode, then Return: the new VIN's report, not the old one.
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    decode(w, QStringLiteral("A1F031B300011"));
    auto *vin = child<QLineEdit>(w, "Vin");
    QTest::keyClicks(vin, QStringLiteral("1AMCM3877BK100021"));  // replaces the selected VIN
    QTest::keyClick(vin, Qt::Key_Return);                        // Return in Vin does not decode
    QVERIFY(w.report().contains(QStringLiteral("A1F031B300011")));
    QTest::keyClick(vin, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(w.report().startsWith(QStringLiteral("Your VIN# of 1AMCM3877BK100021 ")));
  }

  void after_a_decode_the_vin_is_selected() {
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    test::RecordedBoxes recorded;
    auto *vin = child<QLineEdit>(w, "Vin");
    for (const QString &typed : {QStringLiteral("1AMCM3877BK100021"),     // decoded
                                 QStringLiteral("1AMCM3877IK100021")}) {  // rejected by the library
      decode(w, typed);
      QCOMPARE(QApplication::focusWidget(), vin);
      QCOMPARE(vin->selectedText(), typed);
    }
    decode(w, QStringLiteral("1AMC"));  // a wrong length stays as typed, to be mended
    QCOMPARE(QApplication::focusWidget(), vin);
    QVERIFY(!vin->hasSelectedText());
  }

  // However the keyboard left the VIN and came back, the next VIN typed replaces
  // the decoded one, instead of being dropped behind a full box or appended.
  void the_next_vin_typed_replaces_the_decoded_one_data() {
    QTest::addColumn<QString>("detour");
    QTest::addColumn<QString>("first");
    for (const char *detour : {"About from the keyboard",
                               "Save as by mouse, Escape",
                               "Print by mouse, Escape",
                               "the library's box"}) {
      QTest::addRow("%s, 17 characters", detour) << detour << "1AMCW3855DK100001";
      QTest::addRow("%s, 13 characters", detour) << detour << "A9A439A100001";
    }
  }
  void the_next_vin_typed_replaces_the_decoded_one() {
    QFETCH(QString, detour);
    QFETCH(QString, first);
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto *vin = child<QLineEdit>(w, "Vin");
    decode(w, first);
    QVERIFY(!w.report().isEmpty());

    if (detour == QLatin1String("About from the keyboard")) {
      QTest::keyClick(vin, Qt::Key_Alt);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      QPointer<AboutBox> box = w.about_box();
      QVERIFY(box != nullptr);
      QVERIFY(QTest::qWaitForWindowActive(box));
      QTest::keyClick(box->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::Key_Return);
      QTRY_VERIFY(box == nullptr);
    } else if (detour == QLatin1String("the library's box")) {
      test::when_modal_opens<QMessageBox>(
          [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); });
      decode(w, QStringLiteral("A1F031BQ00011"));  // the library's Error box
    } else {
      const bool save = detour.startsWith(QLatin1String("Save"));
      if (save)
        test::when_modal_opens<QFileDialog>(
            [](QFileDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
      else
        test::when_modal_opens<QPrintDialog>(
            [](QPrintDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
      QTest::mouseClick(child<QPushButton>(w, save ? "Command3" : "Command4"), Qt::LeftButton);
    }
    QTRY_COMPARE(QApplication::activeWindow(), &w);
    QCOMPARE(QApplication::focusWidget(), vin);
    QTest::keyClicks(vin, QStringLiteral("1AMCM3877BK100021"));
    QCOMPARE(vin->text(), QStringLiteral("1AMCM3877BK100021"));
  }

  void the_window_is_active_again_after_the_prompt() {
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    test::RecordedBoxes recorded;
    answer_prompt(QStringLiteral("+"));
    decode(w, QStringLiteral("A8A855H100001"));
    QVERIFY(!w.report().isEmpty());
    QTRY_COMPARE(QApplication::activeWindow(), &w);
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(w, "Vin"));
  }

  void pasted_text_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("landed");
    QTest::newRow("line break behind") << "1AMCM3877BK100021\n"
                                       << "1AMCM3877BK100021";
    QTest::newRow("CR LF and more") << "A1F031B300011\r\nnext line"
                                    << "A1F031B300011";
    QTest::newRow("leading blank") << " 1AMCM3877BK100021"
                                   << "1AMCM3877BK100021";
    QTest::newRow("blank lines and tabs") << "\n\t A1F031B300011 \t\n"
                                          << "A1F031B300011";
    QTest::newRow("blanks inside stay") << "A1F 31B300011"
                                        << "A1F 31B300011";
    QTest::newRow("8-bit letter") << "caf\u00e9"
                                  << "caf\u00e9";
    QTest::newRow("longer than 17") << "1AMCM3877BK100021XYZ"
                                    << "1AMCM3877BK100021";
    QTest::newRow("tab inside") << "1AMC\tM3877"
                                << "";
    QTest::newRow("NUL inside") << QStringLiteral("1AMC") + QChar(0) + QStringLiteral("M") << "";
    QTest::newRow("emoji") << "1AMCM3877BK10002\U0001F697"
                           << "";
    QTest::newRow("beyond 8 bits") << "A1F031B30001\u20ac"
                                   << "";
  }
  void pasted_text() {
    QFETCH(QString, clipboard);
    QFETCH(QString, landed);
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto *vin = child<QLineEdit>(w, "Vin");
    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keyClick(vin, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(vin->text(), landed);

    // The same through the box's context menu.
    vin->clear();
    QContextMenuEvent opened(
        QContextMenuEvent::Keyboard, QPoint(5, 5), vin->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(vin, &opened);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr);
    for (QAction *action : menu->actions())
      if (action->text().startsWith(QStringLiteral("&Paste"))) action->trigger();
    menu->close();
    QCOMPARE(vin->text(), landed);
  }

  void typing_takes_only_characters_the_vin_buffer_holds() {
    MainWindow w(binding);
    auto *vin = child<QLineEdit>(w, "Vin");
    QTest::keyClicks(vin, QStringLiteral("1AMCM3877BK10002"));
    for (const QString &typed : {QStringLiteral("\U0001F697"),
                                 QStringLiteral("\u20ac"),
                                 QStringLiteral("\t"),
                                 QString(QChar(0)),
                                 QStringLiteral("\x7f")}) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
      QApplication::sendEvent(vin, &press);
      QInputMethodEvent composed;
      composed.setCommitString(typed);
      QApplication::sendEvent(vin, &composed);
    }
    QCOMPARE(vin->text(), QStringLiteral("1AMCM3877BK10002"));
    QKeyEvent e_acute(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("\u00e9"));
    QApplication::sendEvent(vin, &e_acute);
    QCOMPARE(vin->text(), QStringLiteral("1AMCM3877BK10002\u00e9"));
  }

  void a_13_character_report_needs_no_horizontal_scrolling() {
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    test::RecordedBoxes recorded;
    decode(w, QStringLiteral("A9A439A100001"));
    auto *report = child<QPlainTextEdit>(w, "Text1");
    QVERIFY(report->toPlainText().endsWith(QString(1000, ' ')));  // the text stays whole
    QTest::qWait(50);  // the scroll bars follow the layout of the text
    QCOMPARE(report->horizontalScrollBar()->maximum(), 0);
  }

  void every_control_has_an_accessible_name() {
    MainWindow w(binding);
    CandidateYears years;
    years.settle(QStringLiteral("A8A855H100001"));
    YearPrompt prompt(years, &w);
    int named = 0;
    for (QWidget *window : {static_cast<QWidget *>(&w), static_cast<QWidget *>(&prompt)}) {
      for (QWidget *control : window->findChildren<QWidget *>()) {
        const bool picture = control->objectName().startsWith(QLatin1String("Image"));
        const bool operable = control->focusPolicy() != Qt::NoFocus ||
                              qobject_cast<QAbstractButton *>(control) != nullptr;
        if ((!picture && !operable) || !control->isVisibleTo(window)) continue;
        QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(control);
        QVERIFY(spoken != nullptr);
        const QString name = spoken->text(QAccessible::Name);
        if (picture) {
          QVERIFY2(name.isEmpty() && spoken->state().invisible, qPrintable(control->objectName()));
        } else {
          QVERIFY2(!name.isEmpty(), qPrintable(control->objectName()));
          ++named;
        }
      }
    }
    QVERIFY(named >= 10);  // Vin, four buttons, the report; year box, arrows, Ok
  }

  void message_boxes_are_wide_enough_for_their_titles() {
    for (const QString title : {"Invalid Vin Length", "Error", "ERROR"}) {
      const std::unique_ptr<QMessageBox> box =
          MessageBoxes::build(nullptr, title, QStringLiteral("Ok."));
      box->show();
      QVERIFY(QTest::qWaitForWindowExposed(box.get()));
      QVERIFY(box->width() >= box->fontMetrics().horizontalAdvance(title) * 3 / 2 + 120);
    }
  }

  // Every fixed-size window and box, not only those that ask for it, takes back a
  // maximised or full-screen state (the Wayland stage shows why it must).
  void every_fixed_window_stays_normal() {
    MainWindow w(binding);  // it watches every window shown from then on
    const std::unique_ptr<QMessageBox> box =
        MessageBoxes::build(nullptr, QStringLiteral("Error"), QStringLiteral("Ok."));
    QDialog plain;  // a window nobody told anything
    plain.setFixedSize(200, 100);
    for (QWidget *window : {static_cast<QWidget *>(box.get()), static_cast<QWidget *>(&plain)}) {
      window->show();
      QVERIFY(QTest::qWaitForWindowExposed(window));
      const QSize size = window->size();
      for (Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowFullScreen}) {
        window->setWindowState(state);
        QTRY_COMPARE(window->windowState(), Qt::WindowNoState);
        QCOMPARE(window->size(), size);
      }
    }
  }

  void the_window_opens_with_its_corner_on_the_screen_data() {
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("fits: centred")
        << QSize(712, 465) << QRect(0, 0, 1920, 1080) << QPoint(604, 307);
    QTest::newRow("scaled 2 on 800x600")
        << QSize(1424, 930) << QRect(0, 0, 800, 600) << QPoint(0, 0);
    QTest::newRow("too tall below a panel")
        << QSize(700, 930) << QRect(0, 30, 1024, 738) << QPoint(162, 30);
    QTest::newRow("second screen")
        << QSize(1424, 930) << QRect(1920, 0, 1280, 1024) << QPoint(1920, 47);
  }
  void the_window_opens_with_its_corner_on_the_screen() {
    QFETCH(QSize, window);
    QFETCH(QRect, screen);
    QFETCH(QPoint, position);
    QCOMPARE(opening_position(window, screen), position);
  }

  // The mark a focused button shows: at least 3:1 against the pixels on either side
  // of it, and against what the same pixels show without the focus.
  void the_focus_mark_stands_out() {
    const auto luminance = [](QRgb rgb) {
      const auto linear = [](int c) {
        const double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
      };
      return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) +
             0.0722 * linear(qBlue(rgb));
    };
    const auto contrast = [&](QRgb a, QRgb b) {
      const double la = luminance(a), lb = luminance(b);
      return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    };
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    for (const char *name : {"Command1", "Command2", "Command3", "Command4"}) {
      auto *button = child<QPushButton>(w, name);
      child<QWidget>(w, "Vin")->setFocus();
      const QImage plain = button->grab().toImage();
      button->setFocus(Qt::TabFocusReason);
      const QImage focused = button->grab().toImage();
      // From the middle of the left edge inwards and from the middle of the top
      // edge downwards: the widest run of changed pixels is the mark.
      for (const bool across : {true, false}) {
        const int length = (across ? focused.width() : focused.height()) / 2;
        const auto at = [&](const QImage &image, int i) {
          return across ? image.pixel(i, image.height() / 2) : image.pixel(image.width() / 2, i);
        };
        int best_first = -1, best_last = -2, first = -1;
        for (int i = 0; i <= length; ++i) {
          const bool changed = i < length && at(focused, i) != at(plain, i);
          if (changed && first < 0) first = i;
          if (!changed && first >= 0) {
            if (i - 1 - first > best_last - best_first) best_first = first, best_last = i - 1;
            first = -1;
          }
        }
        QVERIFY2(best_first > 0 && best_last - best_first + 1 >= 2, name);  // 2 pixels wide
        for (int i = best_first; i <= best_last; ++i) {
          QVERIFY2(contrast(at(focused, i), at(plain, i)) >= 3, name);
          QVERIFY2(contrast(at(focused, i), at(focused, best_first - 1)) >= 3, name);
          QVERIFY2(contrast(at(focused, i), at(focused, best_last + 1)) >= 3, name);
        }
      }
    }
  }

  void cancel_closes_the_window() {
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(child<QPushButton>(w, "Command2"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
  }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
