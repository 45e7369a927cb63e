// The writer of report lines.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "decode.h"

namespace kordel {

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
