// Form2, the model-year prompt, on its own.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "spin_button.h"
#include "year_prompt.h"

using namespace kordel::ui;

class TestYearPrompt : public QObject {
  Q_OBJECT

  static QLineEdit *text1(YearPrompt &p) { return p.findChild<QLineEdit *>("Text1"); }
  static SpinButton *spin(YearPrompt &p) { return p.findChild<SpinButton *>("SpinButton1"); }
  static QPushButton *ok(YearPrompt &p) { return p.findChild<QPushButton *>("Command1"); }

  static CandidateYears settled(const char *vin) {
    CandidateYears years;
    years.settle(QString::fromLatin1(vin));
    return years;
  }

 private slots:
  void layout() {
    const CandidateYears years = settled("A8A855H100001");
    QWidget owner;
    owner.setGeometry(100, 100, 712, 441);
    YearPrompt prompt(years, &owner);
    prompt.show();
    QVERIFY(QTest::qWaitForWindowActive(&prompt));
    QCOMPARE(prompt.windowTitle(), QStringLiteral("Year"));
    QCOMPARE(prompt.size(), QSize(180, 58));
    QCOMPARE(prompt.minimumSize(), prompt.maximumSize());
    QVERIFY((prompt.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength() <=
            2);
    QVERIFY(prompt.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(prompt.windowFlags() & Qt::WindowMinMaxButtonsHint));

    auto *label = prompt.findChild<QLabel *>("Label1");
    QCOMPARE(label->text(), QStringLiteral("19"));
    QCOMPARE(label->geometry(), QRect(8, 8, 41, 41));
    QCOMPARE(label->font().pointSizeF(), 24.0);
    QCOMPARE(text1(prompt)->geometry(), QRect(48, 8, 65, 41));
    QCOMPARE(text1(prompt)->font().pointSizeF(), 24.0);
    QCOMPARE(spin(prompt)->geometry(), QRect(112, 8, 25, 41));
    QCOMPARE(ok(prompt)->geometry(), QRect(136, 8, 33, 41));
    QCOMPARE(ok(prompt)->text(), QStringLiteral("&Ok"));

    // Ok has the focus; the tab order goes on to the spin button, then the text.
    QCOMPARE(QApplication::focusWidget(), ok(prompt));
    QTest::keyClick(ok(prompt), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), spin(prompt));
    QTest::keyClick(spin(prompt), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), text1(prompt));
  }

  void opens_on_the_first_candidate_data() {
    QTest::addColumn<QString>("vin");
    QTest::addColumn<QString>("shown");
    QTest::newRow("68/78") << "A8A855H100001"
                           << " 68";
    QTest::newRow("68 to 80") << "A9A050A100001"
                              << " 68";
    QTest::newRow("70/80") << "A0A430A100001"
                           << " 70";
  }
  void opens_on_the_first_candidate() {
    QFETCH(QString, vin);
    QFETCH(QString, shown);
    const CandidateYears years = settled(qPrintable(vin));
    YearPrompt prompt(years, nullptr);
    QCOMPARE(text1(prompt)->text(), shown);
  }

  void arrows_step_through_the_candidates() {
    const CandidateYears years = settled("A9A050A100001");
    YearPrompt prompt(years, nullptr);
    prompt.show();
    QVERIFY(QTest::qWaitForWindowActive(&prompt));

    QTest::mouseClick(spin(prompt)->down_button(), Qt::LeftButton);
    QCOMPARE(text1(prompt)->text(), QStringLiteral(" 68"));  // already at the first

    QStringList seen;
    for (int i = 0; i < 7; ++i) {
      QTest::mouseClick(spin(prompt)->up_button(), Qt::LeftButton);
      seen.append(text1(prompt)->text());
    }
    QCOMPARE(seen, (QStringList{"69", "70", "78", "79", "80", "80", "80"}));

    text1(prompt)->setFocus();
    QTest::mouseClick(spin(prompt)->down_button(), Qt::LeftButton);
    QCOMPARE(text1(prompt)->text(), QStringLiteral(" 79"));  // a leading blank on the way down
    QCOMPARE(QApplication::focusWidget(), ok(prompt));

    // The arrow keys work while the spin button has the focus.
    spin(prompt)->setFocus();
    QTest::keyClick(spin(prompt), Qt::Key_Down);
    QCOMPARE(text1(prompt)->text(), QStringLiteral(" 78"));
  }

  void arrow_keys_step_from_every_control_data() {
    QTest::addColumn<QString>("focused");
    QTest::newRow("Ok") << "Command1";
    QTest::newRow("spin button") << "SpinButton1";
    QTest::newRow("year box") << "Text1";
  }
  void arrow_keys_step_from_every_control() {
    QFETCH(QString, focused);
    const CandidateYears years = settled("A9A050A100001");
    YearPrompt prompt(years, nullptr);
    prompt.show();
    QVERIFY(QTest::qWaitForWindowActive(&prompt));
    auto *control = prompt.findChild<QWidget *>(focused);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Up);
    QCOMPARE(text1(prompt)->text(), QStringLiteral("69"));
    QCOMPARE(QApplication::focusWidget(), ok(prompt));  // as the arrows do
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Down);
    QCOMPARE(text1(prompt)->text(), QStringLiteral(" 68"));
  }

  void the_spin_button_shows_its_focus() {
    const CandidateYears years = settled("A8A855H100001");
    YearPrompt prompt(years, nullptr);
    prompt.show();
    QVERIFY(QTest::qWaitForWindowActive(&prompt));
    const QImage without = spin(prompt)->grab().toImage();
    spin(prompt)->setFocus();
    QVERIFY(spin(prompt)->hasFocus());
    QVERIFY(spin(prompt)->grab().toImage() != without);
  }

  void return_on_ok_confirms() {
    const CandidateYears years = settled("A8A855H100001");
    YearPrompt prompt(years, nullptr);
    prompt.show();
    QVERIFY(QTest::qWaitForWindowActive(&prompt));
    QTest::keyClick(ok(prompt), Qt::Key_Return);
    QCOMPARE(prompt.result(), int(QDialog::Accepted));
    QCOMPARE(prompt.model_year(), 68);
  }

  void ok_reads_the_text() {
    const CandidateYears years = settled("A8A855H100001");
    YearPrompt prompt(years, nullptr);
    QTest::mouseClick(spin(prompt)->up_button(), Qt::LeftButton);
    QTest::mouseClick(ok(prompt), Qt::LeftButton);
    QCOMPARE(prompt.result(), int(QDialog::Accepted));
    QCOMPARE(prompt.model_year(), 78);
  }

  void a_typed_year_counts() {
    const CandidateYears years = settled("A8A855H100001");
    YearPrompt prompt(years, nullptr);
    prompt.show();
    QVERIFY(QTest::qWaitForWindowActive(&prompt));
    text1(prompt)->setFocus();
    text1(prompt)->setText(QStringLiteral(" 78.6 or so"));
    QTest::keyClick(text1(prompt), Qt::Key_Return);  // Enter confirms like Ok
    QCOMPARE(prompt.result(), int(QDialog::Accepted));
    QCOMPARE(prompt.model_year(), 79);
  }

  void closing_leaves_no_year() {
    const CandidateYears years = settled("A8A855H100001");
    YearPrompt prompt(years, nullptr);
    prompt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&prompt));
    prompt.close();
    QCOMPARE(prompt.result(), int(QDialog::Rejected));
    QCOMPARE(prompt.model_year(), 0);
  }
};

QTEST_MAIN(TestYearPrompt)
#include "test_year_prompt.moc"
