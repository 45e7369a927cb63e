#include "report_output.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>

namespace kordel::ui {

QByteArray saved_report(const QString &report) {
  return QByteArray("\"") + report.toLocal8Bit() + QByteArray("\"\r\n");
}

namespace {

std::optional<QString> write_directly(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return file.errorString();
  if (file.write(bytes) != bytes.size() || !file.flush()) return file.errorString();
  file.close();
  if (file.error() != QFileDevice::NoError) return file.errorString();
  return std::nullopt;
}

}  // namespace

std::optional<QString> save_report(const QString &path, const QString &report) {
  const QByteArray bytes = saved_report(report);
  // A device or pipe cannot be replaced by a new file: write to it directly.
  const QFileInfo target(path);
  if (target.exists() && !target.isFile()) return write_directly(path, bytes);

  // Unbuffered, a write error shows at write(): a buffered QSaveFile can lose it in
  // the flush of commit() and then put a cut-short file in place of the old one.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
  if (file.write(bytes) != bytes.size() || file.error() != QFileDevice::NoError) {
    const QString reason = file.errorString();
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) return file.errorString();
  return std::nullopt;
}

std::optional<QString> render_report(QPrinter *printer, const QString &report) {
  QPainter painter;
  if (!painter.begin(printer)) return QStringLiteral("The printer could not be started.");

  const QFontMetrics metrics(painter.font(), painter.device());
  const int page_height = painter.viewport().height();
  int y = 0;
  for (const QString &line : report.split(QStringLiteral("\r\n"))) {
    if (y + metrics.height() > page_height && y > 0) {
      if (!printer->newPage()) return QStringLiteral("The printer could not start a new page.");
      y = 0;
    }
    painter.drawText(0, y + metrics.ascent(), line);
    y += metrics.lineSpacing();
  }
  if (!painter.end()) return QStringLiteral("The printer could not finish the document.");
  if (printer->printerState() == QPrinter::Error)
    return QStringLiteral("The printer reported an error.");
  return std::nullopt;
}

}  // namespace kordel::ui
