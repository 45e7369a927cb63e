// Saving and printing the report.
#pragma once

#include <QString>

#include <optional>

class QPrinter;

namespace kordel::ui {

// The saved form: a double quote, the report, a double quote, CR LF; 8-bit text in
// the locale's encoding.
QByteArray saved_report(const QString &report);

// Writes the report to path. An existing file is rewritten in place (its owner,
// permissions and hard links stay), and only once it is sure to take the whole
// report; a character device is written as it is; a pipe or socket is refused.
// Returns the reason when it fails; an old file is then left whole.
std::optional<QString> save_report(const QString &path, const QString &report);

// Prints the report line for line in the printer's default font, page after page.
// Returns the reason when it fails.
std::optional<QString> render_report(QPrinter *printer, const QString &report);

}  // namespace kordel::ui
