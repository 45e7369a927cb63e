// The window's pictures, drawn at run time, and its icon, rendered from the
// program's SVG icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace kordel::ui::artwork {

QPixmap tile(int index, QSize size);  // one of the sixteen frame tiles
QPixmap banner(QSize size);           // the banner across the top
QIcon window_icon();                  // 16 to 256 pixels
QColor ground_colour();               // behind the pictures

}  // namespace kordel::ui::artwork
