// form3, the about box: its layout, and that it is single and modeless.
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "about_box.h"
#include "gui_test_support.h"
#include "main_window.h"

using namespace kordel::ui;

class TestAboutBox : public QObject {
  Q_OBJECT

  LibraryBinding binding;

  static int open_about_boxes() {
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
      if (qobject_cast<AboutBox *>(w) != nullptr && w->isVisible()) ++count;
    return count;
  }

  static void choose_about(MainWindow &w) {
    w.findChild<QAction *>(QStringLiteral("About"))->trigger();
  }

 private slots:
  void layout() {
    AboutBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QCOMPARE(box.windowTitle(), QStringLiteral("About"));
    QCOMPARE(box.size(), QSize(194, 190));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QVERIFY(!box.isModal());
    auto *label = box.findChild<QLabel *>(QStringLiteral("Label1"));
    QCOMPARE(label->text(), QStringLiteral("Kordel decoder\nversion 1.0\nwin 9*\n1/29/99"));
    QCOMPARE(label->geometry(), QRect(16, 0, 161, 121));
    QVERIFY(label->wordWrap());
    auto *ok = box.findChild<QPushButton *>(QStringLiteral("Command1"));
    QCOMPARE(ok->text(), QStringLiteral("&Ok"));
    QCOMPARE(ok->geometry(), QRect(32, 152, 129, 33));
    QCOMPARE(QApplication::focusWidget(), ok);
    QTest::keyClick(ok, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), ok);  // the only control that takes the focus
    // Announced as a window, not as an anonymous "filler".
    QCOMPARE(QAccessible::queryAccessibleInterface(&box)->role(), QAccessible::Window);
  }

  // Without a window manager nothing else would give the keyboard back.
  void closing_it_gives_the_keyboard_back_to_the_vin() {
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    choose_about(w);
    QPointer<AboutBox> box = w.about_box();
    QVERIFY(QTest::qWaitForWindowActive(box));
    QTest::keyClick(box->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::Key_Return);
    QTRY_VERIFY(box == nullptr);
    QTRY_COMPARE(QApplication::activeWindow(), &w);
    QCOMPARE(QApplication::focusWidget(), w.findChild<QLineEdit *>(QStringLiteral("Vin")));
  }

  void return_on_ok_closes_it_and_the_window_system_places_it() {
    QPointer<AboutBox> box = new AboutBox;
    box->show();
    QVERIFY(QTest::qWaitForWindowActive(box));
    QVERIFY(!box->testAttribute(Qt::WA_Moved));  // the program chose no position
    QTest::keyClick(box->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::Key_Return);
    QTRY_VERIFY(box == nullptr);
  }

  void about_twice_gives_one_box() {
    MainWindow w(binding);
    w.show();
    choose_about(w);
    AboutBox *first = w.about_box();
    QVERIFY(first != nullptr && first->isVisible());
    choose_about(w);
    QCOMPARE(w.about_box(), first);
    QCOMPARE(open_about_boxes(), 1);
    first->close();
    QTRY_VERIFY(w.about_box() == nullptr);  // closed boxes are gone
    choose_about(w);
    QVERIFY(w.about_box() != nullptr);
    w.about_box()->close();
  }

  void main_window_stays_usable_while_it_is_open() {
    MainWindow w(binding);
    w.show();
    choose_about(w);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    test::RecordedBoxes boxes;
    w.findChild<QLineEdit *>(QStringLiteral("Vin"))->setText(QStringLiteral("1AMCM3877BK100021"));
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QVERIFY(!w.report().isEmpty());
    w.about_box()->close();
  }

  // The program runs while a window of it is visible and ends with the last one.
  void it_outlives_the_main_window() {
    const auto visible_windows = [] {
      int count = 0;
      for (QWidget *w : QApplication::topLevelWidgets()) count += w->isVisible() ? 1 : 0;
      return count;
    };
    QPointer<AboutBox> box;
    {
      MainWindow w(binding);
      w.show();
      choose_about(w);
      box = w.about_box();
      QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("Command2")), Qt::LeftButton);
      QVERIFY(!w.isVisible());
    }
    QVERIFY(box != nullptr && box->isVisible());
    QCOMPARE(visible_windows(), 1);
    QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QTRY_VERIFY(box == nullptr);
    QCOMPARE(visible_windows(), 0);
  }
};

QTEST_MAIN(TestAboutBox)
#include "test_about_box.moc"
