#include "hint_dialogs.h"

#include <QAccessible>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "artwork.h"
#include "controls.h"
#include "ui_fonts.h"

namespace kordel::ui {

namespace {

// The program's icon beside a dialog's heading, drawn at the screen's density as
// the main window's pictures are.
QWidget *heading(const QString &text, QWidget *parent) {
  auto *row = new QWidget(parent);
  auto *layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  const QColor ground = parent->palette().color(QPalette::Window);
  auto *icon = new artwork::Picture(
      [ground](QPainter &painter, QSize size) {
        painter.fillRect(QRect(QPoint(0, 0), size), ground);
        artwork::window_icon().paint(&painter, QRect(QPoint(0, 0), size));
      },
      row);
  icon->setObjectName(QStringLiteral("icon"));
  icon->setFixedSize(32, 32);
  mark_as_decoration(icon);
  auto *label = new QLabel(text, row);
  label->setObjectName(QStringLiteral("heading"));
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  layout->addWidget(icon, 0, Qt::AlignTop);
  layout->addWidget(label, 1);
  return row;
}

QPushButton *button(const QString &caption, const char *name, QWidget *parent) {
  auto *b = new CommandButton(caption, parent);
  b->setObjectName(QLatin1String(name));
  b->setFont(program_font(10));
  return b;
}

}  // namespace

SuggestionsDialog::SuggestionsDialog(const QString &vin, const QList<SuggestedVin> &suggestions,
                                     QWidget *parent)
    : QDialog(parent, fixed_frame(Qt::Dialog)) {
  setObjectName(QStringLiteral("Suggestions"));
  setWindowTitle(QStringLiteral("Did you mean"));
  setFont(program_font(10));

  // Sized to what it shows, and fixed, as the program's other windows are.
  auto *layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(
      heading(QStringLiteral("VINs one slip away from %1 that decode:").arg(vin), this));

  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("list"));
  list_->setAccessibleName(QStringLiteral("Suggestions"));
  list_->setAccessibleDescription(
      QStringLiteral("Each VIN, what it changes and what it decodes as"));
  for (const SuggestedVin &s : suggestions) {
    auto *item = new QListWidgetItem(RecordHints::suggestion_row(s), list_);
    item->setData(Qt::UserRole, s.vin);
  }
  list_->setCurrentRow(0);
  list_->setMinimumWidth(list_->sizeHintForColumn(0) + 2 * list_->frameWidth() + 24);
  // Every row in view, without scrolling.
  list_->setFixedHeight(list_->sizeHintForRow(0) * static_cast<int>(suggestions.size()) +
                        2 * list_->frameWidth() + 2);
  layout->addWidget(list_);

  auto *buttons = new QDialogButtonBox(this);
  QPushButton *use = button(QStringLiteral("&Use this VIN"), "use", this);
  QPushButton *close = button(QStringLiteral("Close"), "close", this);
  buttons->addButton(use, QDialogButtonBox::AcceptRole);
  buttons->addButton(close, QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);

  connect(use, &QPushButton::clicked, this, &SuggestionsDialog::choose);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  // Return or a double click on a row chooses it.
  connect(list_, &QListWidget::itemActivated, this, &SuggestionsDialog::choose);
  setTabOrder(list_, use);
  setTabOrder(use, close);
  list_->setFocus();
}

void SuggestionsDialog::choose() {
  if (const QListWidgetItem *item = list_->currentItem()) {
    chosen_ = item->data(Qt::UserRole).toString();
    accept();
  }
}

std::optional<QString> SuggestionsDialog::ask(QWidget *parent, const QString &vin,
                                              const QList<SuggestedVin> &suggestions) {
  if (answer_for_tests) return answer_for_tests(suggestions);
  keep_windows_normal();
  SuggestionsDialog dialog(vin, suggestions, parent);
  dialog.exec();
  return dialog.chosen();
}

CharactersDialog::CharactersDialog(const QString &vin, const QList<CharacterMeaning> &characters,
                                   QWidget *parent)
    : QDialog(parent, fixed_frame(Qt::Dialog)) {
  setObjectName(QStringLiteral("Characters"));
  setWindowTitle(QStringLiteral("What each character says"));
  setFont(program_font(10));

  // Sized to what it shows, and fixed, as the program's other windows are.
  auto *layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(heading(QStringLiteral("What each character of %1 says:").arg(vin), this));

  table_ = new QTreeWidget(this);
  table_->setObjectName(QStringLiteral("table"));
  table_->setAccessibleName(QStringLiteral("Characters"));
  table_->setRootIsDecorated(false);
  table_->setAllColumnsShowFocus(true);
  table_->setUniformRowHeights(true);
  table_->setHeaderLabels({QStringLiteral("Position"),
                           QStringLiteral("Character"),
                           QStringLiteral("Encodes"),
                           QStringLiteral("In this VIN")});
  for (const CharacterMeaning &c : characters) {
    auto *item =
        new QTreeWidgetItem(table_, {QString::number(c.position), c.character, c.meaning, c.text});
    item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(1, Qt::AlignHCenter | Qt::AlignVCenter);
  }
  for (int column = 0; column < table_->columnCount(); ++column)
    table_->resizeColumnToContents(column);
  table_->setCurrentItem(table_->topLevelItem(0));
  int width = 2 * table_->frameWidth() + 24;
  for (int column = 0; column < table_->columnCount(); ++column)
    width += table_->columnWidth(column);
  const int rows = static_cast<int>(characters.size());
  table_->setMinimumSize(width,
                         table_->header()->sizeHint().height() + rows * table_->sizeHintForRow(0) +
                             2 * table_->frameWidth() + 4);
  layout->addWidget(table_);

  auto *buttons = new QDialogButtonBox(this);
  QPushButton *close = button(QStringLiteral("Close"), "close", this);
  buttons->addButton(close, QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  setTabOrder(table_, close);
  table_->setFocus();
}

void CharactersDialog::show_for(QWidget *parent, const QString &vin,
                                const QList<CharacterMeaning> &characters) {
  if (answer_for_tests) {
    answer_for_tests(characters);
    return;
  }
  keep_windows_normal();
  CharactersDialog dialog(vin, characters, parent);
  dialog.exec();
}

}  // namespace kordel::ui
