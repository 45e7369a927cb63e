// The window's pictures, drawn at run time at the screen's pixel density, and its
// icon, rendered from the program's SVG icon.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QWidget>

#include <functional>

namespace kordel::ui::artwork {

// Paints a picture into a rectangle of the given size, in device-independent pixels.
using Drawing = std::function<void(QPainter &painter, QSize size)>;

Drawing tile(int index);  // one of the sixteen frame tiles
Drawing banner();         // the banner across the top
QIcon window_icon();      // 16 to 256 pixels
QColor ground_colour();   // behind the pictures

// The drawing rendered for a screen of this device pixel ratio: a pixmap of
// size × ratio pixels that covers size device-independent pixels.
QPixmap render(const Drawing &drawing, QSize size, qreal device_pixel_ratio);

// A picture that draws itself at its screen's device pixel ratio, so that it stays
// sharp on scaled screens and follows the window to a screen of another ratio.
class Picture : public QWidget {
  Q_OBJECT
 public:
  Picture(Drawing drawing, QWidget *parent);

  // What it shows at its current device pixel ratio.
  QPixmap pixmap() const;

 protected:
  void paintEvent(QPaintEvent *event) override;

 private:
  Drawing drawing_;
  mutable QPixmap rendered_;
  mutable QSize rendered_for_;  // in device-independent pixels
};

}  // namespace kordel::ui::artwork
