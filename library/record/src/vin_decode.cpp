#include "vin_decode.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "fields.h"

namespace kordel::record {
namespace {

std::string two_digit_list(std::span<const std::int16_t> years) {
  std::string list;
  for (std::int16_t year : years) {
    if (!list.empty()) list += ", ";
    list += std::to_string(1900 + year);
  }
  return list;
}

// The values the federal check-digit rule (49 CFR 565.15) assigns to letters, as
// its table prints them. I, O and Q have none: a VIN never holds them.
// clang-format off
constexpr std::pair<char, int> letter_values[] = {
    {'A', 1}, {'B', 2}, {'C', 3}, {'D', 4}, {'E', 5}, {'F', 6}, {'G', 7}, {'H', 8},
    {'J', 1}, {'K', 2}, {'L', 3}, {'M', 4}, {'N', 5},           {'P', 7},           {'R', 9},
              {'S', 2}, {'T', 3}, {'U', 4}, {'V', 5}, {'W', 6}, {'X', 7}, {'Y', 8}, {'Z', 9},
};
// clang-format on

// Every byte's value under the rule, digits as themselves; -1 for a character it
// does not allow. Upper-case only: the caller folds the case.
constexpr std::array<std::int8_t, 256> transliteration = [] {
  std::array<std::int8_t, 256> table{};
  table.fill(-1);
  for (char digit = '0'; digit <= '9'; ++digit)
    table[static_cast<unsigned char>(digit)] = static_cast<std::int8_t>(digit - '0');
  for (const auto &[letter, value] : letter_values)
    table[static_cast<unsigned char>(letter)] = static_cast<std::int8_t>(value);
  return table;
}();

// Position 9, the check digit itself, weighs 0.
constexpr int weights[17] = {8, 7, 6, 5, 4, 3, 2, 10, 0, 9, 8, 7, 6, 5, 4, 3, 2};
constexpr std::size_t check_digit_index = 8;

// One UTF-8 character, kept here so that the decode inlines it.
CodePoint read_code_point(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = byte(i);
  if (b0 < 0x80) return {b0, 1};
  std::size_t length = 0;
  char32_t value = 0, min = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2, value = b0 & 0x1F, min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3, value = b0 & 0x0F, min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4, value = b0 & 0x07, min = 0x10000;
  } else {
    return {0xFFFD, 1};
  }
  if (i + length > s.size()) return {0xFFFD, 1};
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return {0xFFFD, 1};
    value = (value << 6) | (byte(i + k) & 0x3F);
  }
  if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {0xFFFD, 1};
  return {value, length};
}

}  // namespace

CodePoint next_code_point(std::string_view s, std::size_t i) { return read_code_point(s, i); }

std::string_view status_name(Status status) {
  switch (status) {
    case Status::decoded: return "decoded";
    case Status::incomplete: return "incomplete";
    case Status::rejected: return "rejected";
    case Status::unknown: break;
  }
  return "unknown";
}

CheckDigit check_digit_of(std::string_view vin17) {
  CheckDigit check;
  check.given = upper_case(vin17[check_digit_index]);
  int sum = 0;
  for (std::size_t i = 0; i < 17; ++i) {
    // The check digit's own position weighs nothing, so whatever it holds (an O
    // typed for a 0, say) leaves the digit the other sixteen call for.
    if (i == check_digit_index) continue;
    const int value = transliteration[static_cast<unsigned char>(upper_case(vin17[i]))];
    if (value < 0) {
      check.disallowed_position = static_cast<std::uint8_t>(i + 1);
      return check;
    }
    sum += value * weights[i];
  }
  const int remainder = sum % 11;
  check.expected = remainder == 10 ? 'X' : static_cast<char>('0' + remainder);
  return check;
}

std::string VinDecode::check_digit_warning() const {
  if (!check_digit_ || check_digit_->valid()) return {};
  const CheckDigit &check = *check_digit_;
  const std::string given(check_digit_given());
  if (check.expected)
    return "check digit is " + given + ", expected " + std::string(1, *check.expected) +
           ": the VIN may be mistyped";
  return "check digit is " + given + ", but position " + std::to_string(check.disallowed_position) +
         " holds \"" + std::string(character(check.disallowed_position)) +
         "\", which a VIN never holds: the VIN may be mistyped";
}

bool VinDecode::sequence_doubtful() const {
  if (scheme_ != report::Scheme::thirteen || !error_.empty()) return false;
  const std::string_view sequence = std::string_view(read_).substr(offsets_[8]);
  return !std::all_of(
      sequence.begin(), sequence.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string VinDecode::sequence_warning() const {
  if (!sequence_doubtful()) return {};
  const std::string_view sequence = std::string_view(read_).substr(offsets_[8]);
  // No quotes: the warning stays plain JSON text, which is written fastest.
  return "the sequence number (positions 9-13) is " + std::string(sequence) +
         ", not five digits: the VIN may be mistyped";
}

MissingFields VinDecode::missing_fields(std::size_t i) const {
  MissingFields missing;
  const auto add = [&](const Field &field, std::string_view text) {
    if (!field_text(text)) missing.names[missing.count++] = field.name;
  };
  if (result_report_lines(i) == 0) return missing;
  if (const Vin13Fields *f = fields13(i)) {
    for (const Field &field : fields)
      if (in_scheme13(field)) add(field, raw_text(field, *f));
  } else if (const Vin17Fields *g = fields17()) {
    for (const Field &field : fields)
      if (in_scheme17(field)) add(field, raw_text(field, *g));
  }
  return missing;
}

std::string VinDecode::incomplete_reason(std::size_t i) const {
  const Result a = result(i);
  if (a.status != Status::incomplete) return {};
  std::string reason = "the report is incomplete: ";
  const MissingFields missing = missing_fields(i);
  for (std::size_t k = 0; k < missing.count; ++k) {
    if (k != 0) reason += ", ";
    reason += missing.names[k];
  }
  if (!missing.empty()) reason += " not found";
  if (a.messages->count != 0) {
    if (!missing.empty()) reason += ", and ";
    reason += "the decoder gave a message";
  }
  return reason;
}

bool VinDecode::clean() const {
  if ((check_digit_ && !check_digit_->valid()) || sequence_doubtful()) return false;
  for (std::size_t i = 0; i < result_count_; ++i)
    if (result(i).status == Status::decoded) return true;
  return false;
}

void read_vin(std::string_view text, std::string &out) {
  // Most VINs come as they are read: digits and capitals only.
  if (std::all_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c - '0') < 10 || static_cast<unsigned char>(c - 'A') < 26;
      })) {
    out.assign(text);
    return;
  }
  out.resize(text.size());  // reading only drops or keeps characters
  char *w = out.data();
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      if (b == '*' || b == '_')
        *w++ = unreadable;
      else if (b != ' ' && b != '\t' && b != '-')
        *w++ = upper_case(static_cast<char>(b));
      ++i;
      continue;
    }
    // A no-break space, the Unicode hyphens and dashes, and the minus sign are
    // blanks and dashes too.
    const CodePoint cp = read_code_point(text, i);
    const char32_t c = cp.value;
    if (c != 0xA0 && !(c >= 0x2010 && c <= 0x2015) && c != 0x2212)
      for (std::size_t k = 0; k < cp.length; ++k) *w++ = text[i + k];
    i += cp.length;
  }
  out.resize(static_cast<std::size_t>(w - out.data()));
}

std::string_view trim_vin(std::string_view text) {
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<int> parse_model_year(std::string_view text) {
  int value = 0;
  if (text.empty() || text.size() > 4) return std::nullopt;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (text.size() == 4) value -= 1900;
  if (text.size() != 2 && text.size() != 4) return std::nullopt;
  if (value < first_model_year || value > last_model_year) return std::nullopt;
  return value;
}

std::string model_year_forms() {
  const auto range = [](int from, int to) {
    return std::to_string(from) + '-' + std::to_string(to);
  };
  return range(first_model_year, last_model_year) + " or " +
         range(1900 + first_model_year, 1900 + last_model_year);
}

std::string model_year_refusal(int year) {
  return "model year " + std::to_string(year) + " is not one of " + model_year_forms();
}

std::optional<std::string_view> field_text(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string_view();
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (text == "Error") return std::nullopt;
  return text;
}

bool VinDecode::decoded() const {
  for (std::size_t i = 0; i < result_count_; ++i)
    if (result_report_lines(i) != 0) return true;
  return false;
}

std::size_t VinDecode::result_report_lines(std::size_t i) const {
  return scheme_ == report::Scheme::seventeen ? result17_.report.line_count
                                              : results13_[i].report.line_count;
}

Result VinDecode::result(std::size_t i) const {
  Result a;
  a.model_year = model_years_[i];
  if (scheme_ == report::Scheme::seventeen) {
    a.messages = &result17_.messages;
    a.report = &result17_.report;
  } else {
    a.messages = &results13_[i].messages;
    a.report = &results13_[i].report;
  }
  a.status = statuses_[i];  // set once by the decode (set_statuses)
  return a;
}

const Vin13Fields *VinDecode::fields13(std::size_t i) const {
  return scheme_ == report::Scheme::thirteen ? &results13_[i].vin13_fields : nullptr;
}

const Vin17Fields *VinDecode::fields17() const {
  return scheme_ == report::Scheme::seventeen ? &result17_.vin17_fields : nullptr;
}

std::string_view VinDecode::character(std::size_t position) const {
  const std::string_view c = std::string_view(read_).substr(
      offsets_[position - 1], offsets_[position] - offsets_[position - 1]);
  constexpr std::string_view replacement = "\xEF\xBF\xBD";
  if (!c.empty() && next_code_point(c, 0).value == 0xFFFD) return replacement;
  return c;
}

std::string_view VinDecode::check_digit_given() const {
  if (!check_digit_) return {};
  const char &given = check_digit_->given;
  if (static_cast<unsigned char>(given) < 0x80) return {&given, 1};
  return character(check_digit_index + 1);
}

void VinDecode::refuse(std::string_view vin, std::string error) {
  decode(vin, 0);
  scheme_ = report::Scheme::invalid_length;
  result_count_ = 0;
  check_digit_.reset();
  error_ = std::move(error);
}

// Counts the characters of `vin`, keeping the first 17 as code points with their
// byte offsets.
std::size_t VinDecode::read_characters(std::string_view vin,
                                       std::array<char32_t, 17> &code_points) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < vin.size(); ++count) {
    const CodePoint cp = read_code_point(vin, i);
    if (count < code_points.size()) {
      code_points[count] = cp.value;
      offsets_[count] = static_cast<std::uint32_t>(i);
    }
    i += cp.length;
    if (count < code_points.size()) offsets_[count + 1] = static_cast<std::uint32_t>(i);
  }
  return count;
}

// The production number, and its text as the report prints it: the number, or
// the last six characters as typed when they are not all digits.
void VinDecode::set_production(std::u32string_view characters, std::size_t count) {
  production_number_ = report::production_number(characters);
  if (production_number_)
    production_text_ = report::production_number_text(*production_number_);
  else
    production_text_ = std::string_view(read_).substr(offsets_[count - 6]);
}

// A 13-character VIN: the year --year picked, if it is a candidate, else each
// candidate year, or the one year the VIN settles.
void VinDecode::decode_years(std::u32string_view characters, int model_year) {
  const report::YearSettlement settled = report::settle_model_year(characters);
  const auto try_year = [this](int year) {
    model_years_[result_count_] = year;
    results13_[result_count_] = decode_13(year, vin8_);
    ++result_count_;
  };
  if (model_year != 0 && (settled.asks || settled.model_year != 0)) {
    const bool candidate = settled.asks ? std::find(settled.candidates.begin(),
                                                    settled.candidates.end(),
                                                    model_year) != settled.candidates.end()
                                        : settled.model_year == model_year;
    if (!candidate) {
      const std::int16_t own[] = {static_cast<std::int16_t>(settled.model_year)};
      error_ =
          "model year " + std::to_string(1900 + model_year) +
          " is not a candidate of this VIN (candidates: " +
          two_digit_list(settled.asks ? settled.candidates : std::span<const std::int16_t>(own)) +
          ")";
      return;
    }
    try_year(model_year);
  } else if (settled.asks) {
    asked_ = true;
    for (std::int16_t year : settled.candidates) try_year(year);
  } else {
    try_year(settled.model_year);
  }
}

void VinDecode::refuse_long_line(std::string_view start) {
  refuse(trim_vin(start.substr(0, long_line_name_bytes)),
         std::string(report::length_message) + " (the line holds more than " +
             std::to_string(max_vin_bytes) + " bytes)");
}

void VinDecode::decode(std::string_view vin, int model_year) {
  if (vin.size() > max_vin_bytes) {
    refuse_long_line(vin);
    return;
  }
  vin_ = vin;
  read_vin(vin, read_);
  error_.clear();
  result_count_ = 0;
  asked_ = false;
  check_digit_.reset();
  production_number_.reset();
  production_text_.clear();

  std::array<char32_t, 17> code_points{};
  const std::size_t count = read_characters(read_, code_points);
  scheme_ = report::scheme_of(count);
  if (scheme_ == report::Scheme::invalid_length) {
    error_ = report::length_message;
    return;
  }
  if (read_.find('\0') != std::string::npos) {
    scheme_ = report::Scheme::invalid_length;
    error_ = "the VIN holds a NUL byte and cannot be read";
    return;
  }

  // The VIN as 8-bit text: a character that 8 bits cannot hold becomes "?".
  for (std::size_t i = 0; i < count; ++i)
    vin8_[i] = code_points[i] <= 0xFF ? static_cast<char>(code_points[i]) : '?';
  vin8_[count] = '\0';

  const std::u32string_view characters(code_points.data(), count);
  set_production(characters, count);
  if (scheme_ == report::Scheme::seventeen) {
    check_digit_ = check_digit_of(std::string_view(vin8_, 17));
    result17_ = decode_17(vin8_);
    model_years_[0] = 0;
    result_count_ = 1;
    set_statuses();
    return;
  }
  decode_years(characters, model_year);
  set_statuses();
}

void VinDecode::set_statuses() {
  for (std::size_t i = 0; i < result_count_; ++i) {
    const Messages &messages =
        scheme_ == report::Scheme::seventeen ? result17_.messages : results13_[i].messages;
    if (result_report_lines(i) != 0)
      statuses_[i] =
          messages.count == 0 && missing_fields(i).empty() ? Status::decoded : Status::incomplete;
    else if (std::any_of(
                 messages.begin(), messages.end(), [](const Message &m) { return !m.goes_on; }))
      statuses_[i] = Status::rejected;
    else
      statuses_[i] = Status::unknown;
  }
}

void VinDecode::append_report(std::string &out, std::size_t i, std::string_view line_break) const {
  const ReportLines &r = *result(i).report;
  std::array<std::string_view, 5> lines;
  // The window shows line 5 of a 13-character decode as blanks the decoder never
  // wrote; the command line leaves that line out.
  for (std::size_t k = 0; k < r.line_count; ++k) lines[k] = {r.lines[k].data(), r.lengths[k]};
  report::append_report<char>(out,
                              std::string_view(read_),
                              production_text_,
                              std::span<const std::string_view>(lines.data(), r.line_count),
                              line_break);
}

}  // namespace kordel::record
