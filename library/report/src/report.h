// The report a decode shows, composed once for the window and the command line:
// the length check, the model year a 13-character VIN settles, the production
// number and the report's lines. Plain C++ over any character type, so that the
// window works on its UTF-16 text and the command line on bytes or code points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kordel::report {

enum class Scheme { thirteen, seventeen, invalid_length };

constexpr Scheme scheme_of(std::size_t character_count) {
  if (character_count == 13) return Scheme::thirteen;
  if (character_count == 17) return Scheme::seventeen;
  return Scheme::invalid_length;
}

// The one message a VIN of the wrong length gets.
inline constexpr std::string_view length_message = "13 or 17 Characters only.";

// A VIN character read as a number: a digit gives its value, anything else 0.
template <class Char>
constexpr int digit_value(Char c) {
  return c >= Char('0') && c <= Char('9') ? static_cast<int>(c - Char('0')) : 0;
}

// How the model year of a 13-character VIN is settled: by the VIN itself
// (model_year, 0 where it names none), or by asking among the candidates.
struct YearSettlement {
  bool asks = false;
  std::int32_t model_year = 0;                 // when it does not ask
  std::span<const std::int16_t> candidates{};  // two-digit years, in the order offered
};

// From the model digit (position 4) and, where that matters, the year digit (position 2).
YearSettlement settle_model_year(int model_digit, int year_digit);

template <class Char>
YearSettlement settle_model_year(std::basic_string_view<Char> vin) {
  if (vin.size() < 4) return {};
  return settle_model_year(digit_value(vin[3]), digit_value(vin[1]));
}

// The production number from the last six characters, if they are a number:
// counted from 100000, or from 700000 for sequence numbers from 700000 on.
template <class Char>
std::optional<std::int32_t> production_number(std::basic_string_view<Char> vin) {
  if (vin.size() < 6) return std::nullopt;
  std::int32_t sequence = 0;
  for (Char c : vin.substr(vin.size() - 6)) {
    if (c < Char('0') || c > Char('9')) return std::nullopt;
    sequence = sequence * 10 + static_cast<std::int32_t>(c - Char('0'));
  }
  return sequence < 700000 ? sequence - 100000 : sequence - 700000;
}

// A production number as the report prints it: nothing for 0.
inline std::string production_number_text(std::int32_t number) {
  return number != 0 ? std::to_string(number) : std::string();
}

// What the report prints between line 3 and line 4: the production number
// (production_number_text), or, when the last six characters are not a number (a
// plant letter in position 8 of a 13-character VIN, say), those six characters as
// they stand.
template <class Char>
std::basic_string<Char> production_text(std::basic_string_view<Char> vin) {
  const std::optional<std::int32_t> number = production_number(vin);
  if (!number) return std::basic_string<Char>(vin.substr(vin.size() < 6 ? 0 : vin.size() - 6));
  const std::string digits = production_number_text(*number);
  return std::basic_string<Char>(digits.begin(), digits.end());
}

// The report: a header naming the VIN, then line 1, line 2, line 3 with the
// production text and line 4 behind it, and line 5 where `lines` holds five.
// `lines` holds the decoder's four or five lines; `line_break` joins the report's
// lines. Appends to `report`, so that a stream of reports reuses one buffer.
template <class Char>
void append_report(std::basic_string<Char> &report, std::basic_string_view<Char> vin,
                   std::basic_string_view<Char> production,
                   std::span<const std::basic_string_view<Char>> lines,
                   std::basic_string_view<Char> line_break) {
  const auto append_ascii = [&report](std::string_view ascii) {
    report.append(ascii.begin(), ascii.end());
  };
  append_ascii("Your VIN# of ");
  report += vin;
  append_ascii(" decodes as follows");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == 3)
      report += production;  // line 4 goes on behind line 3 and the number
    else
      report += line_break;
    report += lines[i];
  }
}

template <class Char>
std::basic_string<Char> compose_report(std::basic_string_view<Char> vin,
                                       std::basic_string_view<Char> production,
                                       std::span<const std::basic_string_view<Char>> lines,
                                       std::basic_string_view<Char> line_break) {
  std::basic_string<Char> report;
  append_report(report, vin, production, lines, line_break);
  return report;
}

}  // namespace kordel::report
