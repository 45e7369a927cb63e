#include "artwork.h"

#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <cmath>
#include <memory>
#include <utility>

namespace kordel::ui::artwork {

namespace {

const QColor night(18, 28, 52);
const QColor steel(44, 66, 104);
const QColor chrome(214, 222, 232);
const QColor signal_red(196, 40, 36);

// A side view of a long-hood two-door coupe, fitted into the rectangle.
QPainterPath coupe(const QRectF &r) {
  const auto p = [&](double x, double y) {
    return QPointF(r.left() + x * r.width(), r.top() + y * r.height());
  };
  QPainterPath body;
  body.moveTo(p(0.02, 0.78));
  body.lineTo(p(0.02, 0.58));
  body.cubicTo(p(0.04, 0.50), p(0.20, 0.48), p(0.30, 0.46));
  body.cubicTo(p(0.38, 0.22), p(0.48, 0.18), p(0.62, 0.20));
  body.cubicTo(p(0.72, 0.22), p(0.80, 0.38), p(0.86, 0.44));
  body.cubicTo(p(0.94, 0.46), p(0.98, 0.52), p(0.98, 0.60));
  body.lineTo(p(0.98, 0.78));
  body.closeSubpath();
  return body;
}

void wheel(QPainter &painter, QPointF centre, double radius) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(12, 12, 14));
  painter.drawEllipse(centre, radius, radius);
  painter.setBrush(chrome);
  painter.drawEllipse(centre, radius * 0.5, radius * 0.5);
}

}  // namespace

QColor ground_colour() { return night; }

namespace {

void draw_tile(QPainter &painter, int index, QSize size) {
  painter.setRenderHint(QPainter::Antialiasing);

  QLinearGradient ground(0, 0, 0, size.height());
  ground.setColorAt(0, steel.lighter(100 + (index % 4) * 6));
  ground.setColorAt(1, night);
  painter.fillRect(QRect(QPoint(0, 0), size), ground);

  // Diagonal chrome and red pinstripes, offset per tile so that neighbours continue.
  const int offset = (index * 37) % 60;
  for (int x = -size.height() - offset; x < size.width() + size.height(); x += 60) {
    painter.setPen(QPen(QColor(chrome.red(), chrome.green(), chrome.blue(), 60), 6));
    painter.drawLine(x, size.height(), x + size.height(), 0);
    painter.setPen(QPen(QColor(signal_red.red(), signal_red.green(), signal_red.blue(), 90), 2));
    painter.drawLine(x + 9, size.height(), x + 9 + size.height(), 0);
  }
}

void draw_banner(QPainter &painter, QSize size) {
  painter.setRenderHint(QPainter::Antialiasing);

  QLinearGradient sky(0, 0, 0, size.height());
  sky.setColorAt(0, night);
  sky.setColorAt(0.7, steel);
  sky.setColorAt(1, night);
  painter.fillRect(QRect(QPoint(0, 0), size), sky);

  // Road line and a coupe on the right.
  painter.setPen(QPen(chrome, 2));
  painter.drawLine(0, size.height() - 14, size.width(), size.height() - 14);
  const QRectF car(
      size.width() * 0.60, size.height() * 0.22, size.width() * 0.36, size.height() * 0.66);
  QLinearGradient paint(car.topLeft(), car.bottomLeft());
  paint.setColorAt(0, signal_red.lighter(130));
  paint.setColorAt(1, signal_red.darker(150));
  painter.setPen(QPen(chrome, 1.5));
  painter.setBrush(paint);
  painter.drawPath(coupe(car));
  wheel(painter,
        QPointF(car.left() + car.width() * 0.22, car.bottom() - car.height() * 0.20),
        car.height() * 0.16);
  wheel(painter,
        QPointF(car.left() + car.width() * 0.80, car.bottom() - car.height() * 0.20),
        car.height() * 0.16);

  // The program's name in chrome letters.
  QFont font(QStringLiteral("DejaVu Sans"), 30, QFont::Black);
  font.setItalic(true);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 3);
  painter.setFont(font);
  const QRectF name(18, 14, size.width() * 0.58, size.height() * 0.56);
  QLinearGradient shine(name.topLeft(), name.bottomLeft());
  shine.setColorAt(0, Qt::white);
  shine.setColorAt(0.5, chrome);
  shine.setColorAt(0.51, QColor(120, 132, 150));
  shine.setColorAt(1, chrome);
  painter.setPen(QPen(QBrush(shine), 1));
  painter.drawText(name, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KORDEL"));
  QFont small(QStringLiteral("DejaVu Sans"), 9, QFont::Bold);
  small.setLetterSpacing(QFont::AbsoluteSpacing, 2);
  painter.setFont(small);
  painter.setPen(chrome);
  painter.drawText(QRectF(22, name.bottom() - 4, size.width() * 0.58, 20),
                   Qt::AlignLeft,
                   QStringLiteral("VIN DECODER  1968 - 1988"));
}

}  // namespace

Drawing tile(int index) {
  return [index](QPainter &painter, QSize size) { draw_tile(painter, index, size); };
}

Drawing banner() { return draw_banner; }

QPixmap render(const Drawing &drawing, QSize size, qreal device_pixel_ratio) {
  QPixmap pixmap(QSize(static_cast<int>(std::ceil(size.width() * device_pixel_ratio)),
                       static_cast<int>(std::ceil(size.height() * device_pixel_ratio))));
  pixmap.setDevicePixelRatio(device_pixel_ratio);
  QPainter painter(&pixmap);
  drawing(painter, size);
  return pixmap;
}

Picture::Picture(Drawing drawing, QWidget *parent) : QWidget(parent), drawing_(std::move(drawing)) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // it covers itself whole
}

QPixmap Picture::pixmap() const {
  const qreal ratio = devicePixelRatioF();
  if (rendered_.isNull() || rendered_.devicePixelRatio() != ratio || rendered_for_ != size()) {
    rendered_ = artwork::render(drawing_, size(), ratio);
    rendered_for_ = size();
  }
  return rendered_;
}

void Picture::paintEvent(QPaintEvent * /*event*/) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, pixmap());
}

namespace {

// The window icon, drawn from the SVG at each size asked for and only then: the
// window system asks for a few small sizes when the window is shown, a task
// switcher may ask for a large one later.
class SvgIcon : public QIconEngine {
 public:
  SvgIcon()
      : svg_(std::make_shared<QSvgRenderer>(QStringLiteral(":/icons/org.kordel.Kordel.svg"))) {}

  QIconEngine *clone() const override { return new SvgIcon(*this); }

  // The sizes an X11 window manager receives with the window (_NET_WM_ICON).
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
  }

  QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override {
    const QString key = QStringLiteral("kordel-icon-%1x%2").arg(size.width()).arg(size.height());
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
      pixmap = QPixmap(size);
      pixmap.fill(Qt::transparent);
      QPainter painter(&pixmap);
      painter.setRenderHint(QPainter::Antialiasing);
      svg_->render(&painter);
      painter.end();
      QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
  }

  void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect,
                        pixmap(rect.size() * painter->device()->devicePixelRatio(), mode, state));
  }

 private:
  std::shared_ptr<QSvgRenderer> svg_;
};

}  // namespace

QIcon window_icon() {
  // The same SVG file that is installed into the icon theme, compiled in.
  static const QIcon icon(new SvgIcon);
  return icon;
}

}  // namespace kordel::ui::artwork
