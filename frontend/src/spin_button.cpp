#include "spin_button.h"

#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace kordel::ui {

SpinButton::SpinButton(QWidget *parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);  // the arrow keys step while it has the focus
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);  // room for the focus frame around the arrows
  layout->setSpacing(0);
  for (auto [button, arrow, name, spoken] : {std::tuple{&up_, Qt::UpArrow, "up", "Up"},
                                             std::tuple{&down_, Qt::DownArrow, "down", "Down"}}) {
    *button = new QToolButton(this);
    (*button)->setArrowType(arrow);
    (*button)->setObjectName(QLatin1String(name));
    (*button)->setAccessibleName(QLatin1String(spoken));
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

// A frame in the highlight colour while it has the focus, however the focus came:
// the style's own focus frame shows only after keyboard navigation.
void SpinButton::paintEvent(QPaintEvent * /*event*/) {
  if (!hasFocus()) return;
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
  painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

}  // namespace kordel::ui
