// Building blocks of the code tables and the small procedures that read them.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "decode.h"

namespace kordel {

// A set of 8-bit characters, built at compile time from the string that lists
// them, so that a membership test is one bit test. It keeps that string, so that
// a message can say what a position accepts as the table writes it.
class CharSet {
 public:
  constexpr CharSet() = default;
  constexpr CharSet(const char *chars) : chars_(chars) {  // NOLINT: tables write sets as strings
    for (; *chars != '\0'; ++chars) add(*chars);
  }

  // The characters as the table lists them; empty for a complement.
  constexpr std::string_view chars() const { return chars_; }

  constexpr bool contains(char c) const {
    const auto u = static_cast<unsigned char>(c);
    return ((bits_[u >> 6] >> (u & 63)) & 1) != 0;
  }
  constexpr CharSet complement() const {
    CharSet set;
    for (std::size_t i = 0; i < bits_.size(); ++i) set.bits_[i] = ~bits_[i];
    return set;
  }
  constexpr bool empty() const {
    for (std::uint64_t word : bits_)
      if (word != 0) return false;
    return true;
  }

 private:
  constexpr void add(char c) {
    const auto u = static_cast<unsigned char>(c);
    bits_[u >> 6] |= std::uint64_t{1} << (u & 63);
  }
  std::array<std::uint64_t, 4> bits_{};
  std::string_view chars_;
};

// A character passes a check when it is one of the accepted set's characters.
constexpr bool accepts(const CharSet &accepted, char c) { return accepted.contains(c); }

enum class FailureKind : std::uint8_t {
  stop,                  // box titled "Error", decode ends
  stop_standard_output,  // text on standard output, decode ends
  report_and_go_on,      // box with the check's own title, checks go on
};

struct Check {
  std::uint8_t position;  // 1-based; 0 where the failure is not one character's
  CharSet accepted;
  const char *message;
  FailureKind kind = FailureKind::stop;
  const char *title = "Error";
};

// Fields of a 13-character decode that a code row may write besides its own.
enum class Field13 : std::uint8_t { none, model, series };

struct CodeRow {
  char code;
  std::string_view text;
  CharSet year_digits = {};  // the row holds for these year digits; empty: all
  Field13 also_writes = Field13::none;
  std::string_view also_text = {};
};

// The first row for `code` whose year-digit condition holds, or null.
constexpr const CodeRow *find_row(std::span<const CodeRow> rows, char code, char year_digit) {
  for (const CodeRow &row : rows)
    if (row.code == code && (row.year_digits.empty() || accepts(row.year_digits, year_digit)))
      return &row;
  return nullptr;
}

// The first check whose position holds a character outside its accepted set.
inline const Check *first_failure(std::span<const Check> checks, const char *vin) {
  for (const Check &check : checks)
    if (!accepts(check.accepted, vin[check.position - 1])) return &check;
  return nullptr;
}

// The message a failed check shows.
constexpr Message failure_message(const Check &check) {
  const MessageKind kind = check.kind == FailureKind::stop_standard_output
                               ? MessageKind::standard_output
                               : MessageKind::box;
  return {kind, kind == MessageKind::box ? check.title : nullptr, check.message,
          check.position, check.accepted.chars(), check.kind == FailureKind::report_and_go_on};
}

// Appends texts to one report line, never past its capacity, and records its length.
class LineWriter {
 public:
  LineWriter(Report &report, std::size_t index)
      : line_(report.lines[index]), recorded_length_(report.lengths[index]) {}
  ~LineWriter() {
    line_[length_] = '\0';
    recorded_length_ = length_;
  }
  LineWriter(const LineWriter &) = delete;
  LineWriter &operator=(const LineWriter &) = delete;

  LineWriter &operator<<(std::string_view text) {
    const std::size_t room = line_.size() - 1 - length_;
    const std::size_t n = text.size() < room ? text.size() : room;
    if (n != 0) std::memcpy(line_.data() + length_, text.data(), n);  // empty views may be null
    length_ += n;
    return *this;
  }
  LineWriter &operator<<(char c) {
    if (length_ + 1 < line_.size()) line_[length_++] = c;
    return *this;
  }

 private:
  Line &line_;
  std::size_t &recorded_length_;
  std::size_t length_ = 0;
};

}  // namespace kordel
