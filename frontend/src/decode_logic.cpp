#include "decode_logic.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace kordel::ui {

VinScheme scheme_of(const QString &vin) {
  if (vin.size() == 13) return VinScheme::thirteen;
  if (vin.size() == 17) return VinScheme::seventeen;
  return VinScheme::invalid_length;
}

std::int16_t digit_value(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9')
             ? static_cast<std::int16_t>(c.unicode() - '0')
             : 0;
}

void CandidateYears::write(std::size_t slot, std::int16_t year) {
  slots_.at(slot) = year;
  written_.push_back(slot);
}

CandidateYears::Settlement CandidateYears::settle(const QString &vin) {
  written_.clear();
  if (vin.size() < 4) return {};
  const std::int16_t model_digit = digit_value(vin[3]);
  const std::int16_t year_digit = digit_value(vin[1]);
  switch (model_digit) {
    case 8:
    case 1:
      if (year_digit != 8) return {};
      write(1, 68);
      write(4, 78);
      return {true, 0};
    case 4:
      if (year_digit == 9) return {false, 79};
      if (year_digit != 0) return {};
      write(1, 70);
      write(2, 80);
      return {true, 0};
    case 0:
      if (year_digit != 0 && year_digit != 8 && year_digit != 9) return {};
      for (std::size_t slot = 1; std::int16_t year : {68, 69, 70, 78, 79, 80}) write(slot++, year);
      return {true, 0};
    default:
      return {};
  }
}

YearStepper::YearStepper(const CandidateYears &years) : years_(years) {}

std::size_t YearStepper::slot() const {
  const std::vector<std::size_t> &written = years_.written();
  return written.empty() ? 1 : written[index_];
}

QString YearStepper::year_text(bool leading_blank) const {
  const QString year = QString::number(years_.year(slot()));
  return leading_blank ? QLatin1Char(' ') + year : year;
}

QString YearStepper::opening_text() const { return year_text(true); }

std::optional<QString> YearStepper::down() {
  if (index_ == 0) return std::nullopt;
  --index_;
  return year_text(true);
}

std::optional<QString> YearStepper::up() {
  if (index_ + 1 >= years_.written().size()) return std::nullopt;
  ++index_;
  return year_text(false);
}

std::int32_t read_model_year(const QString &text) {
  QByteArray s;
  for (QChar c : text)
    if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
      s.append(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x7f');

  // The longest leading part of the form [sign] digits [. digits] [exponent].
  qsizetype i = 0;
  const auto digits = [&] {
    const qsizetype start = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    return i - start;
  };
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  qsizetype mantissa = digits();
  if (i < s.size() && s[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return 0;
  qsizetype end = i;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (digits() > 0) end = i;
  }

  const double value = std::strtod(s.left(end).constData(), nullptr);
  const double rounded = std::nearbyint(value);  // the default mode rounds ties to even
  if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
        rounded <= std::numeric_limits<std::int16_t>::max()))
    return 0;
  return static_cast<std::int32_t>(rounded);
}

LineBuffers::LineBuffers() {
  for (QByteArray &line : lines_) {
    line = QByteArray(length + 1, ' ');
    line[length] = '\0';
  }
  std::memcpy(lines_[0].data(), "qoz", 3);
}

QString LineBuffers::text(std::size_t i) const {
  const QByteArray &line = lines_.at(i);
  const auto *nul = static_cast<const char *>(std::memchr(line.constData(), '\0', length));
  return QString::fromLatin1(line.constData(), nul ? nul - line.constData() : length);
}

bool LineBuffers::has_result() const { return !lines_[0].startsWith("qoz"); }

QByteArray vin_to_8bit(const QString &vin) {
  QByteArray bytes;
  bytes.reserve(vin.size() + 1);
  for (QChar c : vin) bytes.append(c.unicode() <= 0xff ? static_cast<char>(c.unicode()) : '?');
  return bytes;  // QByteArray keeps a terminator behind its data
}

std::optional<std::int32_t> production_number(const QString &vin) {
  if (vin.size() < 6) return std::nullopt;
  const QString last_six = vin.right(6);
  std::int32_t sequence = 0;
  for (QChar c : last_six) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    sequence = sequence * 10 + (c.unicode() - '0');
  }
  return sequence < 700000 ? sequence - 100000 : sequence - 700000;
}

QString production_text(const QString &vin) {
  const std::optional<std::int32_t> number = production_number(vin);
  if (!number) return vin.right(6);
  return *number != 0 ? QString::number(*number) : QString();
}

QString compose_report(const QString &vin, const LineBuffers &lines) {
  const QString crlf = QStringLiteral("\r\n");
  const QString number_text = production_text(vin);
  return QStringLiteral("Your VIN# of ") + vin + QStringLiteral(" decodes as follows") + crlf +
         lines.text(0) + crlf + lines.text(1) + crlf + lines.text(2) + number_text +
         lines.text(3) + crlf + lines.text(4);
}

}  // namespace kordel::ui
