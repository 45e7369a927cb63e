// The window's pictures and icon, drawn at run time.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace kordel::ui::artwork {

QPixmap tile(int index, QSize size);  // one of the sixteen frame tiles
QPixmap banner(QSize size);           // the banner across the top
QIcon window_icon();                  // 48 x 48
QColor ground_colour();               // behind the pictures

}  // namespace kordel::ui::artwork
