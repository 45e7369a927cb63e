// The Decode command's logic, free of widgets so that tests can drive it.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kordel::ui {

enum class VinScheme { thirteen, seventeen, invalid_length };

VinScheme scheme_of(const QString &vin);

// A VIN character read as a number: a digit gives its value, anything else 0.
std::int16_t digit_value(QChar c);

// Years the model-year prompt offers. Slot 0 is never used; slots a decode does
// not write keep what an earlier decode left there.
class CandidateYears {
 public:
  static constexpr std::size_t slot_count = 15;

  struct Settlement {
    bool prompt = false;
    std::int32_t model_year = 0;  // when there is no prompt
  };

  // Settles the year of a 13-character VIN from positions 4 (model digit) and 2.
  Settlement settle(const QString &vin);

  std::int16_t year(std::size_t slot) const { return slots_.at(slot); }
  // The slots this decode wrote, in slot order: what the prompt steps through.
  const std::vector<std::size_t> &written() const { return written_; }

 private:
  void write(std::size_t slot, std::int16_t year);

  std::array<std::int16_t, slot_count> slots_{};
  std::vector<std::size_t> written_;
};

// Steps the prompt through the written slots of one decode.
class YearStepper {
 public:
  explicit YearStepper(const CandidateYears &years);

  std::size_t slot() const;
  // Text shown at opening: the year of the first written slot with a leading blank.
  QString opening_text() const;
  // Both return the text to show, or nothing at the stop.
  std::optional<QString> down();
  std::optional<QString> up();

 private:
  QString year_text(bool leading_blank) const;

  const CandidateYears &years_;
  std::size_t index_ = 0;  // into the slots the decode wrote
};

// Reads a number the lenient way: blanks, tabs and line feeds are ignored, the
// longest leading decimal number counts, and anything else gives 0. The result is
// rounded to the nearest whole number, ties to even; one outside the 16-bit range
// gives 0, so that the library decides as for no year.
std::int32_t read_model_year(const QString &text);

// The caller-owned line buffers of one library call: 1000 characters each and a
// terminator, preset with "qoz" in line 1 and blanks elsewhere.
class LineBuffers {
 public:
  static constexpr int length = 1000;

  LineBuffers();
  char *data(std::size_t i) { return lines_.at(i).data(); }
  // A line's text up to its first NUL (all 1000 characters if it has none).
  QString text(std::size_t i) const;
  bool has_result() const;  // line 1 no longer begins with "qoz"

 private:
  std::array<QByteArray, 5> lines_;
};

// The VIN as 8-bit text: one byte per character (a character that 8 bits cannot
// hold becomes "?"), so the buffer holds exactly as many bytes as the VIN has
// characters, plus the terminator.
QByteArray vin_to_8bit(const QString &vin);

// The production number from the last six characters, if they are a number:
// counted from 100000, or from 700000 for sequence numbers from 700000 on.
std::optional<std::int32_t> production_number(const QString &vin);

// What the report prints before line 4: the production number (nothing for 0),
// or, when the last six characters are not a number (a plant letter in position 8
// of a 13-character VIN, say), those six characters as they stand.
QString production_text(const QString &vin);

// The report as the report box shows it, lines joined with CR LF.
QString compose_report(const QString &vin, const LineBuffers &lines);

}  // namespace kordel::ui
