#include "model_year.h"

#include <QByteArray>

#include <cmath>
#include <limits>

#include "report.h"

namespace kordel::ui {

CandidateYears::Settlement CandidateYears::settle(const QString &vin) {
  const report::YearSettlement settled = report::settle_model_year(
      std::u16string_view(reinterpret_cast<const char16_t *>(vin.utf16()), vin.size()));
  years_ = settled.candidates;
  return {settled.asks, settled.model_year};
}

YearStepper::YearStepper(const CandidateYears &years) : years_(years) {}

QString YearStepper::year_text(bool leading_blank) const {
  const QString year = QString::number(years_.years().empty() ? 0 : years_.years()[index_]);
  return leading_blank ? QLatin1Char(' ') + year : year;
}

QString YearStepper::opening_text() const { return year_text(true); }

std::optional<QString> YearStepper::down() {
  if (index_ == 0) return std::nullopt;
  --index_;
  return year_text(true);
}

std::optional<QString> YearStepper::up() {
  if (index_ + 1 >= years_.years().size()) return std::nullopt;
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

}  // namespace kordel::ui
