// The main window on a Wayland compositor (with_weston.sh runs a headless weston):
// it decodes, the year prompt and the library's message box come up over it, and
// maximise and full-screen requests, as the title bar's buttons send them, leave
// every window and box the program opens running.
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include "about_box.h"
#include "gui_test_support.h"
#include "hint_dialogs.h"
#include "main_window.h"
#include "spin_button.h"
#include "year_prompt.h"

using namespace kordel::ui;

class TestOnWayland : public QObject {
  Q_OBJECT

  LibraryBinding binding;

  static void decode(MainWindow &w, const QString &vin) {
    // Typed text would go through the compositor's text input, which needs a seat;
    // the headless compositor has none.
    w.findChild<QLineEdit *>(QStringLiteral("Vin"))->setText(vin);
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
  }

  // The compositor's picture of the whole output, kept with the build.
  static void screenshot(const QString &name) {
    QTest::qWait(300);  // the compositor shows a new surface at its next repaint
    QTemporaryDir dir;
    QProcess shooter;
    shooter.setWorkingDirectory(dir.path());
    shooter.start(QStringLiteral("weston-screenshooter"), QStringList());
    if (!shooter.waitForFinished(10000) || shooter.exitCode() != 0) {
      qWarning("no screenshot: %s", shooter.readAllStandardError().constData());
      return;
    }
    const QStringList shots = QDir(dir.path()).entryList({QStringLiteral("*.png")});
    if (!shots.isEmpty())
      QFile::rename(dir.filePath(shots.first()),
                    test::artifacts_dir() + QStringLiteral("/wayland_%1.png").arg(name));
  }

 private slots:
  void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland")); }

  void decodes_with_the_prompt_and_a_message_box() {
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    decode(w, QStringLiteral("1AMCM3877BK100021"));
    QVERIFY(w.report().startsWith(QStringLiteral("Your VIN# of 1AMCM3877BK100021 ")));

    bool prompted = false;
    test::when_modal_opens<YearPrompt>([&prompted](YearPrompt *prompt) {
      prompted = true;
      QVERIFY(QTest::qWaitForWindowExposed(prompt));
      screenshot(QStringLiteral("year_prompt"));
      auto *spin = prompt->findChild<SpinButton *>(QStringLiteral("SpinButton1"));
      QTest::mouseClick(spin->up_button(), Qt::LeftButton);
      QTest::mouseClick(prompt->findChild<QPushButton *>(QStringLiteral("Command1")),
                        Qt::LeftButton);
    });
    decode(w, QStringLiteral("A8A855H100001"));
    QVERIFY(prompted);
    QVERIFY(w.report().contains(QStringLiteral("1978 AMC Matador")));

    // The library's own box, shown for real: placed over the main window.
    QString text;
    QWindow *placed_over = nullptr;
    test::when_modal_opens<QMessageBox>([&](QMessageBox *box) {
      text = box->text();
      QVERIFY(QTest::qWaitForWindowExposed(box));
      placed_over = box->windowHandle()->transientParent();
      screenshot(QStringLiteral("message_box"));
      box->button(QMessageBox::Ok)->click();
    });
    decode(w, QStringLiteral("1AMCM3877IK100021"));
    QCOMPARE(text, QStringLiteral("The 9th digit is a invalid year code."));
    QCOMPARE(placed_over, w.windowHandle());
    QVERIFY(w.report().isEmpty());
  }

  // A compositor that maximises the fixed window configures it at the output's
  // size; the window must take that state without losing anything.
  void a_maximise_request_leaves_it_running_data() {
    QTest::addColumn<bool>("through_the_window");
    QTest::newRow("QWidget::setWindowState") << false;
    QTest::newRow("QWindow::setWindowStates, as the title bar does") << true;
  }
  void a_maximise_request_leaves_it_running() {
    QFETCH(bool, through_the_window);
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    decode(w, QStringLiteral("1AMCM3877BK100021"));
    const QString report = w.report();
    QVERIFY(!report.isEmpty());

    if (through_the_window)
      w.windowHandle()->setWindowStates(Qt::WindowMaximized);
    else
      w.setWindowState(Qt::WindowMaximized);
    // Round trips to the compositor: its configure, our answer, its next frame.
    QTest::qWait(1500);
    screenshot(through_the_window ? QStringLiteral("after_maximise_from_title_bar")
                                  : QStringLiteral("after_maximise"));
    QVERIFY(w.isVisible());
    QTRY_COMPARE(w.windowState(), Qt::WindowNoState);  // taken back: the window is fixed
    QTRY_COMPARE(w.windowHandle()->maximumSize(), w.minimumSize());
    QCOMPARE(w.size(), w.minimumSize());
    QCOMPARE(w.report(), report);
    QCOMPARE(w.findChild<QLineEdit *>(QStringLiteral("Vin"))->text(),
             QStringLiteral("1AMCM3877BK100021"));
    QCOMPARE(w.centralWidget()->size(), QSize(712, 441));
    decode(w, QStringLiteral("A9A439A100001"));  // and it still decodes
    QVERIFY(w.report().contains(QStringLiteral("1979 AMC Spirit")));
  }

  // Every kind of window the program opens takes a maximise and a full-screen
  // request, as the title bar's buttons and the program send them, and stays
  // usable: a fixed one is taken back to its size, a resizable one may take it.
  void every_window_survives_maximise_and_full_screen_data() {
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"main window",
                             "year prompt",
                             "About",
                             "message box",
                             "library's box",
                             "Save As",
                             "Print",
                             "Did you mean",
                             "What each character says"})
      QTest::newRow(kind) << QString::fromLatin1(kind);
  }
  void every_window_survives_maximise_and_full_screen() {
    QFETCH(QString, kind);
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    decode(w, QStringLiteral("1AMCM3877BK100021"));

    bool reached = false;
    const auto request_states = [&reached](QWidget *window) {
      QVERIFY(QTest::qWaitForWindowExposed(window));
      const bool fixed = window->minimumSize() == window->maximumSize();
      const QSize size = window->size();
      for (Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowFullScreen}) {
        window->windowHandle()->setWindowStates(state);
        QTest::qWait(700);  // the compositor's configure, our answer, its next frame
        QVERIFY(window->isVisible());
        if (fixed) {
          QTRY_COMPARE(window->windowState(), Qt::WindowNoState);
          QTRY_COMPARE(window->size(), size);
        } else {
          window->windowHandle()->setWindowStates(Qt::WindowNoState);
          QTest::qWait(300);
        }
      }
      reached = true;
    };
    const auto modal = [&](auto *type_tag, const QString &vin, const char *button) {
      using Window = std::remove_pointer_t<decltype(type_tag)>;
      test::when_modal_opens<Window>([&](Window *window) {
        request_states(window);
        if constexpr (std::is_same_v<Window, QMessageBox>) {
          QTest::mouseClick(window->button(QMessageBox::Ok), Qt::LeftButton);
        } else {
          window->reject();
        }
      });
      if (vin.isEmpty())
        QTest::mouseClick(w.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
      else
        decode(w, vin);
    };
    if (kind == QLatin1String("main window")) {
      request_states(&w);
    } else if (kind == QLatin1String("year prompt")) {
      test::RecordedBoxes recorded;  // the library's word on model year 0
      modal(static_cast<YearPrompt *>(nullptr), QStringLiteral("A8A855H100001"), nullptr);
    } else if (kind == QLatin1String("About")) {
      w.findChild<QAction *>(QStringLiteral("About"))->trigger();
      request_states(w.about_box());
      w.about_box()->close();
    } else if (kind == QLatin1String("message box")) {
      modal(static_cast<QMessageBox *>(nullptr), QStringLiteral("1AMCW3855DK10000"), nullptr);
    } else if (kind == QLatin1String("library's box")) {
      modal(static_cast<QMessageBox *>(nullptr), QStringLiteral("A1F031BQ00011"), nullptr);
    } else if (kind == QLatin1String("Save As")) {
      modal(static_cast<QFileDialog *>(nullptr), QString(), "Command3");
    } else if (kind == QLatin1String("Print")) {
      modal(static_cast<QPrintDialog *>(nullptr), QString(), "Command4");
    } else {
      const bool suggest = kind == QLatin1String("Did you mean");
      test::RecordedBoxes recorded;
      decode(w, suggest ? QStringLiteral("A1F031BQ00011") : QStringLiteral("1AMCM3877BK100021"));
      const auto shown = [&](QDialog *dialog) {
        screenshot(suggest ? QStringLiteral("did_you_mean") : QStringLiteral("characters"));
        request_states(dialog);
        dialog->reject();
      };
      if (suggest)
        test::when_modal_opens<SuggestionsDialog>(shown);
      else
        test::when_modal_opens<CharactersDialog>(shown);
      w.findChild<QAction *>(suggest ? QStringLiteral("DidYouMean")
                                     : QStringLiteral("WhatEachCharacterSays"))
          ->trigger();
    }
    QVERIFY(reached);
    QVERIFY(w.isVisible());
    QCOMPARE(w.centralWidget()->size(), QSize(712, 441));
    decode(w, QStringLiteral("A9A439A100001"));  // and it still decodes
    QVERIFY(w.report().contains(QStringLiteral("1979 AMC Spirit")));
  }
};

QTEST_MAIN(TestOnWayland)
#include "test_on_wayland.moc"
