#include "suggestions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <memory>
#include <optional>

#include "fields.h"
#include "models13.h"
#include "positions.h"
#include "report.h"
#include "tables17.h"

namespace kordel::record {
namespace {

// Characters that look alike on a worn tag or a faded title, or that are misheard
// on the phone. Each group is read every way: an O may stand for a 0, a Q or a D.
constexpr std::string_view look_alike_groups[] = {
    "0OQD",  // 0 and O or Q or D
    "1IL",   // 1 and I or L
    "2Z",    // 2 and Z
    "5S",    // 5 and S
    "6G",    // 6 and G
    "8B",    // 8 and B
    "UV",    // U and V
};

// What a suggestion may put into a VIN, in the order ties are broken.
constexpr std::string_view vin_characters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// For every character, its look-alikes in vin_characters order.
struct LookAlikes {
  std::array<char, 4> chars{};
  std::uint8_t count = 0;
  std::string_view view() const { return {chars.data(), count}; }
  bool contains(char c) const { return view().find(c) != std::string_view::npos; }
};

constexpr std::array<LookAlikes, 256> look_alikes = [] {
  std::array<LookAlikes, 256> table{};
  for (char c : vin_characters)
    for (std::string_view group : look_alike_groups)
      if (group.find(c) != std::string_view::npos)
        for (char other : vin_characters)
          if (other != c && group.find(other) != std::string_view::npos) {
            LookAlikes &entry = table[static_cast<unsigned char>(c)];
            entry.chars[entry.count++] = other;
          }
  return table;
}();

// A character of the VIN as read, as the search sees it: anything beyond ASCII
// becomes a byte no accepted set holds.
char search_byte(std::string_view text) {
  return text.size() == 1 && static_cast<unsigned char>(text[0]) < 0x80 ? text[0] : '\x7f';
}

constexpr std::size_t max_typed = 18;
// Unreadable characters filled in every way: at most two outside a 13-character
// sequence number, and at most this many VINs from them.
constexpr std::size_t max_unreadable = 2;
constexpr std::size_t max_filled = 40;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The first position (0-based) of the sequence number, which a real tag holds in digits.
std::size_t sequence_start(std::size_t length) { return length == 17 ? 11 : 8; }

bool all_found(const Vin13Fields &f) {
  for (const Field &field : fields)
    if (in_scheme13(field) && !field_text(raw_text(field, f))) return false;
  return true;
}
bool all_found(const Vin17Fields &f) {
  for (const Field &field : fields)
    if (in_scheme17(field) && !field_text(raw_text(field, f))) return false;
  return true;
}

// What a suggestion may put at a position.
bool allowed(char c, std::size_t length) {
  if (!is_digit(c) && !(c >= 'A' && c <= 'Z')) return false;
  return length != 17 || (c != 'I' && c != 'O' && c != 'Q');
}

// For each position (0-based) of a 13- and a 17-character VIN, the characters a
// VIN that decodes cleanly can hold there: those a suggestion may put there, in a
// sequence number only digits, and only those some decoder's checks accept. A
// clean 13-character decode passes the first position's check, a dispatch row and
// every check of the model line it picks; a clean 17-character one passes every
// check and names a body. Candidates are tested against it before any decode.
using PositionSets = std::array<std::array<bool, 256>, 17>;

void accept_only(std::array<bool, 256> &set, const CharSet &accepted) {
  for (std::size_t c = 0; c < set.size(); ++c)
    set[c] = set[c] && accepted.contains(static_cast<char>(c));
}

PositionSets possible_sets(std::size_t length) {
  PositionSets sets{};
  for (std::size_t i = 0; i < length; ++i)
    for (char c : vin_characters)
      sets[i][static_cast<unsigned char>(c)] =
          allowed(c, length) && (i < sequence_start(length) || is_digit(c));
  const auto position_set = [&](std::uint8_t position) -> std::array<bool, 256> & {
    return sets[position - 1u];
  };
  if (length == 17) {
    for (const Check &check : tables17::checks)
      if (check.position != 0) accept_only(position_set(check.position), check.accepted);
    std::array<bool, 256> first{}, second{};
    for (const tables17::BodyDecoder &body : tables17::bodies) {
      first[static_cast<unsigned char>(body.body_code_1)] = true;
      second[static_cast<unsigned char>(body.body_code_2)] = true;
    }
    for (std::size_t c = 0; c < 256; ++c) {
      position_set(tables17::position::body_code_1)[c] &= first[c];
      position_set(tables17::position::body_code_2)[c] &= second[c];
    }
    return sets;
  }
  accept_only(position_set(models13::first_position.position), models13::first_position.accepted);
  // What some dispatch row with a model line lets through, position by position.
  PositionSets reached{};
  for (const models13::DispatchRow &row : models13::dispatch) {
    if (row.decoder == nullptr) continue;
    PositionSets line{};
    for (auto &set : line) set.fill(true);
    accept_only(line[models13::position::model_line - 1u], row.series_code.set);
    accept_only(line[models13::position::year - 1u], row.year_digit.set);
    accept_only(line[models13::position::body - 1u], row.body_type.set);
    for (const Check &check : row.decoder->checks)
      if (check.position != 0) accept_only(line[check.position - 1u], check.accepted);
    for (std::size_t i = 0; i < 13; ++i)
      for (std::size_t c = 0; c < 256; ++c) reached[i][c] = reached[i][c] || line[i][c];
  }
  for (std::size_t i = 0; i < 13; ++i)
    for (std::size_t c = 0; c < 256; ++c) sets[i][c] = sets[i][c] && reached[i][c];
  return sets;
}

// Whether a VIN of 13 or 17 characters may hold c at position i (0-based) and
// still decode cleanly. Built on first use, after the tables are.
bool possible(std::size_t length, std::size_t i, char c) {
  static const PositionSets possible13 = possible_sets(13), possible17 = possible_sets(17);
  return (length == 17 ? possible17 : possible13)[i][static_cast<unsigned char>(c)];
}

bool clean13(int year, const char *vin) {
  const Decode13Result r = decode_13(year, vin);
  return r.report.line_count != 0 && r.messages.count == 0 && all_found(r.vin13_fields);
}

// A candidate: the VIN, and each position changed with what was there.
struct Candidate {
  std::array<char, max_typed + 1> vin{};
  std::uint8_t length = 0;
  EditKind kind = EditKind::substitution;
  // Up to two changed positions (0-based, in the candidate) and, for a removal or
  // insertion, its index.
  std::array<std::uint8_t, 2> at{};
  std::uint8_t changed = 0;
  std::string_view key() const { return {vin.data(), length}; }
};

class Search {
 public:
  explicit Search(std::string_view read) {
    for (std::size_t i = 0; i < read.size() && count_ <= max_typed;) {
      const std::size_t n = next_code_point(read, i).length;
      if (count_ < max_typed) {
        text_[count_] = read.substr(i, n);
        byte_[count_] = search_byte(text_[count_]);
      }
      ++count_;
      i += n;
    }
  }

  std::size_t count() const { return count_; }

  // Positions (0-based) a decoder stopped at or found nothing for: tried first.
  void suspect(std::size_t index) {
    if (index < count_) suspect_[index] = true;
  }

  // Tries the edits in ranking order; returns the candidates that decode cleanly.
  const std::vector<Candidate> &run() {
    if (count_ > max_typed) return found_;
    if (count_ == 13 || count_ == 17) {
      if (std::find(byte_.begin(), byte_.begin() + count_, unreadable) != byte_.begin() + count_)
        return fill();
      if (try_look_alikes() || swaps() || substitutions()) return found_;
      if (found_.empty()) two_look_alikes();
    } else if (count_ == 14 || count_ == 18) {
      removals();
    } else if (count_ == 12 || count_ == 16) {
      insertions();
    }
    return found_;
  }

  std::string_view text(std::size_t i) const { return text_[i]; }

 private:
  // Positions in the order they are tried: suspects first, then the rest.
  template <class F>
  bool each_position(std::size_t end, F f) {
    for (int pass = 0; pass < 2; ++pass)
      for (std::size_t i = 0; i < end; ++i)
        if ((pass == 0) == (i < count_ && suspect_[i]) && f(static_cast<std::uint8_t>(i)))
          return true;
    return false;
  }

  // The look-alikes tried for the character at i: its group. In a 13-character
  // sequence number, where a letter is always a slip, only the digits of its group,
  // or every digit for a letter that looks like none.
  template <class F>
  bool each_look_alike(std::size_t i, F f) {
    const LookAlikes &alike = look_alikes[static_cast<unsigned char>(byte_[i])];
    const bool in_sequence = count_ == 13 && i >= sequence_start(13);
    bool digit_alike = false;
    for (char c : alike.view()) {
      if (in_sequence && !is_digit(c)) continue;
      digit_alike = digit_alike || is_digit(c);
      if (f(c)) return true;
    }
    if (in_sequence && !is_digit(byte_[i]) && !digit_alike)
      for (char c = '0'; c <= '9'; ++c)
        if (f(c)) return true;
    return false;
  }

  Candidate typed() const {
    Candidate c;
    std::copy(byte_.begin(), byte_.begin() + count_, c.vin.begin());
    c.length = static_cast<std::uint8_t>(count_);
    return c;
  }

  bool substitute(EditKind kind, std::uint8_t i, char put) {
    if (put == byte_[i] || !possible(count_, i, put)) return false;
    Candidate c = typed();
    c.kind = kind;
    c.vin[i] = put;
    c.at = {i, 0};
    c.changed = 1;
    return keep(c);
  }

  bool try_look_alikes() {
    return each_position(count_, [&](std::uint8_t i) {
      return each_look_alike(i, [&](char put) { return substitute(EditKind::look_alike, i, put); });
    });
  }

  bool swaps() {
    return each_position(count_ - 1, [&](std::uint8_t i) {
      if (byte_[i] == byte_[i + 1]) return false;
      Candidate c = typed();
      c.kind = EditKind::swap;
      std::swap(c.vin[i], c.vin[i + 1]);
      c.at = {i, static_cast<std::uint8_t>(i + 1)};
      c.changed = 2;
      return keep(c);
    });
  }

  // Not in a 13-character sequence number: no decoder reads it, so any digit
  // there would be a guess.
  bool substitutions() {
    return each_position(count_ == 13 ? sequence_start(13) : count_, [&](std::uint8_t i) {
      const LookAlikes &alike = look_alikes[static_cast<unsigned char>(byte_[i])];
      for (char put : vin_characters)
        if (!alike.contains(put) && substitute(EditKind::substitution, i, put)) return true;
      return false;
    });
  }

  void two_look_alikes() {
    for (std::uint8_t i = 0; i < count_; ++i)
      for (std::uint8_t j = i + 1; j < count_; ++j)
        if (each_look_alike(i, [&](char a) {
              return each_look_alike(j, [&](char b) {
                if (!possible(count_, i, a) || !possible(count_, j, b)) return false;
                Candidate c = typed();
                c.kind = EditKind::two_look_alikes;
                c.vin[i] = a;
                c.vin[j] = b;
                c.at = {i, j};
                c.changed = 2;
                return keep(c);
              });
            }))
          return;
  }

  // A removal of a character that repeats its neighbour comes first: a doubled
  // key is the commonest extra character.
  void removals() {
    for (int pass = 0; pass < 2; ++pass)
      for (std::uint8_t i = 0; i < count_; ++i) {
        const bool doubled =
            (i > 0 && byte_[i - 1] == byte_[i]) || (i + 1u < count_ && byte_[i + 1] == byte_[i]);
        if (doubled != (pass == 0)) continue;
        Candidate c;
        for (std::size_t k = 0; k < count_; ++k)
          if (k != i) c.vin[c.length++] = byte_[k];
        c.kind = EditKind::removal;
        c.at = {i, 0};
        if (keep(c)) return;
      }
  }

  // A character that doubles its neighbour comes first: a repeated key is the
  // one most often typed once. In a 13-character VIN, a character put into the
  // sequence number (from position 8, the plant digit that leads it) comes after
  // those put before it: any digit there decodes, so such a VIN is one guess
  // among many.
  void insertions() {
    const std::size_t sequence = count_ + 1 == 13 ? sequence_start(13) - 1 : count_ + 1;
    for (int pass = 0; pass < 3; ++pass)
      for (std::uint8_t i = 0; i <= count_; ++i) {
        if ((i < sequence) != (pass < 2)) continue;
        for (char put : vin_characters) {
          if (!possible(count_ + 1, i, put)) continue;
          const bool doubles = (i > 0 && byte_[i - 1] == put) || (i < count_ && byte_[i] == put);
          if (pass < 2 && doubles != (pass == 0)) continue;
          Candidate c;
          for (std::size_t k = 0; k <= count_; ++k) {
            if (k == i) c.vin[c.length++] = put;
            if (k < count_) c.vin[c.length++] = byte_[k];
          }
          c.kind = EditKind::insertion;
          c.at = {i, 0};
          c.changed = 1;
          if (keep(c)) return;
        }
      }
  }

  // Every way to fill the unreadable characters that decodes cleanly. Those in a
  // 13-character sequence number stay unknown: any digit decodes the same.
  const std::vector<Candidate> &fill() {
    Candidate c = typed();
    std::array<std::uint8_t, max_typed> open{};
    std::size_t open_count = 0;
    bool unknown_digits = false;
    for (std::uint8_t i = 0; i < count_; ++i) {
      if (byte_[i] != unreadable) continue;
      if (count_ == 13 && i >= sequence_start(13)) {
        unknown_digits = true;
        c.vin[i] = '0';
      } else {
        open[open_count++] = i;
      }
    }
    if (open_count > max_unreadable) return found_;
    c.kind = unknown_digits ? EditKind::unknown_digit : EditKind::filled;
    const auto put_back = [&](Candidate &k) {
      if (unknown_digits)
        for (std::uint8_t i = static_cast<std::uint8_t>(sequence_start(13)); i < 13; ++i)
          if (byte_[i] == unreadable) k.vin[i] = unreadable;
    };
    const auto try_fill = [&](Candidate &k) {
      if (!decodes_cleanly(k.key())) return false;
      Candidate kept = k;
      put_back(kept);
      found_.push_back(kept);
      return found_.size() == max_filled;
    };
    if (open_count == 0) {
      try_fill(c);
      return found_;
    }
    for (char a : vin_characters) {
      if (!possible(count_, open[0], a)) continue;
      c.vin[open[0]] = a;
      if (open_count == 1) {
        if (try_fill(c)) break;
        continue;
      }
      if (dead_end(c, open[1])) continue;
      bool full = false;
      for (char b : vin_characters)
        if (possible(count_, open[1], b)) {
          c.vin[open[1]] = b;
          if ((full = try_fill(c))) break;
        }
      if (full) break;
    }
    return found_;
  }

  // Whether a candidate with the character at `open` still unreadable is
  // rejected, for every model year, at some other position: then no character
  // there can make it decode. The checks test one position each, in order; but
  // positions 1, 2, 4 and 5 of a 13-character VIN also choose the model year
  // and the decoder, so a character there is never ruled out this way.
  static bool dead_end(const Candidate &c, std::size_t open) {
    if (c.length == 13 && (open <= 1 || open == 3 || open == 4)) return false;
    Candidate k = c;
    k.vin[open] = unreadable;
    k.vin[k.length] = '\0';
    const auto rejected_elsewhere = [&](const Messages &messages) {
      return std::any_of(messages.begin(), messages.end(), [&](const Message &m) {
        return !m.goes_on && m.position != 0 && m.position != open + 1;
      });
    };
    if (k.length == 17) return rejected_elsewhere(decode_17(k.vin.data()).messages);
    const report::YearSettlement settled = report::settle_model_year(k.key());
    if (!settled.asks)
      return rejected_elsewhere(decode_13(settled.model_year, k.vin.data()).messages);
    return std::all_of(settled.candidates.begin(), settled.candidates.end(), [&](int year) {
      return rejected_elsewhere(decode_13(year, k.vin.data()).messages);
    });
  }

  // Keeps the candidate when it decodes cleanly and is not one already found. True
  // once enough are found.
  bool keep(const Candidate &c) {
    if (!decodes_cleanly(c.key())) return false;
    for (const Candidate &f : found_)
      if (f.key() == c.key()) return false;
    found_.push_back(c);
    return found_.size() == max_suggestions;
  }

  std::array<std::string_view, max_typed> text_{};
  std::array<char, max_typed> byte_{};
  std::array<bool, max_typed> suspect_{};
  std::size_t count_ = 0;
  std::vector<Candidate> found_;
};

std::size_t character_count(std::string_view vin) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < vin.size(); i += next_code_point(vin, i).length) ++count;
  return count;
}

// The positions a decode points at: where a decoder stopped, and the positions of
// the fields it found nothing for.
void mark_suspects(Search &search, const VinDecode &decode) {
  for (std::size_t i = 0; i < decode.result_count(); ++i) {
    const Result a = decode.result(i);
    for (const Message &m : *a.messages)
      if (m.position != 0) search.suspect(m.position - 1u);
    if (a.status != Status::incomplete) continue;
    for (const PositionMeaning &p : position_meanings(decode, i))
      if (!p.field.empty() && p.field != "sequence" && !p.text) search.suspect(p.position - 1u);
  }
  if (decode.read().size() == 13 && !decode.sequence_warning().empty())
    for (std::size_t i = sequence_start(13); i < 13; ++i) search.suspect(i);
}

// The meaning of one position: "engine", its text in the decode as read (from the
// result of the same model year, where that has a report) and in the suggestion.
std::string meaning_of(const PositionMeaning &after, const PositionMeanings *before) {
  if (after.field.empty() || after.field == "sequence") return {};
  // The field's name in words: "model", "vehicle type".
  std::string meaning = after.field == "trans"  ? std::string("transmission")
                        : after.field == "year" ? std::string("model year")
                                                : std::string(after.field);
  std::replace(meaning.begin(), meaning.end(), '_', ' ');
  meaning += ": ";
  if (before != nullptr) {
    const PositionMeaning &b = before->items[after.position - 1u];
    if (b.text && after.text && *b.text != *after.text) {
      meaning += b.text->empty() ? std::string("(blank)") : *b.text;
      meaning += " -> ";
    }
  }
  meaning += !after.text ? std::string("?") : after.text->empty() ? "(blank)" : *after.text;
  return meaning;
}

// The suggestions of one candidate: one for each car its clean model years
// decode as (the same report), each with the changes and their meanings.
// `decode` is the search's own, for the candidate.
void describe(std::vector<Suggestion> &out, const Search &search, const Candidate &c,
              const VinDecode &typed, VinDecode &decode) {
  std::string vin(c.key());
  decode.decode(vin, 0);
  if (c.kind == EditKind::unknown_digit) {
    // Any digit decodes the same; the car is that of the sequence number's zeros.
    std::string zeros = vin;
    std::replace(zeros.begin(), zeros.end(), unreadable, '0');
    decode.decode(zeros, 0);
  }
  std::vector<std::string> reports;
  std::string report;
  for (std::size_t i = 0; i < decode.result_count(); ++i) {
    const Result a = decode.result(i);
    if (a.status != Status::decoded) continue;
    int year = 1900 + a.model_year;
    if (a.model_year == 0) {
      const std::string_view text =
          decode.fields13(i) != nullptr ? decode.fields13(i)->year : decode.fields17()->year;
      if (std::from_chars(text.data(), text.data() + text.size(), year).ec != std::errc()) continue;
    }
    report.clear();
    decode.append_report(report, i, "\n");
    const auto same = std::find(reports.begin(), reports.end(), report);
    if (same != reports.end()) {
      out[out.size() - reports.size() + static_cast<std::size_t>(same - reports.begin())]
          .model_years.push_back(year);
      continue;
    }
    reports.push_back(report);
    Suggestion &s = out.emplace_back();
    s.vin = vin;
    s.kind = c.kind;
    s.model_years.push_back(year);
    std::string_view line(a.report->lines[0].data(), a.report->lengths[0]);
    s.summary = line.substr(0, line.find_last_not_of(' ') + 1);

    // The meanings come from this result and the typed VIN's result of the same
    // model year, where that has a report and the positions line up.
    const PositionMeanings after = position_meanings(decode, i);
    std::optional<PositionMeanings> before;
    if (c.kind != EditKind::removal && c.kind != EditKind::insertion)
      for (std::size_t k = 0; k < typed.result_count(); ++k) {
        const Result t = typed.result(k);
        if (t.model_year == a.model_year &&
            (t.status == Status::decoded || t.status == Status::incomplete))
          before = position_meanings(typed, k);
      }
    const auto change = [&](std::size_t index, std::string before_text, std::string after_text) {
      Change &ch = s.changes.emplace_back();
      ch.position = static_cast<std::uint8_t>(index + 1);
      ch.before = std::move(before_text);
      ch.after = std::move(after_text);
      if (ch.after == std::string_view(&unreadable, 1))
        ch.meaning = "sequence number: a digit nobody can read";
      else if (!ch.after.empty() && index < after.count)
        ch.meaning = meaning_of(after.items[index], before ? &*before : nullptr);
    };
    switch (c.kind) {
      case EditKind::removal: change(c.at[0], std::string(search.text(c.at[0])), {}); break;
      case EditKind::insertion: change(c.at[0], {}, std::string(1, c.vin[c.at[0]])); break;
      case EditKind::filled:
      case EditKind::unknown_digit:
        for (std::size_t k = 0; k < c.length; ++k)
          if (search.text(k) == std::string_view(&unreadable, 1))
            change(k, std::string(1, unreadable), std::string(1, c.vin[k]));
        break;
      default:
        for (std::size_t k = 0; k < c.changed; ++k)
          change(c.at[k], std::string(search.text(c.at[k])), std::string(1, c.vin[c.at[k]]));
        break;
    }
  }
}

}  // namespace

std::string_view look_alikes_of(char c) {
  return look_alikes[static_cast<unsigned char>(c)].view();
}

std::string_view edit_kind_name(EditKind kind) {
  switch (kind) {
    case EditKind::look_alike: return "look_alike";
    case EditKind::swap: return "swap";
    case EditKind::removal: return "removal";
    case EditKind::insertion: return "insertion";
    case EditKind::substitution: return "substitution";
    case EditKind::two_look_alikes: return "two_look_alikes";
    case EditKind::filled: return "filled";
    case EditKind::unknown_digit: break;
  }
  return "unknown_digit";
}

bool decodes_cleanly(std::string_view vin) {
  const std::size_t length = vin.size();
  if (length != 13 && length != 17) return false;
  for (std::size_t i = 0; i < length; ++i)
    if (!possible(length, i, vin[i])) return false;
  std::array<char, 18> text{};
  std::copy(vin.begin(), vin.end(), text.begin());
  if (length == 17) {
    // The check digit is cheaper than the decode and rules out ten in eleven.
    if (!check_digit_of(vin).valid()) return false;
    const Decode17Result r = decode_17(text.data());
    return r.report.line_count != 0 && r.messages.count == 0 && all_found(r.vin17_fields);
  }
  const report::YearSettlement settled = report::settle_model_year(vin);
  if (!settled.asks) return clean13(settled.model_year, text.data());
  return std::any_of(settled.candidates.begin(), settled.candidates.end(), [&](int year) {
    return clean13(year, text.data());
  });
}

bool wants_suggestions(const VinDecode &decode) {
  if (!decode.error().empty()) {
    if (decode.error() != report::length_message) return false;
    const std::size_t count = character_count(decode.read());
    return count == 12 || count == 14 || count == 16 || count == 18;
  }
  return !decode.clean();
}

std::vector<Suggestion> suggestions_for(const VinDecode &decode) {
  std::vector<Suggestion> suggestions;
  if (!wants_suggestions(decode) || decode.read().find('\0') != std::string_view::npos)
    return suggestions;
  Search search(decode.read());
  mark_suspects(search, decode);
  std::unique_ptr<VinDecode> scratch;  // this search's own, made when there is a find
  for (const Candidate &c : search.run()) {
    if (!scratch) scratch = std::make_unique<VinDecode>();
    describe(suggestions, search, c, decode, *scratch);
  }
  return suggestions;
}

void append_change_text(std::string &out, const Change &change) {
  out += "position ";
  out += std::to_string(change.position);
  out += ": ";
  if (change.after.empty()) {
    out += change.before;
    out += " removed";
  } else if (change.before.empty()) {
    out += change.after;
    out += " inserted";
  } else {
    out += change.before;
    out += " -> ";
    out += change.after;
  }
  if (!change.meaning.empty()) {
    out += " [";
    out += change.meaning;
    out += ']';
  }
}

void append_suggestion_text(std::string &out, const Suggestion &suggestion) {
  out += suggestion.vin;
  out += " (";
  for (std::size_t i = 0; i < suggestion.changes.size(); ++i) {
    if (i != 0) out += ", ";
    append_change_text(out, suggestion.changes[i]);
  }
  out += ')';
}

void append_suggestions_text(std::string &out, std::span<const Suggestion> suggestions) {
  // One VIN that is two cars whose changes mean the same in both reads alike:
  // written once.
  std::string previous, text;
  for (std::size_t i = 0; i < suggestions.size(); ++i) {
    text.clear();
    append_suggestion_text(text, suggestions[i]);
    if (i != 0 && text == previous) continue;
    if (i != 0) out += "; ";
    out += text;
    previous.swap(text);
  }
}

}  // namespace kordel::record
