// How often the suggestions bring back the VIN that was meant. Generates VINs that
// decode, from the code tables of every model line and body, makes one look-alike
// mistake in each (an O typed for a 0, say), and of the mistyped VINs that then
// no longer decode cleanly counts how often the true VIN is the first suggestion,
// among the first three, or among all five.
// Usage: recall_suggestions [VINs per scheme, default 100000] [seed, default 1]
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "models13.h"
#include "suggestions.h"
#include "tables17.h"

using namespace kordel;
using namespace kordel::record;

namespace {

constexpr std::string_view digits = "0123456789";

template <class T>
const T &pick(std::span<const T> items, std::mt19937 &random) {
  return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(random)];
}

char pick_char(std::string_view chars, std::mt19937 &random) {
  return chars[std::uniform_int_distribution<std::size_t>(0, chars.size() - 1)(random)];
}

// A code for `position` of model m: one its table has a row for, else one its
// checks accept, else any digit.
char code13(const models13::ModelDecoder &m, std::uint8_t position, std::mt19937 &random) {
  const models13::FieldSource *source = nullptr;
  switch (position) {
    case models13::position::year: source = &m.year; break;
    case models13::position::trans: source = &m.trans; break;
    case models13::position::body: source = &m.body; break;
    case models13::position::series: source = &m.series; break;
    case models13::position::engine: source = &m.engine; break;
    default: break;
  }
  if (source != nullptr && !source->rows.empty()) return pick(source->rows, random).code;
  for (const Check &check : m.checks)
    if (check.position == position && !check.accepted.chars().empty())
      return pick_char(check.accepted.chars(), random);
  return pick_char(digits, random);
}

std::string generate13(std::mt19937 &random) {
  for (;;) {
    const models13::ModelDecoder &m = *pick(models13::all, random);
    std::string vin = "A";
    for (std::uint8_t p = 2; p <= 8; ++p) vin += code13(m, p, random);
    for (int p = 9; p <= 13; ++p) vin += pick_char(digits, random);
    VinDecode decode;
    decode.decode(vin, 0);
    if (decode.decoded()) return vin;
  }
}

std::string generate17(std::mt19937 &random) {
  for (;;) {
    std::string vin(17, '0');
    for (const Check &check : tables17::checks)
      vin[check.position - 1u] = pick_char(check.accepted.chars(), random);
    const tables17::BodyDecoder &body = pick(tables17::bodies, random);
    vin[5] = body.body_code_1;
    vin[6] = body.body_code_2;
    for (std::size_t i = 11; i < 17; ++i) vin[i] = pick_char(digits, random);
    const CheckDigit check = check_digit_of(vin);
    if (!check.expected) continue;
    vin[8] = *check.expected;
    VinDecode decode;
    decode.decode(vin, 0);
    if (decode.decoded()) return vin;
  }
}

// One look-alike mistake, chosen evenly among every position and look-alike;
// nothing for a VIN without a character that has a look-alike.
std::optional<std::string> mistype(const std::string &vin, std::mt19937 &random) {
  std::vector<std::pair<std::size_t, char>> mistakes;
  for (std::size_t i = 0; i < vin.size(); ++i)
    for (char c : look_alikes_of(vin[i])) mistakes.emplace_back(i, c);
  if (mistakes.empty()) return std::nullopt;
  const auto [position, c] = pick(std::span<const std::pair<std::size_t, char>>(mistakes), random);
  std::string typed = vin;
  typed[position] = c;
  return typed;
}

struct Tally {
  std::size_t mistyped = 0, failing = 0, first = 0, first_three = 0, any = 0;
};

Tally measure(std::size_t count, std::string (*generate)(std::mt19937 &), std::mt19937 &random) {
  Tally t;
  VinDecode decode;
  while (t.mistyped < count) {
    const std::string vin = generate(random);
    const std::optional<std::string> typed = mistype(vin, random);
    if (!typed) continue;
    ++t.mistyped;
    decode.decode(*typed, 0);
    if (!wants_suggestions(decode)) continue;
    const std::vector<Suggestion> suggestions = suggestions_for(decode);
    ++t.failing;
    for (std::size_t rank = 0; rank < suggestions.size(); ++rank) {
      if (suggestions[rank].vin != vin) continue;
      t.first += rank == 0;
      t.first_three += rank < 3;
      ++t.any;
    }
  }
  return t;
}

void print(const char *scheme, const Tally &t) {
  const auto percent = [&](std::size_t n) { return 100.0 * static_cast<double>(n) / t.failing; };
  std::printf(
      "%s: %zu mistyped, %zu fail after the mistake; of these the true VIN is first "
      "%zu (%.2f %%), in the first three %zu (%.2f %%), among the five %zu (%.2f %%)\n",
      scheme,
      t.mistyped,
      t.failing,
      t.first,
      percent(t.first),
      t.first_three,
      percent(t.first_three),
      t.any,
      percent(t.any));
}

}  // namespace

int main(int argc, char **argv) {
  const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  std::mt19937 random(argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1u);
  print("13 characters", measure(count, generate13, random));
  print("17 characters", measure(count, generate17, random));
}
