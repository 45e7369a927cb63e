#include "spin_button.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace kordel::ui {

SpinButton::SpinButton(QWidget *parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);  // the arrow keys step while it has the focus
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (auto [button, arrow, name] :
       {std::tuple{&up_, Qt::UpArrow, "up"}, std::tuple{&down_, Qt::DownArrow, "down"}}) {
    *button = new QToolButton(this);
    (*button)->setArrowType(arrow);
    (*button)->setObjectName(QLatin1String(name));
    (*button)->setFocusPolicy(Qt::NoFocus);
    (*button)->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(*button);
  }
  connect(up_, &QToolButton::clicked, this, &SpinButton::up);
  connect(down_, &QToolButton::clicked, this, &SpinButton::down);
}

void SpinButton::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Up)
    emit up();
  else if (event->key() == Qt::Key_Down)
    emit down();
  else
    QWidget::keyPressEvent(event);
}

}  // namespace kordel::ui
