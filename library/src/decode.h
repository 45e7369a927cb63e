// The pure decoding core: one VIN in, one result value out, no I/O.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "kordel.h"

namespace kordel {

// Room for the longest report line the tables can produce, with its terminator.
inline constexpr std::size_t line_capacity = KORDEL_LINE_CAPACITY;

// Field capacities in bytes, terminator included. Texts are fixed literals, so a
// capacity is a bound the tables must respect rather than storage that is copied.
namespace capacity13 {
inline constexpr std::size_t year = 20, trans = 35, model = 30, body = 35,
                             series = 45,  // widened to hold the longest Javelin series
    engine = 30, plant = 30;
}
namespace capacity17 {
inline constexpr std::size_t vehicle_type = 40, engine = 40, trans = 40, model = 40,
                             restraints = 40, year = 6, plant = 30;
}

enum class MessageKind : std::uint8_t {
  box,              // a modal message box with a title and an OK button
  standard_output,  // the text and one line break on the standard output stream
};

// position is where the character at fault stands, also where the text counts
// positions otherwise; a message about the model year names none.
struct Message {
  MessageKind kind;
  const char *title;  // null for standard-output messages
  const char *text;
  std::uint8_t position = 0;       // the VIN position the message names, 1-based; 0 for none
  std::string_view accepted = {};  // the characters that position accepts, in table order
  bool goes_on = false;            // the decode went on after this message
};

// At most two messages per decode: a report-and-go-on box and one stop.
struct Messages {
  std::array<Message, 2> items{};
  std::size_t count = 0;

  void add(Message message) {
    if (count < items.size()) items[count++] = message;
  }
  const Message *begin() const { return items.data(); }
  const Message *end() const { return items.data() + count; }
};

using Line = std::array<char, line_capacity>;

// Only the first line_count lines hold text; the rest are left uninitialised, as
// clearing 700 bytes a call would cost more than the decode itself.
struct ReportLines {
  std::array<Line, 5> lines;
  std::array<std::size_t, 5> lengths;  // without the terminator
  std::size_t line_count = 0;          // 0 when the decode produced no report
};

struct Vin13Fields {
  std::string_view make, year, trans, model, body, series, engine, plant;
};

struct Vin17Fields {
  std::string_view make, vehicle_type, engine, trans, model, restraints;
  char check_digit = '\0';
  std::string_view year, plant;
};

struct Decode13Result {
  // What process_13 returns: 0 while no model decoder has run and no message was
  // shown (the codes name no model line), 1 once either happened.
  int return_code = 0;
  char vin_text[14]{};  // upper-cased copy; missing positions hold '\0'
  Vin13Fields vin13_fields;
  Messages messages;
  ReportLines report;
};

struct Decode17Result {
  int return_code = 1;  // what process_17 returns: always 1
  char vin17_text[18]{};
  Vin17Fields vin17_fields;
  Messages messages;
  ReportLines report;
};

// vin must not be null; it is read up to its terminator or the scheme's length.
Decode13Result decode_13(int model_year, const char *vin);
Decode17Result decode_17(const char *vin);

// a-z as A-Z, any other byte as it is: how every VIN is upper-cased.
constexpr char upper_case(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Upper-cased copy of the first `length` characters of vin. Positions beyond the
// end of a shorter text hold '\0', which no accepted set contains.
void copy_vin(const char *vin, char *copy, std::size_t length);

// "st", "nd", "rd" or "th" from the last two positions of the sequence number;
// empty when the units position is not a digit (and the tens is not "1").
std::string_view ordinal_suffix(char tens, char units);

}  // namespace kordel
