#include "csv_dialect.h"

#include <array>
#include <cstdint>
#include <vector>

#include "decode.h"

namespace kordel::record {
namespace {

// The code points of Windows-1252's bytes 0x80 to 0x9F; the rest are Latin-1's.
constexpr std::array<char16_t, 32> high_1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The length of the UTF-8 sequence starting at text[i], 0 when it is not one; `cut`
// is set when it is a valid start cut short by the end of text.
std::size_t utf8_sequence(std::string_view text, std::size_t i, bool &cut) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  cut = false;
  if (c < 0x80) return 1;
  std::size_t length;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    if (c == 0xE0) low = 0xA0;   // no overlong forms
    if (c == 0xED) high = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (i + k >= text.size()) {
      cut = true;
      return 0;
    }
    const unsigned char b = byte(i + k);
    if (k == 1 ? (b < low || b > high) : (b < 0x80 || b > 0xBF)) return 0;
  }
  return length;
}

void append_utf8(std::string &out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Splits the first `max_lines` non-empty lines of `text` at `delimiter`, a quoted cell
// keeping its delimiters and line breaks; returns each line's cells (unquoted).
std::vector<std::vector<std::string>> split_lines(std::string_view text, char delimiter,
                                                  std::size_t max_lines) {
  std::vector<std::vector<std::string>> lines;
  std::vector<std::string> cells(1);
  bool quoted = false, at_start = true;
  const auto end_line = [&] {
    if (cells.size() > 1 || !cells[0].empty()) lines.push_back(std::move(cells));
    cells.assign(1, std::string());
    at_start = true;
  };
  for (std::size_t i = 0; i < text.size() && lines.size() < max_lines; ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"')
        cells.back() += c;
      else if (i + 1 < text.size() && text[i + 1] == '"')
        cells.back() += text[++i];
      else
        quoted = false;
    } else if (c == '"' && at_start) {
      quoted = true;
      at_start = false;
    } else if (c == delimiter) {
      cells.emplace_back();
      at_start = true;
    } else if (c == '\n') {
      end_line();
    } else if (c != '\r') {
      cells.back() += c;
      at_start = false;
    }
  }
  if (lines.size() < max_lines) end_line();
  return lines;
}

bool names_vin(std::string_view cell) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!cell.empty() && blank(cell.front())) cell.remove_prefix(1);
  while (!cell.empty() && blank(cell.back())) cell.remove_suffix(1);
  std::string upper(cell);
  for (char &c : upper) c = upper_case(c);
  if (upper == "VIN") return true;
  return upper.size() > 3 && upper.starts_with("VIN") &&
         (upper[3] == ' ' || upper[3] == '_' || upper[3] == '#');
}

}  // namespace

bool valid_utf8(std::string_view text, bool allow_cut_end) {
  for (std::size_t i = 0; i < text.size();) {
    bool cut = false;
    const std::size_t n = utf8_sequence(text, i, cut);
    if (n == 0) return cut && allow_cut_end;
    i += n;
  }
  return true;
}

CsvDialect sniff_csv_dialect(std::string_view head) {
  CsvDialect dialect;
  if (head.starts_with(utf8_bom)) {
    dialect.encoding = TextEncoding::utf8_bom;
    head.remove_prefix(utf8_bom.size());
  } else if (!valid_utf8(head, true)) {
    dialect.encoding = TextEncoding::windows1252;
  }
  constexpr std::size_t lines_looked_at = 20;
  std::size_t best_score = 0;
  bool best_names_vin = false;
  for (const char delimiter : {',', ';', '\t'}) {
    const auto lines = split_lines(head, delimiter, lines_looked_at);
    if (lines.empty() || lines[0].size() < 2) continue;
    std::size_t score = 0;
    for (const auto &cells : lines) score += cells.size() == lines[0].size() ? 1 : 0;
    bool vin = false;
    for (const std::string &cell : lines[0]) vin = vin || names_vin(cell);
    // The first delimiter wins a tie unless only a later one names the VIN.
    if (score > best_score || (score == best_score && vin && !best_names_vin)) {
      best_score = score;
      best_names_vin = vin;
      dialect.delimiter = delimiter;
    }
  }
  return dialect;
}

std::string windows1252_to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80)
      out += ch;
    else
      append_utf8(out, c < 0xA0 ? high_1252[c - 0x80] : c);
  }
  return out;
}

std::string utf8_to_windows1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    bool cut = false;
    const std::size_t n = utf8_sequence(text, i, cut);
    if (n <= 1) {
      out += n == 1 ? text[i] : '?';
      ++i;
      continue;
    }
    char32_t c = static_cast<unsigned char>(text[i]) & (0xFF >> (n + 1));
    for (std::size_t k = 1; k < n; ++k)
      c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += n;
    char byte = '?';
    if (c >= 0xA0 && c <= 0xFF) {
      byte = static_cast<char>(c);
    } else {
      for (std::size_t k = 0; k < high_1252.size(); ++k)
        if (high_1252[k] == c) byte = static_cast<char>(0x80 + k);
    }
    out += byte;
  }
  return out;
}

}  // namespace kordel::record
