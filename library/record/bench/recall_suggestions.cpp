// How often the suggestions bring back the VIN that was meant. Generates VINs that
// decode cleanly, from the code tables of every model line and body (sequence
// numbers of digits, 17-character check digits computed), makes one kind of
// mistake in each, and of the mistyped VINs that then no longer decode cleanly
// counts how often the true VIN is the first suggestion, among the first three,
// or among them at all; correct VINs, typed plainly or with blanks and dashes,
// must get none. Also the slowest search of a VIN.
// Usage: recall_suggestions [VINs per scheme and kind, default 20000] [seed, default 2412]
//        [a mistake kind whose misses to print | dump: print the typed VINs only]
#include <algorithm>
#include <chrono>
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
    if (decodes_cleanly(vin)) return vin;
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
    if (decodes_cleanly(vin)) return vin;
  }
}

enum class Mistake {
  look_alike,
  swap,
  dropped,
  doubled,
  inserted,
  look_alike_lower_spaced,
  unreadable,
  two_look_alikes,
  correct,
  correct_spaced,
};

constexpr std::pair<Mistake, const char *> mistakes[] = {
    {Mistake::look_alike, "one look-alike"},
    {Mistake::swap, "two neighbours swapped"},
    {Mistake::dropped, "one character dropped"},
    {Mistake::doubled, "one character doubled"},
    {Mistake::inserted, "one character inserted"},
    {Mistake::look_alike_lower_spaced, "look-alike, lower case, blanks/dashes"},
    {Mistake::unreadable, "one unreadable ?"},
    {Mistake::two_look_alikes, "two look-alikes"},
    {Mistake::correct, "correct"},
    {Mistake::correct_spaced, "correct, blanks/dashes"},
};

std::size_t below(std::size_t n, std::mt19937 &random) {
  return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
}

// A look-alike at a position other than `except`, chosen evenly among every
// position and look-alike; false when the VIN has none.
bool look_alike(std::string &vin, std::mt19937 &random, std::size_t *at,
                std::size_t except = std::string::npos) {
  std::vector<std::pair<std::size_t, char>> choices;
  for (std::size_t i = 0; i < vin.size(); ++i)
    if (i != except)
      for (char c : look_alikes_of(vin[i])) choices.emplace_back(i, c);
  if (choices.empty()) return false;
  const auto [position, c] = choices[below(choices.size(), random)];
  vin[position] = c;
  *at = position;
  return true;
}

// Blanks or dashes between groups of characters, as a VIN is copied off a title.
std::string spaced(const std::string &vin, std::mt19937 &random) {
  const char separator = below(2, random) == 0 ? ' ' : '-';
  std::string out;
  for (std::size_t i = 0; i < vin.size(); ++i) {
    if (i != 0 && below(4, random) == 0) out += separator;
    out += vin[i];
  }
  return out;
}

struct Typed {
  std::string text;
  bool in_sequence = false;    // a mistake in a 13-character sequence number
  bool in_sequence17 = false;  // a mistake in a 17-character one (positions 12-17)
};

std::optional<Typed> mistype(const std::string &vin, Mistake kind, std::mt19937 &random) {
  Typed t{vin};
  // Position 8 of a 13-character VIN, the plant digit, is also the sequence
  // number's first digit: a mistake there that leaves a digit is as unknowable.
  const std::size_t sequence = 7;
  std::size_t at = below(vin.size(), random);
  switch (kind) {
    case Mistake::look_alike:
      if (!look_alike(t.text, random, &at)) return std::nullopt;
      break;
    case Mistake::swap:
      at = below(vin.size() - 1, random);
      if (vin[at] == vin[at + 1]) return std::nullopt;
      std::swap(t.text[at], t.text[at + 1]);
      break;
    case Mistake::dropped: t.text.erase(at, 1); break;
    case Mistake::doubled: t.text.insert(at, 1, vin[at]); break;
    case Mistake::inserted: {
      constexpr std::string_view chars = "0123456789ABCDEFGHJKLMNPRSTUVWXYZ";
      at = below(vin.size() + 1, random);
      t.text.insert(at, 1, chars[below(chars.size(), random)]);
      break;
    }
    case Mistake::look_alike_lower_spaced:
      if (!look_alike(t.text, random, &at)) return std::nullopt;
      for (char &c : t.text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      t.text = spaced(t.text, random);
      break;
    case Mistake::unreadable: t.text[at] = "?*_"[below(3, random)]; break;
    case Mistake::two_look_alikes: {
      std::size_t second = 0;
      if (!look_alike(t.text, random, &at) || !look_alike(t.text, random, &second, at))
        return std::nullopt;
      at = std::min(at, second);
      break;
    }
    case Mistake::correct: break;
    case Mistake::correct_spaced: t.text = spaced(vin, random); break;
  }
  t.in_sequence = vin.size() == 13 && at >= sequence;
  t.in_sequence17 = vin.size() == 17 && at >= 11;
  return t;
}

// Prints the VINs typed instead of measuring (for comparing outputs over them).
bool dump = false;

struct Tally {
  std::size_t typed = 0, seen = 0, first = 0, first_three = 0, any = 0;
  // The same for the mistakes outside a 17-character sequence number, which a
  // check digit alone seldom places.
  std::size_t seen_out = 0, first_out = 0, first_three_out = 0;
  std::size_t excluded = 0;  // seen, but inside a 13-character sequence number
  std::size_t false_alarms = 0;
  double slowest_ms = 0;
  std::string slowest_vin;
};

// Whether suggestion s is the VIN meant: the same, or, for a sequence digit left
// unknown, the same but for the unknown digits.
bool matches(const Suggestion &s, const std::string &vin) {
  if (s.vin.size() != vin.size()) return false;
  for (std::size_t i = 0; i < vin.size(); ++i)
    if (s.vin[i] != vin[i] && !(s.kind == EditKind::unknown_digit && s.vin[i] == '?')) return false;
  return true;
}

Tally measure(std::size_t count, std::string (*generate)(std::mt19937 &), Mistake kind,
              std::mt19937 &random, bool print_failures) {
  Tally t;
  VinDecode decode;
  // Mistakes inside a 13-character sequence number that no decoder can know.
  const bool unknowable_in_sequence = kind == Mistake::swap || kind == Mistake::dropped ||
                                      kind == Mistake::doubled || kind == Mistake::inserted ||
                                      kind == Mistake::unreadable;
  while (t.typed < count) {
    const std::string vin = generate(random);
    const std::optional<Typed> typed = mistype(vin, kind, random);
    if (!typed) continue;
    ++t.typed;
    if (dump) {
      std::printf("%s\n", typed->text.c_str());
      continue;
    }
    // The time of a VIN is the least of three runs: the machine is shared, and a
    // run another process interrupts says nothing about the VIN.
    std::vector<Suggestion> suggestions;
    double ms = 1e9;
    for (int run = 0; run < 3; ++run) {
      const auto start = std::chrono::steady_clock::now();
      decode.decode(typed->text, 0);
      suggestions = suggestions_for(decode);
      ms = std::min(
          ms,
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
    }
    if (ms > t.slowest_ms) t.slowest_ms = ms, t.slowest_vin = typed->text;
    if (kind == Mistake::correct || kind == Mistake::correct_spaced) {
      t.false_alarms += !suggestions.empty() || !decode.clean();
      continue;
    }
    if (!wants_suggestions(decode)) continue;
    if (unknowable_in_sequence && typed->in_sequence) {
      ++t.excluded;
      continue;
    }
    ++t.seen;
    t.seen_out += !typed->in_sequence17;
    std::vector<std::string_view> distinct;
    for (const Suggestion &s : suggestions)
      if (std::find(distinct.begin(), distinct.end(), s.vin) == distinct.end())
        distinct.push_back(s.vin);
    const auto hit = std::find_if(suggestions.begin(), suggestions.end(), [&](const Suggestion &s) {
      return matches(s, vin);
    });
    if (hit == suggestions.end()) {
      if (print_failures) std::printf("  miss: %s -> %s\n", vin.c_str(), typed->text.c_str());
      continue;
    }
    const auto rank = static_cast<std::size_t>(
        std::find(distinct.begin(), distinct.end(), hit->vin) - distinct.begin());
    t.first += rank == 0;
    t.first_three += rank < 3;
    if (!typed->in_sequence17) {
      t.first_out += rank == 0;
      t.first_three_out += rank < 3;
    }
    ++t.any;
    if (rank != 0 && print_failures)
      std::printf("  rank %zu: %s -> %s (first %s)\n",
                  rank + 1,
                  vin.c_str(),
                  typed->text.c_str(),
                  suggestions.front().vin.c_str());
  }
  return t;
}

void print(const char *scheme, const char *kind, const Tally &t, bool correct) {
  const auto percent = [&](std::size_t n) {
    return t.seen == 0 ? 0.0 : 100.0 * static_cast<double>(n) / static_cast<double>(t.seen);
  };
  if (correct) {
    std::printf("| %s | %s | %zu | - | - | - | - | %zu false alarms | %.3f |\n",
                scheme,
                kind,
                t.typed,
                t.false_alarms,
                t.slowest_ms);
    return;
  }
  std::printf("| %s | %s | %zu | %zu (%zu left out) | %.1f %% | %.1f %% | %.1f %% | | %.3f |\n",
              scheme,
              kind,
              t.typed,
              t.seen,
              t.excluded,
              percent(t.first),
              percent(t.first_three),
              percent(t.any),
              t.slowest_ms);
  if (t.seen_out != t.seen && t.seen_out != 0)
    std::printf("| %s | (outside the sequence number) | | %zu | %.1f %% | %.1f %% | | | |\n",
                scheme,
                t.seen_out,
                100.0 * static_cast<double>(t.first_out) / static_cast<double>(t.seen_out),
                100.0 * static_cast<double>(t.first_three_out) / static_cast<double>(t.seen_out));
}

}  // namespace

int main(int argc, char **argv) {
  const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20000;
  const unsigned seed =
      argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 2412u;
  // A third argument names a kind whose misses and lower ranks are printed.
  const std::string show = argc > 3 ? argv[3] : "";
  dump = show == "dump";
  std::mt19937 random(seed);
  if (dump) {
    for (const auto &generate : {&generate13, &generate17})
      for (const auto &[kind, name] : mistakes) measure(count, generate, kind, random, false);
    return 0;
  }
  std::printf(
      "| VIN | mistake | typed | a decoder sees | first | first three | at all | | slowest ms "
      "|\n|---|---|---|---|---|---|---|---|---|\n");
  for (const auto &[scheme, generate] :
       {std::pair{"13", &generate13}, std::pair{"17", &generate17}})
    for (const auto &[kind, name] : mistakes) {
      const Tally t = measure(count, generate, kind, random, show == name);
      print(scheme, name, t, kind == Mistake::correct || kind == Mistake::correct_spaced);
    }
}
