// The report's side of the Decode command, free of widgets so that tests can drive
// it: the line buffers handed to the library, the VIN as 8-bit text, and the report
// composed from what the library wrote (through the report composition the
// command line shares).
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <string_view>

#include "report.h"

namespace kordel::ui {

using VinScheme = report::Scheme;

VinScheme scheme_of(const QString &vin);

// Preset at the start of line 1 before a call: the library leaves line 1 alone
// when it produces no report, so a line 1 that still begins with it means no result.
inline constexpr std::string_view no_result_marker = "qoz";

// The caller-owned line buffers of one library call: 1000 characters each and a
// terminator, preset with no_result_marker in line 1 and blanks elsewhere.
class LineBuffers {
 public:
  static constexpr int length = 1000;

  LineBuffers();
  char *data(std::size_t i) { return lines_.at(i).data(); }
  // A line's text up to its first NUL (all 1000 characters if it has none).
  QString text(std::size_t i) const;
  bool has_result() const;  // line 1 no longer begins with no_result_marker

 private:
  std::array<QByteArray, 5> lines_;
};

// The VIN as 8-bit text: one byte per character (a character that 8 bits cannot
// hold becomes "?"), so the buffer holds exactly as many bytes as the VIN has
// characters, plus the terminator.
QByteArray vin_to_8bit(const QString &vin);

// What the report prints before line 4: the production number (nothing for 0),
// or, when the last six characters are not a number, those six characters.
QString production_text(const QString &vin);

// The report as the report box shows it, lines joined with CR LF.
QString compose_report(const QString &vin, const LineBuffers &lines);

}  // namespace kordel::ui
