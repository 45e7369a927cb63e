#include "decode_report.h"

#include <cstring>
#include <string_view>

namespace kordel::ui {
namespace {

std::u16string_view utf16(const QString &text) {
  return {reinterpret_cast<const char16_t *>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QString to_qstring(const std::u16string &text) {
  return QString(reinterpret_cast<const QChar *>(text.data()), static_cast<qsizetype>(text.size()));
}

}  // namespace

VinScheme scheme_of(const QString &vin) {
  return report::scheme_of(static_cast<std::size_t>(vin.size()));
}

LineBuffers::LineBuffers() {
  for (QByteArray &line : lines_) {
    line = QByteArray(length + 1, ' ');
    line[length] = '\0';
  }
  std::memcpy(lines_[0].data(), no_result_marker.data(), no_result_marker.size());
}

QString LineBuffers::text(std::size_t i) const {
  const QByteArray &line = lines_.at(i);
  const auto *nul = static_cast<const char *>(std::memchr(line.constData(), '\0', length));
  return QString::fromLatin1(line.constData(), nul ? nul - line.constData() : length);
}

bool LineBuffers::has_result() const {
  return !lines_[0].startsWith(QByteArrayView(no_result_marker.data(), no_result_marker.size()));
}

QByteArray vin_to_8bit(const QString &vin) {
  QByteArray bytes;
  bytes.reserve(vin.size() + 1);
  for (QChar c : vin) bytes.append(c.unicode() <= 0xff ? static_cast<char>(c.unicode()) : '?');
  return bytes;  // QByteArray keeps a terminator behind its data
}

QString production_text(const QString &vin) {
  return to_qstring(report::production_text(utf16(vin)));
}

QString compose_report(const QString &vin, const LineBuffers &lines) {
  std::array<QString, 5> texts;
  std::array<std::u16string_view, 5> views;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    texts[i] = lines.text(i);
    views[i] = utf16(texts[i]);
  }
  const std::u16string production = report::production_text(utf16(vin));
  return to_qstring(report::compose_report<char16_t>(utf16(vin), production, views, u"\r\n"));
}

}  // namespace kordel::ui
