// The writer of report lines, and the lines that both schemes write alike.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "decode.h"

namespace kordel {

// Appends texts to one report line, never past its capacity, and records its length.
class LineWriter {
 public:
  LineWriter(ReportLines &report, std::size_t index)
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

// Lines 2 to 4, which both schemes write alike: engine and transmission, the
// opening of the production sentence, and its end after the production number
// that the caller prints between line 3 and line 4. `Fields` is Vin13Fields or
// Vin17Fields; `suffix` is the ordinal suffix of the sequence number.
template <class Fields>
void write_shared_lines(const Fields &f, std::string_view suffix, ReportLines &report) {
  LineWriter(report, 1) << "Engine:" << f.engine << ". Trans:" << f.trans << ' ';
  LineWriter(report, 2) << "This was the ";
  LineWriter(report, 3) << suffix << " car ordered from the " << f.plant << " plant in " << f.year;
}

}  // namespace kordel
