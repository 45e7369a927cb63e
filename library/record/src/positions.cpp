#include "positions.h"

namespace kordel::record {
namespace {

template <class Fields>
struct Layout {
  std::string_view field;
  std::string_view meaning;
  std::string_view Fields::*text = nullptr;  // null: the sequence, or no field
};

// The 13-character VIN (1968-1980), position by position.
constexpr Layout<Vin13Fields> layout13[13] = {
    {"make", "make", &Vin13Fields::make},
    {"year", "model year", &Vin13Fields::year},
    {"trans", "transmission", &Vin13Fields::trans},
    {"model", "model line", &Vin13Fields::model},
    {"body", "body", &Vin13Fields::body},
    {"series", "series", &Vin13Fields::series},
    {"engine", "engine", &Vin13Fields::engine},
    {"plant", "assembly plant, and the first digit of the sequence number", &Vin13Fields::plant},
    {"sequence", "sequence number"},
    {"sequence", "sequence number"},
    {"sequence", "sequence number"},
    {"sequence", "sequence number"},
    {"sequence", "sequence number"},
};

// The 17-character VIN (1981-1988). Positions 1 and 2 are checked but no table
// reads them; the check digit is repeated as it stands.
constexpr Layout<Vin17Fields> layout17[17] = {
    {"", "read by no table"},
    {"", "read by no table"},
    {"vehicle_type", "vehicle type", &Vin17Fields::vehicle_type},
    {"engine", "engine", &Vin17Fields::engine},
    {"trans", "transmission", &Vin17Fields::trans},
    {"model", "model line and body, first character", &Vin17Fields::model},
    {"model", "model line and body, second character", &Vin17Fields::model},
    {"restraints", "restraints", &Vin17Fields::restraints},
    {"check_digit", "check digit"},
    {"year", "model year", &Vin17Fields::year},
    {"plant", "assembly plant", &Vin17Fields::plant},
    {"sequence", "sequence number"},
    {"sequence", "sequence number"},
    {"sequence", "sequence number"},
    {"sequence", "sequence number"},
    {"sequence", "sequence number"},
    {"sequence", "sequence number"},
};

// The production number as the report prints it: the number (nothing for 0), or
// the last six characters as they stand when they are not all digits.
std::string production_text(const VinDecode &decode, std::size_t length) {
  if (const std::optional<std::int32_t> number = decode.production_number())
    return *number != 0 ? std::to_string(*number) : std::string();
  std::string text;
  for (std::size_t p = length - 5; p <= length; ++p) text += decode.character(p);
  return text;
}

template <class Fields, std::size_t N>
PositionMeanings meanings(const VinDecode &decode, const Layout<Fields> (&layout)[N],
                          const Fields &fields, std::optional<std::string_view> check_digit) {
  PositionMeanings out;
  const std::string production = production_text(decode, N);
  for (std::size_t p = 1; p <= N; ++p) {
    const Layout<Fields> &l = layout[p - 1];
    PositionMeaning &m = out.items[out.count++];
    m.position = static_cast<std::uint8_t>(p);
    m.character = decode.character(p);
    m.field = l.field;
    m.meaning = l.meaning;
    if (l.text != nullptr)
      m.text = field_text(fields.*l.text);
    else if (l.field == "sequence")
      m.text = production;
    else if (l.field == "check_digit")
      m.text = check_digit;
  }
  return out;
}

}  // namespace

PositionMeanings position_meanings(const VinDecode &decode, std::size_t i) {
  if (const Vin13Fields *f = decode.fields13(i)) return meanings(decode, layout13, *f, {});
  const Vin17Fields &g = *decode.fields17();
  return meanings(decode, layout17, g, field_text(std::string_view(&g.check_digit, 1)));
}

}  // namespace kordel::record
