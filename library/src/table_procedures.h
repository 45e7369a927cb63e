// The small procedures that run the code tables: row and check look-ups, the
// message of a failed check, the writer of report lines, the model decoder.
#pragma once

#include <algorithm>
#include <cstring>
#include <span>
#include <string_view>

#include "codes.h"
#include "decode.h"
#include "models13.h"

namespace kordel {

// The first row for `code` whose year-digit condition holds, or null.
constexpr const CodeRow *find_row(std::span<const CodeRow> rows, char code, char year_digit) {
  const auto row = std::find_if(rows.begin(), rows.end(), [&](const CodeRow &r) {
    return r.code == code && (r.year_digits.empty() || r.year_digits.contains(year_digit));
  });
  return row == rows.end() ? nullptr : &*row;
}

// The first check whose position holds a character outside its accepted set.
inline const Check *first_failure(std::span<const Check> checks, const char *vin) {
  const auto check = std::find_if(checks.begin(), checks.end(), [&](const Check &c) {
    return !c.accepted.contains(vin[c.position - 1]);
  });
  return check == checks.end() ? nullptr : &*check;
}

// The message a failed check shows.
constexpr Message failure_message(const Check &check) {
  const MessageKind kind = check.kind == FailureKind::stop_standard_output
                               ? MessageKind::standard_output
                               : MessageKind::box;
  return {kind,
          kind == MessageKind::box ? check.title : nullptr,
          check.message,
          check.position,
          check.accepted.chars(),
          check.kind == FailureKind::report_and_go_on};
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

namespace models13 {

// Runs one model decoder on a result whose vin_text is copied and whose fields are
// preset, as the dispatch leaves it.
void run_model_decoder(const ModelDecoder &model, Decode13Result &r);

// Copies, presets and runs one model decoder without the dispatch.
Decode13Result decode_with_model(const ModelDecoder &model, const char *vin);

}  // namespace models13
}  // namespace kordel
