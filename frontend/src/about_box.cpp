#include "about_box.h"

#include <QLabel>
#include <QPushButton>

#include "ui_fonts.h"

namespace kordel::ui {

// No parent: the box stays open, and keeps the program running, after the main
// window has closed.
AboutBox::AboutBox()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("form3"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("About"));
  setFixedSize(194, 190);
  setFont(program_font(8));

  label1_ = new QLabel(QStringLiteral("Kordel decoder\nversion 1.0\nwin 9*\n1/29/99"), this);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setGeometry(16, 0, 161, 121);
  label1_->setWordWrap(true);
  label1_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label1_->setFocusPolicy(Qt::NoFocus);

  command1_ = new QPushButton(QStringLiteral("&Ok"), this);
  command1_->setObjectName(QStringLiteral("Command1"));
  command1_->setGeometry(32, 152, 129, 33);
  command1_->setFocus();
  connect(command1_, &QPushButton::clicked, this, &QDialog::close);
}

}  // namespace kordel::ui
