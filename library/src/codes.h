// Building blocks of the code tables: character sets, checks and code rows.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

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

// For the compile-time checks beside the tables: every text of the rows leaves
// room for the terminator in a field of `capacity` bytes.
constexpr bool texts_fit(std::span<const CodeRow> rows, std::size_t capacity) {
  // std::all_of rather than its ranges form, which the libc++ of Debian's emscripten lacks.
  return std::all_of(
      rows.begin(), rows.end(), [&](const CodeRow &row) { return row.text.size() < capacity; });
}

}  // namespace kordel
