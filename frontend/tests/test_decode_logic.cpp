// The Decode command's logic without any widget.
#include <QTest>

#include "decode_report.h"
#include "model_year.h"

using namespace kordel::ui;

class TestDecodeLogic : public QObject {
  Q_OBJECT

 private slots:
  void lengths_data() {
    QTest::addColumn<QString>("vin");
    QTest::addColumn<int>("scheme");
    QTest::newRow("empty") << QString() << int(VinScheme::invalid_length);
    QTest::newRow("12") << QString(12, 'A') << int(VinScheme::invalid_length);
    QTest::newRow("13") << QString(13, 'A') << int(VinScheme::thirteen);
    QTest::newRow("14") << QString(14, 'A') << int(VinScheme::invalid_length);
    QTest::newRow("16") << QString(16, 'A') << int(VinScheme::invalid_length);
    QTest::newRow("17") << QString(17, 'A') << int(VinScheme::seventeen);
  }
  void lengths() {
    QFETCH(QString, vin);
    QFETCH(int, scheme);
    QCOMPARE(int(scheme_of(vin)), scheme);
  }

  void candidate_table_data() {
    QTest::addColumn<QString>("vin");
    QTest::addColumn<bool>("prompt");
    QTest::addColumn<int>("model_year");
    QTest::addColumn<QList<int>>("years");  // the years the prompt offers, in order
    QTest::newRow("8/8") << "A8A855H100001" << true << 0 << QList<int>{68, 78};
    QTest::newRow("8/5") << "A5A855H100001" << false << 0 << QList<int>{};
    QTest::newRow("4/0") << "A0A430A100001" << true << 0 << QList<int>{70, 80};
    QTest::newRow("4/9") << "A9A439A100001" << false << 79 << QList<int>{};
    QTest::newRow("4/2") << "A2A430A100001" << false << 0 << QList<int>{};
    QTest::newRow("0/9") << "A9A050A100001" << true << 0 << QList<int>{68, 69, 70, 78, 79, 80};
    QTest::newRow("0/8") << "A8A050A100001" << true << 0 << QList<int>{68, 69, 70, 78, 79, 80};
    QTest::newRow("0/1") << "A1A050A100001" << false << 0 << QList<int>{};
    QTest::newRow("1/8") << "A8A160H100001" << true << 0 << QList<int>{68, 78};
    QTest::newRow("1/9") << "A9A160H100001" << false << 0 << QList<int>{};
    QTest::newRow("7/8") << "A8A795H100001" << false << 0 << QList<int>{};
    // A letter reads as 0: at position 4 the model digit 0, at position 2 the year digit 0.
    QTest::newRow("X/8") << "A8AX50A100001" << true << 0 << QList<int>{68, 69, 70, 78, 79, 80};
    QTest::newRow("4/X") << "AXA430A100001" << true << 0 << QList<int>{70, 80};
  }
  void candidate_table() {
    QFETCH(QString, vin);
    QFETCH(bool, prompt);
    QFETCH(int, model_year);
    QFETCH(QList<int>, years);
    CandidateYears candidates;
    const CandidateYears::Settlement settled = candidates.settle(vin);
    QCOMPARE(settled.prompt, prompt);
    QCOMPARE(settled.model_year, model_year);
    QList<int> offered;
    for (std::int16_t year : candidates.years()) offered.append(year);
    QCOMPARE(offered, years);
  }

  // A later decode offers its own years only, never one left by an earlier decode.
  void later_decode_offers_its_own_years() {
    CandidateYears candidates;
    candidates.settle(QStringLiteral("A9A050A100001"));  // 68 to 80
    candidates.settle(QStringLiteral("A8A855H100001"));  // 68 and 78
    QCOMPARE(candidates.years()[0], std::int16_t(68));
    QCOMPARE(candidates.years().size(), std::size_t(2));  // 69 of the first decode is gone
    QCOMPARE(candidates.years()[1], std::int16_t(78));
    QCOMPARE(std::vector<std::int16_t>(candidates.years().begin(), candidates.years().end()),
             (std::vector<std::int16_t>{68, 78}));
  }

  // The arrows visit only the years of this decode, even after an earlier decode
  // that offered more.
  void stepper_visits_this_decodes_years() {
    CandidateYears candidates;
    candidates.settle(QStringLiteral("A9A050A100001"));
    candidates.settle(QStringLiteral("A8A855H100001"));
    YearStepper stepper(candidates);
    QCOMPARE(stepper.opening_text(), QStringLiteral(" 68"));
    QVERIFY(!stepper.down());  // at the first year
    QCOMPARE(stepper.up(), std::optional<QString>(QStringLiteral("78")));
    QVERIFY(!stepper.up());  // the last candidate is the upper stop
    QCOMPARE(stepper.slot(), std::size_t(2));
    QCOMPARE(stepper.down(), std::optional<QString>(QStringLiteral(" 68")));
  }

  void stepper_through_six_years() {
    CandidateYears candidates;
    candidates.settle(QStringLiteral("A0A050A100001"));
    YearStepper stepper(candidates);
    QStringList seen{stepper.opening_text()};
    while (const auto text = stepper.up()) seen.append(*text);
    QCOMPARE(seen, (QStringList{" 68", "69", "70", "78", "79", "80"}));
  }

  void reading_the_year_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("year");
    QTest::newRow("leading blank") << " 68" << 68;
    QTest::newRow("blanks around") << "  78  " << 78;
    QTest::newRow("blanks inside") << "7 8" << 78;
    QTest::newRow("tab and line feed") << "\t7\n9" << 79;
    QTest::newRow("letters behind") << "80abc" << 80;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("letter first") << "x78" << 0;
    QTest::newRow("fraction up") << "78.6" << 79;
    QTest::newRow("fraction down") << "78.4" << 78;
    QTest::newRow("tie to even") << "78.5" << 78;
    QTest::newRow("tie to even up") << "79.5" << 80;
    QTest::newRow("exponent") << "7.8e1" << 78;
    QTest::newRow("negative") << "-5" << -5;
    QTest::newRow("beyond 16 bits") << "40000" << 0;
    QTest::newRow("far beyond") << "99999999999999999999" << 0;
    QTest::newRow("16-bit limit") << "32767" << 32767;
  }
  void reading_the_year() {
    QFETCH(QString, text);
    QFETCH(int, year);
    QCOMPARE(read_model_year(text), year);
  }

  void buffers_are_preset() {
    const LineBuffers lines;
    QVERIFY(!lines.has_result());
    QCOMPARE(lines.text(0), QStringLiteral("qoz") + QString(997, ' '));
    for (std::size_t i = 1; i < 5; ++i) QCOMPARE(lines.text(i), QString(1000, ' '));
  }

  void buffer_text_ends_at_its_nul() {
    LineBuffers lines;
    std::memcpy(lines.data(0), "1981 AMC\0tail", 13);
    QVERIFY(lines.has_result());
    QCOMPARE(lines.text(0), QStringLiteral("1981 AMC"));
  }

  void vin_as_8bit_text() {
    QCOMPARE(vin_to_8bit(QStringLiteral("a1a050h100001")), QByteArray("a1a050h100001"));
    const QByteArray foreign = vin_to_8bit(QString::fromUtf8("A1A0\u20AC0H1000\u00E91"));
    QCOMPARE(foreign.size(), 13);
    QCOMPARE(foreign,
             QByteArray("A1A0?0H1000\xE9"
                        "1"));
    QCOMPARE(foreign.constData()[13], '\0');
  }

  void production_numbers_data() {
    QTest::addColumn<QString>("last_six");
    QTest::addColumn<QString>("printed");
    QTest::newRow("100000") << "100000"
                            << "";
    QTest::newRow("700000") << "700000"
                            << "";
    QTest::newRow("099999") << "099999"
                            << "-1";
    QTest::newRow("699999") << "699999"
                            << "599999";
    QTest::newRow("700021") << "700021"
                            << "21";
    QTest::newRow("123456") << "123456"
                            << "23456";
    QTest::newRow("plant letter") << "K00021"
                                  << "K00021";
    QTest::newRow("not a number") << "12 45x"
                                  << "12 45x";
  }
  void production_numbers() {
    QFETCH(QString, last_six);
    QFETCH(QString, printed);
    QCOMPARE(production_text(QStringLiteral("1AMCM3877BK") + last_six), printed);
  }

  void report_of_a_13_character_vin() {
    LineBuffers lines;
    const char *written[] = {"1971 AMC Hornet  SC 360  2dr hatchback ",
                             "Engine: 232 1v . Trans:3speed manual on floor ",
                             "This was the ",
                             "th car ordered from the Kenosha plant in 1971"};
    for (std::size_t i = 0; i < 4; ++i) std::strcpy(lines.data(i), written[i]);
    QCOMPARE(
        compose_report(QStringLiteral("a1f031b300011"), lines),
        QStringLiteral("Your VIN# of a1f031b300011 decodes as follows\r\n"
                       "1971 AMC Hornet  SC 360  2dr hatchback \r\n"
                       "Engine: 232 1v . Trans:3speed manual on floor \r\n"
                       "This was the 200011th car ordered from the Kenosha plant in 1971\r\n") +
            QString(1000, ' '));
  }
};

QTEST_APPLESS_MAIN(TestDecodeLogic)
#include "test_decode_logic.moc"
