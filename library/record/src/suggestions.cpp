#include "suggestions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <memory>

#include "report.h"

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

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// One character of the typed VIN: its text, and the byte the decoders see for it
// (upper-cased; any character beyond ASCII is one that no accepted set holds).
struct Typed {
  std::string_view text;
  char byte;
};

constexpr std::size_t max_typed = 18;

struct Edit {
  EditKind kind;
  std::uint8_t index;  // 0-based: in the typed VIN, or an insertion's in the new one
  char c = '\0';       // the character put in, for substitutions and insertions
};

class Search {
 public:
  explicit Search(std::string_view vin) {
    for (std::size_t i = 0; i < vin.size() && count_ <= max_typed;) {
      const std::size_t n = next_code_point(vin, i).length;
      const char byte = static_cast<unsigned char>(vin[i]) < 0x80 ? upper(vin[i]) : '?';
      if (count_ < max_typed) typed_[count_] = {vin.substr(i, n), byte};
      ++count_;
      i += n;
    }
  }

  std::size_t count() const { return count_; }

  // Tries the edits in ranking order until max_suggestions distinct VINs decode.
  std::vector<Edit> run() {
    switch (count_) {
      case 13:
      case 17:
        for (std::uint8_t i = 0; i < count_; ++i)
          for (char c : look_alikes[static_cast<unsigned char>(typed_[i].byte)].view())
            if (try_edit({EditKind::look_alike, i, c})) return found_;
        for (std::uint8_t i = 0; i + 1u < count_; ++i)
          if (typed_[i].byte != typed_[i + 1].byte && try_edit({EditKind::swap, i})) return found_;
        for (std::uint8_t i = 0; i < count_; ++i) {
          const LookAlikes &alike = look_alikes[static_cast<unsigned char>(typed_[i].byte)];
          for (char c : vin_characters)
            if (c != typed_[i].byte && !alike.contains(c) &&
                try_edit({EditKind::substitution, i, c}))
              return found_;
        }
        break;
      case 14:
      case 18:
        for (std::uint8_t i = 0; i < count_; ++i)
          if (try_edit({EditKind::removal, i})) return found_;
        break;
      case 12:
      case 16:
        for (std::uint8_t i = 0; i <= count_; ++i)
          for (char c : vin_characters)
            if (try_edit({EditKind::insertion, i, c})) return found_;
        break;
      default: break;
    }
    return found_;
  }

  // The suggestion's VIN as text: typed characters as typed but upper-cased.
  std::string text_of(const Edit &edit) const {
    std::string text;
    apply(
        edit,
        [&](std::size_t i) {
          for (char c : typed_[i].text) text += upper(c);
        },
        [&](char c) { text += c; });
    return text;
  }

  std::vector<Change> changes_of(const Edit &edit) const {
    const auto position = [](std::size_t index) { return static_cast<std::uint8_t>(index + 1); };
    const auto typed = [&](std::size_t i) { return std::string(typed_[i].text); };
    const auto upper_typed = [&](std::size_t i) {
      std::string text = typed(i);
      std::transform(text.begin(), text.end(), text.begin(), upper);
      return text;
    };
    const std::size_t i = edit.index;
    switch (edit.kind) {
      case EditKind::look_alike:
      case EditKind::substitution: return {{position(i), typed(i), std::string(1, edit.c)}};
      case EditKind::swap:
        return {{position(i), typed(i), upper_typed(i + 1)},
                {position(i + 1), typed(i + 1), upper_typed(i)}};
      case EditKind::removal: return {{position(i), typed(i), {}}};
      case EditKind::insertion: return {{position(i), {}, std::string(1, edit.c)}};
    }
    return {};
  }

 private:
  // Walks the edited VIN from its first character to its last, calling typed(i)
  // for the typed character i and put(c) for a character the edit puts there.
  template <class Typed, class Put>
  void apply(const Edit &edit, Typed typed, Put put) const {
    const std::size_t at = edit.index;
    for (std::size_t i = 0; i < count_; ++i) {
      switch (edit.kind) {
        case EditKind::look_alike:
        case EditKind::substitution:
          if (i == at)
            put(edit.c);
          else
            typed(i);
          break;
        case EditKind::swap: typed(i == at ? i + 1 : i == at + 1 ? i - 1 : i); break;
        case EditKind::removal:
          if (i != at) typed(i);
          break;
        case EditKind::insertion:
          if (i == at) put(edit.c);
          typed(i);
          break;
      }
    }
    if (edit.kind == EditKind::insertion && at == count_) put(edit.c);
  }

  // Builds the edited VIN as the decoders see it and keeps the edit when that VIN
  // decodes and is not one already found. True once enough are found.
  bool try_edit(const Edit &edit) {
    std::array<char, max_typed + 1> vin{};
    std::size_t n = 0;
    apply(
        edit, [&](std::size_t i) { vin[n++] = typed_[i].byte; }, [&](char c) { vin[n++] = c; });
    vin[n] = '\0';

    if (!sequence_is_number(vin.data(), n) || !decodes(vin.data(), n)) return false;
    const std::string_view key(vin.data(), n);
    if (std::find(keys_.begin(), keys_.end(), key) != keys_.end()) return false;
    keys_.emplace_back(key);
    found_.push_back(edit);
    return found_.size() == max_suggestions;
  }

  // The decoders read no sequence number, but a real tag's is digits: a suggestion
  // never puts a letter there (it does in position 8 of a 13-character VIN, where
  // the plant code K leads the number).
  static bool sequence_is_number(const char *vin, std::size_t length) {
    const std::size_t first = length == 17 ? 11 : 8;
    return std::all_of(vin + first, vin + length, [](char c) { return c >= '0' && c <= '9'; });
  }

  static bool decodes(const char *vin, std::size_t length) {
    if (length == 17) {
      // The check digit is cheaper than the decode and rules out ten in eleven.
      if (!check_digit_of(std::string_view(vin, 17)).valid()) return false;
      return decode_17(vin).report.line_count != 0;
    }
    const report::YearSettlement settled = report::settle_model_year(std::string_view(vin, 13));
    if (!settled.asks) return decode_13(settled.model_year, vin).report.line_count != 0;
    return std::any_of(settled.candidates.begin(), settled.candidates.end(), [&](int year) {
      return decode_13(year, vin).report.line_count != 0;
    });
  }

  std::array<Typed, max_typed> typed_{};
  std::size_t count_ = 0;
  std::vector<std::string> keys_;
  std::vector<Edit> found_;
};

std::size_t character_count(std::string_view vin) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < vin.size(); i += next_code_point(vin, i).length) ++count;
  return count;
}

// The model years a suggested VIN decodes for, and its report's line 1.
void describe(Suggestion &s, VinDecode &decode) {
  decode.decode(s.vin, 0);
  for (std::size_t i = 0; i < decode.attempt_count(); ++i) {
    const Attempt a = decode.attempt(i);
    if (a.status != Status::decoded) continue;
    int year = 1900 + a.model_year;
    if (a.model_year == 0) {
      const std::string_view text =
          decode.fields13(i) != nullptr ? decode.fields13(i)->year : decode.fields17()->year;
      if (std::from_chars(text.data(), text.data() + text.size(), year).ec != std::errc()) continue;
    }
    s.model_years.push_back(year);
    if (s.summary.empty()) {
      std::string_view line(a.report->lines[0].data(), a.report->lengths[0]);
      line = line.substr(0, line.find_last_not_of(' ') + 1);
      s.summary = line;
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
    case EditKind::substitution: break;
  }
  return "substitution";
}

bool wants_suggestions(const VinDecode &decode) {
  if (!decode.error().empty()) {
    if (decode.error() != report::length_message) return false;
    const std::size_t count = character_count(decode.vin());
    return count == 12 || count == 14 || count == 16 || count == 18;
  }
  if (!decode.decoded()) return true;
  return decode.check_digit() && !decode.check_digit()->valid();
}

std::vector<Suggestion> suggestions_for(const VinDecode &decode) {
  std::vector<Suggestion> suggestions;
  if (!wants_suggestions(decode) || decode.vin().find('\0') != std::string_view::npos)
    return suggestions;
  Search search(decode.vin());
  std::unique_ptr<VinDecode> scratch;  // this search's own, made when there is a find
  for (const Edit &edit : search.run()) {
    if (!scratch) scratch = std::make_unique<VinDecode>();
    Suggestion &s = suggestions.emplace_back();
    s.vin = search.text_of(edit);
    s.kind = edit.kind;
    s.changes = search.changes_of(edit);
    describe(s, *scratch);
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
  for (std::size_t i = 0; i < suggestions.size(); ++i) {
    if (i != 0) out += "; ";
    append_suggestion_text(out, suggestions[i]);
  }
}

}  // namespace kordel::record
