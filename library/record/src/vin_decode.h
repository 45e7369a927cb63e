// One input VIN decoded for every model year it is tried with: what the text,
// JSON and CSV outputs all write from. No I/O, no allocation on the common path.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "decode.h"
#include "report.h"

namespace kordel::record {

enum class Status { decoded, rejected, unknown };

std::string_view status_name(Status status);

// The check digit as the federal VIN rule computes it over the upper-cased VIN.
struct CheckDigit {
  char given = '\0';                     // position 9, upper-cased
  std::optional<char> expected;          // none when a character is one the rule does not allow
  std::uint8_t disallowed_position = 0;  // the first such character, when there is one
  bool valid() const { return expected && *expected == given; }
};

// Computes the check digit of a 17-character VIN (upper- or lower-case).
CheckDigit check_digit_of(std::string_view vin17);

// One UTF-8 character of s, starting at byte i (< s.size()): its code point and
// the bytes it takes. A byte that starts no valid sequence is one U+FFFD.
struct CodePoint {
  char32_t value;
  std::size_t length;  // bytes taken
};
CodePoint next_code_point(std::string_view s, std::size_t i);

// A VIN as read from a line or a cell: without blanks (spaces, tabs) at either end
// and without a trailing CR.
std::string_view trim_vin(std::string_view text);

// Reads --year: 68-80 or 1968-1980, as the two-digit year; nothing otherwise.
std::optional<int> parse_model_year(std::string_view text);

// A field of a decode: its text without blanks at the ends, or nothing where the
// report shows "Error".
std::optional<std::string_view> field_text(std::string_view text);

struct Attempt {
  int model_year = 0;  // two-digit year handed to the decoder, 0 for none
  Status status = Status::unknown;
  const Messages *messages = nullptr;
  const Report *report = nullptr;
};

class VinDecode {
 public:
  static constexpr std::size_t max_attempts = 6;

  // model_year: 0 for every candidate, or a two-digit year 68-80 that --year picked.
  void decode(std::string_view vin, int model_year);

  // Records a VIN that is not decoded at all, with the reason.
  void refuse(std::string_view vin, std::string error);

  std::string_view vin() const { return vin_; }
  // Why no decode was tried (wrong length, unreadable, a year that is no candidate).
  const std::string &error() const { return error_; }
  bool decoded() const;  // a decode of some model year produced a report

  std::size_t attempt_count() const { return attempt_count_; }
  Attempt attempt(std::size_t i) const;
  bool ambiguous() const { return asked_; }  // candidates tried, one report each
  const Vin13Fields *fields13(std::size_t i) const;
  const Vin17Fields *fields17() const;
  const std::optional<CheckDigit> &check_digit() const { return check_digit_; }
  // The warning a check digit that does not match gets; empty when it matches.
  std::string check_digit_warning() const;
  // The check digit as UTF-8: upper-cased when ASCII, else the character as typed.
  std::string_view check_digit_given() const;
  std::optional<std::int32_t> production_number() const { return production_number_; }
  // The character at a 1-based position, as it stands in the input (UTF-8); a byte
  // that is not UTF-8 is U+FFFD, so that no output holds invalid UTF-8.
  std::string_view character(std::size_t position) const;

  // Appends the report of attempt i, lines joined with line_break (text and JSON).
  void append_report(std::string &out, std::size_t i, std::string_view line_break) const;
  // Room to put a report together while its record is built, kept from one record
  // to the next. Each decode has its own: a record built in the middle of another's
  // (from a Python finalizer) is built from another decode.
  std::string &scratch() const { return scratch_; }

 private:
  std::size_t read_characters(std::string_view vin, std::array<char32_t, 17> &code_points);
  void set_production(std::u32string_view characters, std::size_t count);
  void decode_years(std::u32string_view characters, int model_year);

  std::string_view vin_;
  mutable std::string scratch_;
  report::Scheme scheme_ = report::Scheme::invalid_length;
  std::string error_;
  char vin8_[18]{};                          // the VIN as 8-bit text, as the window hands it on
  std::array<std::uint32_t, 18> offsets_{};  // byte offset of each character, and the end
  std::size_t attempt_count_ = 0;
  bool asked_ = false;
  std::array<int, max_attempts> model_years_{};
  std::array<Decode13Result, max_attempts> results13_;
  Decode17Result result17_;
  std::optional<CheckDigit> check_digit_;
  std::optional<std::int32_t> production_number_;
  std::string production_text_;
};

}  // namespace kordel::record
