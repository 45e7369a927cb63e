#include "year_prompt.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "spin_button.h"
#include "ui_fonts.h"

namespace kordel::ui {

YearPrompt::YearPrompt(const CandidateYears &candidates, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      stepper_(candidates) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Year"));
  setFixedSize(180, 58);

  label1_ = new QLabel(QStringLiteral("19"), this);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setGeometry(8, 8, 41, 41);
  label1_->setFont(program_font(24));

  text1_ = new QLineEdit(stepper_.opening_text(), this);
  text1_->setObjectName(QStringLiteral("Text1"));
  text1_->setGeometry(48, 8, 65, 41);
  text1_->setFont(program_font(24));

  spin_button1_ = new SpinButton(this);
  spin_button1_->setObjectName(QStringLiteral("SpinButton1"));
  spin_button1_->setGeometry(112, 8, 25, 41);

  command1_ = new QPushButton(QStringLiteral("&Ok"), this);
  command1_->setObjectName(QStringLiteral("Command1"));
  command1_->setGeometry(136, 8, 33, 41);
  command1_->setDefault(true);  // Enter confirms, also after typing a year

  setTabOrder(command1_, spin_button1_);
  setTabOrder(spin_button1_, text1_);
  command1_->setFocus();

  connect(spin_button1_, &SpinButton::down, this, [this] { step(stepper_.down()); });
  connect(spin_button1_, &SpinButton::up, this, [this] { step(stepper_.up()); });
  connect(command1_, &QPushButton::clicked, this, &YearPrompt::confirm);

  if (parent != nullptr) {
    const QRect area = parent->window()->frameGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
}

void YearPrompt::step(std::optional<QString> text) {
  if (!text) return;
  text1_->setText(*text);
  command1_->setFocus();
}

void YearPrompt::confirm() {
  model_year_ = read_model_year(text1_->text());
  accept();
}

}  // namespace kordel::ui
