#include "year_prompt.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "controls.h"
#include "spin_button.h"
#include "ui_fonts.h"

namespace kordel::ui {

YearPrompt::YearPrompt(const CandidateYears &candidates, QWidget *parent)
    : QDialog(parent, fixed_frame(Qt::Dialog)), stepper_(candidates) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Year"));
  setFixedSize(180, 58);
  keep_windows_normal();

  century_label_ = new QLabel(QStringLiteral("19"), this);
  century_label_->setObjectName(QStringLiteral("Label1"));
  century_label_->setGeometry(8, 8, 41, 41);
  century_label_->setFont(program_font(24));

  year_box_ = new QLineEdit(stepper_.opening_text(), this);
  year_box_->setObjectName(QStringLiteral("Text1"));
  year_box_->setAccessibleName(QStringLiteral("Model year"));
  year_box_->setGeometry(48, 8, 65, 41);
  year_box_->setFont(program_font(24));

  year_arrows_ = new SpinButton(this);
  year_arrows_->setObjectName(QStringLiteral("SpinButton1"));
  year_arrows_->setAccessibleName(QStringLiteral("Step the model year"));
  year_arrows_->setGeometry(112, 8, 25, 41);

  ok_button_ = new CommandButton(QStringLiteral("&Ok"), this);
  ok_button_->setObjectName(QStringLiteral("Command1"));
  ok_button_->setGeometry(136, 8, 33, 41);
  ok_button_->setDefault(true);  // Enter confirms, also after typing a year

  // The spin button takes the arrow keys itself; Ok and the year box would not.
  ok_button_->installEventFilter(this);
  year_box_->installEventFilter(this);

  setTabOrder(ok_button_, year_arrows_);
  setTabOrder(year_arrows_, year_box_);
  ok_button_->setFocus();

  connect(year_arrows_, &SpinButton::down, this, [this] { step(stepper_.down()); });
  connect(year_arrows_, &SpinButton::up, this, [this] { step(stepper_.up()); });
  connect(ok_button_, &QPushButton::clicked, this, &YearPrompt::confirm);

  if (parent != nullptr) {
    const QRect area = parent->window()->frameGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
}

bool YearPrompt::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      step(key == Qt::Key_Up ? stepper_.up() : stepper_.down());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void YearPrompt::step(std::optional<QString> text) {
  if (!text) return;
  year_box_->setText(*text);
  ok_button_->setFocus();
}

void YearPrompt::confirm() {
  model_year_ = read_model_year(year_box_->text());
  accept();
}

}  // namespace kordel::ui
