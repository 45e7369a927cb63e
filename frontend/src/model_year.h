// The model-year prompt's logic, free of widgets so that tests can drive it: the
// candidate years of a 13-character VIN, stepping through them, reading a typed year.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <span>

namespace kordel::ui {

// The years the prompt offers for the VIN of the latest decode, in the order it
// offers them.
class CandidateYears {
 public:
  struct Settlement {
    bool prompt = false;
    std::int32_t model_year = 0;  // when there is no prompt
  };

  // Settles the year of a 13-character VIN from positions 4 (model digit) and 2.
  Settlement settle(const QString &vin);

  std::span<const std::int16_t> years() const { return years_; }

 private:
  std::span<const std::int16_t> years_;
};

// Steps the prompt through the candidate years of one decode.
class YearStepper {
 public:
  explicit YearStepper(const CandidateYears &years);

  // The place of the shown year among the candidates, counted from 1.
  std::size_t slot() const { return index_ + 1; }
  // Text shown at opening: the first candidate with a leading blank.
  QString opening_text() const;
  // Both return the text to show, or nothing at the stop.
  std::optional<QString> down();
  std::optional<QString> up();

 private:
  QString year_text(bool leading_blank) const;

  const CandidateYears &years_;
  std::size_t index_ = 0;
};

// Reads a number the lenient way: blanks, tabs and line feeds are ignored, the
// longest leading decimal number counts, and anything else gives 0. The result is
// rounded to the nearest whole number, ties to even; one outside the 16-bit range
// gives 0, so that the library decides as for no year.
std::int32_t read_model_year(const QString &text);

}  // namespace kordel::ui
