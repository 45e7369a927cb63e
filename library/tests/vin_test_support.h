// Small helpers shared by the core tests.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "decode.h"

namespace kordel::test {

// The VIN with the given 1-based positions replaced.
inline std::string with(std::string vin, std::initializer_list<std::pair<int, char>> changes) {
  for (auto [position, c] : changes) vin.at(static_cast<std::size_t>(position - 1)) = c;
  return vin;
}

inline std::string line(const ReportLines &report, std::size_t index) {
  return report.lines.at(index).data();
}

}  // namespace kordel::test
