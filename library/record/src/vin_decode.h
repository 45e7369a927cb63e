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

// decoded: a report in which every field its scheme names was found, without a
// decoder message; incomplete: a report, but a field not found (an unknown code
// the report shows as "Error") or a decoder message given; rejected: a decoder
// message and no report; unknown: neither.
enum class Status { decoded, incomplete, rejected, unknown };

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

// The character that stands for one nobody can read: "?", also typed as "*" or "_".
inline constexpr char unreadable = '?';

// The VIN as every front end reads it, into `out`: blanks (spaces, tabs, no-break
// spaces) and dashes dropped wherever they stand, a-z taken as A-Z, "*" and "_"
// as "?"; any other character kept as it is.
void read_vin(std::string_view text, std::string &out);

// The most bytes a VIN's line or cell may hold: a longer one is not a VIN, and
// is named by its first 32 bytes.
inline constexpr std::size_t max_vin_bytes = 1024;
inline constexpr std::size_t long_line_name_bytes = 32;

// The model years a 13-character VIN is decoded for, as two digits; a caller
// gives one as these or as 1900 + these (68-80 or 1968-1980).
inline constexpr int first_model_year = 68;
inline constexpr int last_model_year = 80;

// The ways a model year may be given, for messages: "68-80 or 1968-1980".
std::string model_year_forms();

// Why a model year given is refused: "model year 1999 is not one of 68-80 or 1968-1980".
std::string model_year_refusal(int year);

// Reads --year: 68-80 or 1968-1980, as the two-digit year; nothing otherwise.
std::optional<int> parse_model_year(std::string_view text);

// A field of a decode: its text without blanks at the ends, or nothing where the
// report shows "Error".
std::optional<std::string_view> field_text(std::string_view text);

// The names of the fields a report did not find (its "Error"), in `fields` order.
struct MissingFields {
  std::array<std::string_view, 11> names{};
  std::size_t count = 0;
  const std::string_view *begin() const { return names.data(); }
  const std::string_view *end() const { return names.data() + count; }
  bool empty() const { return count == 0; }
};

struct Result {
  int model_year = 0;  // two-digit year handed to the decoder, 0 for none
  Status status = Status::unknown;
  const Messages *messages = nullptr;
  const ReportLines *report = nullptr;
};

class VinDecode {
 public:
  static constexpr std::size_t max_results = 6;

  // model_year: 0 for every candidate, or a two-digit year 68-80 that --year picked.
  void decode(std::string_view vin, int model_year);

  // Records a VIN that is not decoded at all, with the reason.
  void refuse(std::string_view vin, std::string error);
  // Records a line of more than max_vin_bytes, given its start: named by its first
  // bytes, refused as the wrong length. decode() does the same for such a text.
  void refuse_long_line(std::string_view start);

  // The VIN as given, and as read (read_vin()): what was decoded and what the
  // report, the positions and the suggestions speak of.
  std::string_view vin() const { return vin_; }
  std::string_view read() const { return read_; }
  // Why no decode was tried (wrong length, unreadable, a year that is no candidate).
  const std::string &error() const { return error_; }
  bool decoded() const;  // a decode of some model year produced a report
  // A report to trust: some model year decoded (status decoded) and no warning.
  bool clean() const;

  std::size_t result_count() const { return result_count_; }
  Result result(std::size_t i) const;
  bool ambiguous() const { return asked_; }  // candidates tried, one report each
  const Vin13Fields *fields13(std::size_t i) const;
  const Vin17Fields *fields17() const;
  // The decoder's own result for result i of a 13-character VIN.
  const Decode13Result &result13(std::size_t i) const { return results13_[i]; }
  const std::optional<CheckDigit> &check_digit() const { return check_digit_; }
  // The warning a check digit that does not match gets; empty when it matches.
  std::string check_digit_warning() const;
  // The warning a 13-character VIN gets whose sequence number (positions 9-13)
  // holds anything but digits; empty otherwise. The report prints it as it stands.
  std::string sequence_warning() const;
  // The record's warnings: the check-digit warning, then the sequence warning.
  template <class F>
  void for_each_warning(F &&f) const {
    if (check_digit_ && !check_digit_->valid()) f(std::string_view(check_digit_warning()));
    if (sequence_doubtful()) f(std::string_view(sequence_warning()));
  }
  // The fields result i did not find; empty unless its status is incomplete.
  MissingFields missing_fields(std::size_t i) const;
  // Why result i is incomplete, in words ("body not found"); empty when it is not.
  std::string incomplete_reason(std::size_t i) const;
  // The check digit as UTF-8: upper-cased when ASCII, else the character as typed.
  std::string_view check_digit_given() const;
  std::optional<std::int32_t> production_number() const { return production_number_; }
  // The production number as the report prints it (report::production_text), in
  // the bytes of the VIN as read.
  std::string_view production_text() const { return production_text_; }
  // The character at a 1-based position, as it stands in the input (UTF-8); a byte
  // that is not UTF-8 is U+FFFD, so that no output holds invalid UTF-8.
  std::string_view character(std::size_t position) const;

  // Appends the report of result i, lines joined with line_break (text and JSON).
  void append_report(std::string &out, std::size_t i, std::string_view line_break) const;
  // Room to put a report together while its record is built, kept from one record
  // to the next. Each decode has its own: a record built in the middle of another's
  // (from a Python finalizer) is built from another decode.
  std::string &scratch() const { return scratch_; }

 private:
  std::size_t read_characters(std::string_view vin, std::array<char32_t, 17> &code_points);
  void set_production(std::u32string_view characters, std::size_t count);
  void decode_years(std::u32string_view characters, int model_year);
  std::size_t result_report_lines(std::size_t i) const;
  bool sequence_doubtful() const;  // a 13-character sequence number not all digits
  void set_statuses();             // once a decode is done: result() reads them

  std::string_view vin_;
  std::string read_;
  mutable std::string scratch_;
  report::Scheme scheme_ = report::Scheme::invalid_length;
  std::string error_;
  char vin8_[18]{};                          // the VIN as 8-bit text, as the window hands it on
  std::array<std::uint32_t, 18> offsets_{};  // byte offset of each character, and the end
  std::size_t result_count_ = 0;
  bool asked_ = false;
  std::array<int, max_results> model_years_{};
  std::array<Status, max_results> statuses_{};
  std::array<Decode13Result, max_results> results13_;
  Decode17Result result17_;
  std::optional<CheckDigit> check_digit_;
  std::optional<std::int32_t> production_number_;
  std::string production_text_;
};

}  // namespace kordel::record
