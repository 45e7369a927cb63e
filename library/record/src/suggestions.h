// "Did you mean": the VINs near one that does not decode cleanly. People copy
// these VINs off worn plates and take them down over the phone, so the edits tried
// are the usual slips: a look-alike character, two neighbours swapped, a character
// dropped or doubled, any other character, and two look-alikes; a character nobody
// could read ("?") is filled in. Pure: no I/O.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vin_decode.h"

namespace kordel::record {

// The kinds of edit, in the order their suggestions come. `filled`: unreadable
// characters filled in; `unknown_digit`: the same, where only the digits of a
// 13-character sequence number are unreadable (the car is known, the number not).
enum class EditKind : std::uint8_t {
  look_alike,
  swap,
  removal,
  insertion,
  substitution,
  two_look_alikes,
  filled,
  unknown_digit,
};

// "look_alike", "swap", "removal", "insertion", "substitution", "two_look_alikes",
// "filled" or "unknown_digit".
std::string_view edit_kind_name(EditKind kind);

// One changed position. A removal has no `after`, an insertion no `before`.
struct Change {
  std::uint8_t position = 0;  // 1-based; an insertion's position in the suggested VIN
  std::string before;         // the character as read (UTF-8), empty for an insertion
  std::string after;          // the character put there, empty for a removal; "?" for
                              // a sequence digit left unknown
  // What the change means, "engine: 304 2v -> 360 4v": what the position encodes,
  // and its text in the VIN as read (where that decoded) and in the suggestion.
  std::string meaning;
};

// One car a suggested VIN decodes as: a VIN that decodes as different cars for
// different model years gives one suggestion each.
struct Suggestion {
  std::string vin;  // upper-case; "?" only in an unknown_digit's sequence number
  EditKind kind = EditKind::substitution;
  std::vector<Change> changes;   // two for a swap and two look-alikes, one a character filled
  std::vector<int> model_years;  // four-digit years whose report `summary` summarises
  std::string summary;           // line 1 of that report, without trailing blanks
};

// VINs suggested for a slip; unreadable characters get every VIN that fits.
inline constexpr std::size_t max_suggestions = 5;

// The characters that look like c (upper-case), in the order ties are broken;
// empty for a character without look-alikes.
std::string_view look_alikes_of(char c);

// Whether `decode` is a VIN that gets suggestions: one of 13 or 17 characters that
// is not clean (VinDecode::clean()), or one character short of or beyond that.
bool wants_suggestions(const VinDecode &decode);

// Whether a VIN of 13 or 17 upper-case characters decodes cleanly: only 0-9 and
// A-Z (never I, O or Q in 17), a sequence number of digits, for some model year a
// report with every field found and no decoder message, and with 17 characters a
// check digit that computes. What every suggestion is.
bool decodes_cleanly(std::string_view vin);

// The best VINs near the VIN as read that decode cleanly. Unreadable characters
// are filled in every way that decodes cleanly. Otherwise the edits come kind by
// kind: look-alike substitutions, then swaps, removals (a character that repeats
// its neighbour first) and insertions, other substitutions; two look-alikes only
// when none of these decodes. Within a kind, edits at the position a decoder
// stopped at or found nothing for come first, then by position and character; at
// most max_suggestions VINs. Empty when the VIN wants none. --year plays no part.
std::vector<Suggestion> suggestions_for(const VinDecode &decode);

// "position 9: 7 -> 5", "position 9: 7 removed", "position 9: 5 inserted", each
// followed by its meaning where it has one: "position 7: H -> N [engine: 304 2v
// -> 360 4v]".
void append_change_text(std::string &out, const Change &change);

// "1AMCM3875BK100021 (position 9: 7 -> 5)", a swap's two changes joined with ", ".
void append_suggestion_text(std::string &out, const Suggestion &suggestion);

// The suggestions as the CSV's column holds them: each as above, joined with "; ";
// one that reads as the one before it (the same VIN as another car, its changes
// meaning the same) is left out.
void append_suggestions_text(std::string &out, std::span<const Suggestion> suggestions);

}  // namespace kordel::record
