// "Did you mean": the VINs one edit away from a VIN that does not decode. People
// copy these VINs off worn plates and take them down over the phone, so the edits
// tried are the usual slips: a look-alike character, two neighbours swapped, a
// character dropped or doubled, and any other character. Pure: no I/O.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vin_decode.h"

namespace kordel::record {

// The kinds of edit, in the order their suggestions come.
enum class EditKind : std::uint8_t { look_alike, swap, removal, insertion, substitution };

// "look_alike", "swap", "removal", "insertion" or "substitution".
std::string_view edit_kind_name(EditKind kind);

// One changed position. A removal has no `after`, an insertion no `before`.
struct Change {
  std::uint8_t position = 0;  // 1-based; an insertion's position in the suggested VIN
  std::string before;         // the character as typed (UTF-8), empty for an insertion
  std::string after;          // the character put there, empty for a removal
};

struct Suggestion {
  std::string vin;  // upper-case
  EditKind kind = EditKind::substitution;
  std::vector<Change> changes;   // two for a swap, one otherwise
  std::vector<int> model_years;  // four-digit years it decodes for, in the order tried
  std::string summary;           // line 1 of its report, without trailing blanks
};

inline constexpr std::size_t max_suggestions = 5;

// The characters that look like c (upper-case), in the order ties are broken;
// empty for a character without look-alikes.
std::string_view look_alikes_of(char c);

// Whether `decode` is a VIN that gets suggestions: one that is rejected or names
// no model line or body, a 17-character VIN whose check digit does not compute,
// or one character short of or beyond 13 or 17 characters.
bool wants_suggestions(const VinDecode &decode);

// The best VINs one edit away from decode's VIN that decode for some model year
// (and, with 17 characters, whose check digit computes): look-alike substitutions
// first, then swaps, removals and insertions, other substitutions; ties by
// position, then by character; at most max_suggestions. Empty when the VIN wants
// none. --year plays no part: a suggestion may decode for any model year.
std::vector<Suggestion> suggestions_for(const VinDecode &decode);

// "position 9: 7 -> 5", "position 9: 7 removed", "position 9: 5 inserted".
void append_change_text(std::string &out, const Change &change);

// "1AMCM3875BK100021 (position 9: 7 -> 5)", a swap's two changes joined with ", ".
void append_suggestion_text(std::string &out, const Suggestion &suggestion);

// The suggestions as the CSV's column holds them: each as above, joined with "; ".
void append_suggestions_text(std::string &out, std::span<const Suggestion> suggestions);

}  // namespace kordel::record
