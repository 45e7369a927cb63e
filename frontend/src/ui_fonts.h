#pragma once

#include <QFont>

namespace kordel::ui {

// The program's sans-serif face at a point size: Liberation Sans, whose narrow
// figures let a whole 17-character VIN show in the VIN box.
inline QFont program_font(double point_size, bool bold = false) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(point_size);
  font.setBold(bold);
  return font;
}

}  // namespace kordel::ui
