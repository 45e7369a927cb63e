// "Did you mean" and "What each character says": what the record library gives
// for each kind of decode, the two context-menu entries of the VIN box and the
// report, and their dialogs by keyboard alone.
#include <QAccessible>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include "gui_test_support.h"
#include "hint_dialogs.h"
#include "main_window.h"

using namespace kordel::ui;

namespace {

QStringList vins_of(const QList<SuggestedVin> &suggestions) {
  QStringList vins;
  for (const SuggestedVin &s : suggestions) vins.append(s.vin);
  return vins;
}

}  // namespace

class TestHints : public QObject {
  Q_OBJECT

  LibraryBinding binding;

  static void decode(MainWindow &w, const QString &vin) {
    w.findChild<QLineEdit *>(QStringLiteral("Vin"))->setText(vin);
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
  }

  // Opens the context menu of `box` the way `how` says and returns its two entries'
  // enabled states; the menu is closed again.
  static std::pair<bool, bool> entries_of_menu(QWidget *box, const QString &how) {
    if (how == QLatin1String("right click")) {
      // What the window system makes of a right click (Qt Test sends none).
      QContextMenuEvent click(
          QContextMenuEvent::Mouse, QPoint(10, 10), box->mapToGlobal(QPoint(10, 10)));
      QApplication::sendEvent(box, &click);
    } else if (how == QLatin1String("Menu key"))
      QTest::keyClick(box, Qt::Key_Menu);
    else
      QTest::keyClick(box, Qt::Key_F10, Qt::ShiftModifier);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (menu == nullptr) return {false, false};
    QAction *suggest = nullptr, *explain = nullptr;
    for (QAction *action : menu->actions()) {
      if (action->objectName() == QLatin1String("DidYouMean")) suggest = action;
      if (action->objectName() == QLatin1String("WhatEachCharacterSays")) explain = action;
    }
    menu->close();
    if (suggest == nullptr || explain == nullptr) return {false, false};
    return {suggest->isEnabled(), explain->isEnabled()};
  }

 private slots:
  // model_year: the year the window handed on (a prompt's answer), 0 for none.
  void hints_for_each_kind_of_decode_data() {
    QTest::addColumn<QString>("vin");
    QTest::addColumn<int>("model_year");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<QString>("a_suggestion");  // empty: none wanted
    QTest::addColumn<QString>("year_says");     // what the model-year position says
    QTest::newRow("rejected: the library's box") << "A1F031BQ00011" << 0 << false << "A1F031B000011"
                                                 << "";
    QTest::newRow("one character short") << "1AMCW3855DK10000" << 0 << false << "*"
                                         << "";
    QTest::newRow("check digit that does not compute") << "1AMCM3877BK100021" << 0 << true << "*"
                                                       << "1981";
    QTest::newRow("clean, year from the prompt") << "A8A855H100001" << 78 << true << ""
                                                 << "1978";
    QTest::newRow("clean, the prompt's other year") << "A8A855H100001" << 68 << true << ""
                                                    << "1968";
  }
  void hints_for_each_kind_of_decode() {
    QFETCH(QString, vin);
    QFETCH(int, model_year);
    QFETCH(bool, reported);
    QFETCH(QString, a_suggestion);
    QFETCH(QString, year_says);
    const RecordHints hints = RecordHints::for_decode(vin, model_year, reported);
    QCOMPARE(hints.can_suggest(), !a_suggestion.isEmpty());
    if (a_suggestion != QLatin1String("*") && !a_suggestion.isEmpty())
      QVERIFY(vins_of(hints.suggestions()).contains(a_suggestion));
    for (const SuggestedVin &s : hints.suggestions()) {
      QVERIFY(s.changes.startsWith(QStringLiteral("position ")));
      QVERIFY(!s.summary.isEmpty());
    }
    QCOMPARE(hints.can_explain(), reported);
    if (!reported) return;
    QCOMPARE(hints.characters().size(), vin.size());
    const int year_position = vin.size() == 13 ? 2 : 10;
    const CharacterMeaning &year = hints.characters().at(year_position - 1);
    QCOMPARE(year.position, year_position);
    QCOMPARE(year.character, vin.mid(year_position - 1, 1));
    QCOMPARE(year.meaning, QStringLiteral("model year"));
    QCOMPARE(year.text, year_says);
  }

  void prompt_text() {
    QCOMPARE(RecordHints().prompt_text(), QString());
    QCOMPARE(RecordHints::for_decode(QStringLiteral("1AMCM3877IK100021"), 0, false).prompt_text(),
             QStringLiteral("Did you mean 1AMCM3877JK100021? Right-click the VIN"));
  }

  // Both entries in both context menus, however opened; enabled only when they
  // have something to show.
  void the_context_menus_offer_both_entries_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("how");
    for (const char *box : {"Vin", "Text1"})
      for (const char *how : {"right click", "Menu key", "Shift+F10"})
        QTest::addRow("%s, %s", box, how) << box << how;
  }
  void the_context_menus_offer_both_entries() {
    QFETCH(QString, box);
    QFETCH(QString, how);
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QWidget *target = w.findChild<QWidget *>(box);
    if (auto *report = qobject_cast<QPlainTextEdit *>(target); report && how == "right click")
      target = report->viewport();
    test::RecordedBoxes recorded;
    const std::pair<bool, bool> none{false, false}, both{true, true};
    QCOMPARE(entries_of_menu(target, how), none);  // nothing decoded yet
    decode(w, QStringLiteral("A9A439A100001"));    // clean: the characters only
    QCOMPARE(entries_of_menu(target, how), std::make_pair(false, true));
    decode(w, QStringLiteral("1AMCM3877BK100021"));  // a check digit that does not compute
    QCOMPARE(entries_of_menu(target, how), both);
    decode(w, QStringLiteral("A1F031BQ00011"));  // rejected: suggestions only
    QCOMPARE(entries_of_menu(target, how), std::make_pair(true, false));
  }

  // Choosing a suggestion puts it in the VIN box and decodes it, as Decode does.
  void a_chosen_suggestion_is_decoded() {
    MainWindow w(binding);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    test::RecordedBoxes recorded;
    auto *vin = w.findChild<QLineEdit *>(QStringLiteral("Vin"));
    decode(w, QStringLiteral("A1F031BQ00011"));
    QVERIFY(w.report().isEmpty());
    QVERIFY(vin->toolTip().startsWith(QStringLiteral("Did you mean A1F031B000011")));
    QCOMPARE(QAccessible::queryAccessibleInterface(vin)->text(QAccessible::Description),
             vin->toolTip());

    QList<SuggestedVin> offered;
    SuggestionsDialog::answer_for_tests = [&offered](const QList<SuggestedVin> &s) {
      offered = s;
      return std::optional<QString>(QStringLiteral("A1F031B000011"));
    };
    w.findChild<QAction *>(QStringLiteral("DidYouMean"))->trigger();
    SuggestionsDialog::answer_for_tests = nullptr;
    QVERIFY(vins_of(offered).contains(QStringLiteral("A1F031B000011")));
    QCOMPARE(vin->text(), QStringLiteral("A1F031B000011"));
    QVERIFY(w.report().startsWith(QStringLiteral("Your VIN# of A1F031B000011 decodes as follows")));
    QCOMPARE(QApplication::focusWidget(), vin);
    QCOMPARE(vin->selectedText(), vin->text());
    QCOMPARE(vin->toolTip(), QString());  // a clean decode says nothing more

    // The characters of the report shown.
    QList<CharacterMeaning> explained;
    CharactersDialog::answer_for_tests = [&explained](const QList<CharacterMeaning> &c) {
      explained = c;
    };
    w.findChild<QAction *>(QStringLiteral("WhatEachCharacterSays"))->trigger();
    CharactersDialog::answer_for_tests = nullptr;
    QCOMPARE(explained.size(), 13);
    QCOMPARE(explained.at(7).character, QStringLiteral("0"));
    QCOMPARE(QApplication::focusWidget(), vin);
    QCOMPARE(vin->selectedText(), vin->text());
    // Edited since, the VIN no longer gets the old VIN's suggestions.
    decode(w, QStringLiteral("A1F031BQ00011"));
    QVERIFY(w.findChild<QAction *>(QStringLiteral("DidYouMean"))->isEnabled());
    QTest::keyClick(vin, Qt::Key_End);
    QTest::keyClick(vin, Qt::Key_Backspace);
    QVERIFY(!w.findChild<QAction *>(QStringLiteral("DidYouMean"))->isEnabled());
    QCOMPARE(vin->toolTip(), QString());
  }

  // Keyboard alone: the list has the focus, Down and Return choose; Escape closes
  // without a choice. Named and announced for screen readers.
  void the_suggestions_dialog_by_keyboard() {
    const QList<SuggestedVin> suggestions =
        RecordHints::for_decode(QStringLiteral("A1F031BQ00011"), 0, false).suggestions();
    QVERIFY(suggestions.size() >= 2);
    for (bool escape : {false, true}) {
      SuggestionsDialog dialog(QStringLiteral("A1F031BQ00011"), suggestions, nullptr);
      dialog.show();
      QVERIFY(QTest::qWaitForWindowActive(&dialog));
      auto *list = dialog.findChild<QListWidget *>(QStringLiteral("list"));
      QCOMPARE(QApplication::focusWidget(), list);
      QCOMPARE(list->count(), suggestions.size());
      QCOMPARE(list->item(0)->text(), RecordHints::suggestion_row(suggestions.at(0)));
      QCOMPARE(list->verticalScrollBar()->maximum(), 0);  // every row in view
      QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(list);
      QCOMPARE(spoken->role(), QAccessible::List);
      QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("Suggestions"));
      QTest::keyClick(list, Qt::Key_Down);
      QTest::keyClick(list, escape ? Qt::Key_Escape : Qt::Key_Return);
      QVERIFY(!dialog.isVisible());
      QCOMPARE(dialog.chosen(), escape ? std::nullopt : std::optional(suggestions.at(1).vin));
    }
  }

  void the_characters_dialog() {
    const RecordHints hints = RecordHints::for_decode(QStringLiteral("A9A439A100001"), 0, true);
    CharactersDialog dialog(QStringLiteral("A9A439A100001"), hints.characters(), nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *table = dialog.findChild<QTreeWidget *>(QStringLiteral("table"));
    QCOMPARE(QApplication::focusWidget(), table);
    QCOMPARE(table->topLevelItemCount(), 13);
    QCOMPARE(table->topLevelItem(1)->text(2), QStringLiteral("model year"));
    QCOMPARE(table->topLevelItem(1)->text(3), QStringLiteral("1979"));
    QCOMPARE(QAccessible::queryAccessibleInterface(table)->text(QAccessible::Name),
             QStringLiteral("Characters"));
    // Every row is in view: no scrolling to read the VIN.
    QCOMPARE(table->verticalScrollBar()->maximum(), 0);
    QTest::keyClick(table, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
  }
};

QTEST_MAIN(TestHints)
#include "test_hints.moc"
