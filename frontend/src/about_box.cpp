#include "about_box.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

#include "controls.h"
#include "ui_fonts.h"

namespace kordel::ui {

namespace {

// A plain QWidget window is a "filler" to screen readers, which may then not
// announce it; the about box is a window of its own.
QAccessibleInterface *about_box_interface(const QString & /*class_name*/, QObject *object) {
  auto *box = qobject_cast<AboutBox *>(object);
  return box != nullptr ? new QAccessibleWidget(box, QAccessible::Window) : nullptr;
}

}  // namespace

// No parent: the box stays open, and keeps the program running, after the main
// window has closed.
AboutBox::AboutBox() : QWidget(nullptr, fixed_frame(Qt::Window)) {
  setObjectName(QStringLiteral("form3"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("About"));
  setFixedSize(194, 190);
  setFont(program_font(8));
  keep_windows_normal();
  static const bool spoken_as_window = (QAccessible::installFactory(about_box_interface), true);
  Q_UNUSED(spoken_as_window);

  about_text_ = new QLabel(QStringLiteral("Kordel decoder\nversion 1.0\nwin 9*\n1/29/99"), this);
  about_text_->setObjectName(QStringLiteral("Label1"));
  about_text_->setGeometry(16, 0, 161, 121);
  about_text_->setWordWrap(true);
  about_text_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  about_text_->setFocusPolicy(Qt::NoFocus);

  ok_button_ = new CommandButton(QStringLiteral("&Ok"), this);
  ok_button_->setObjectName(QStringLiteral("Command1"));
  ok_button_->setGeometry(32, 152, 129, 33);
  ok_button_->setFocus();
  connect(ok_button_, &QPushButton::clicked, this, &QWidget::close);
}

}  // namespace kordel::ui
