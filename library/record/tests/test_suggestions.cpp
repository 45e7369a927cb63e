// The VINs offered for one that does not decode: which edits, in which order,
// how many, and that every one of them decodes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "suggestions.h"

using namespace kordel::record;

namespace {

std::vector<Suggestion> suggest(std::string_view vin) {
  VinDecode decode;
  decode.decode(vin, 0);
  return suggestions_for(decode);
}

std::vector<std::string> texts(const std::vector<Suggestion> &suggestions) {
  std::vector<std::string> out;
  for (const Suggestion &s : suggestions) append_suggestion_text(out.emplace_back(), s);
  return out;
}

}  // namespace

TEST(Suggestions, RankingByKindPositionAndCharacter) {
  struct Case {
    const char *typed;
    std::vector<std::string> expected;  // as `--format csv` joins them
  };
  const Case cases[] = {
      // A look-alike (B for 8) comes before the other substitutions at the same
      // position; one VIN that is two cars (1968 Ambassador, 1978 Matador) is two
      // suggestions, each change with what it means in that car.
      {"A8AB55H100001",
       {"A8A855H100001 (position 4: B -> 8 [model: Ambassador])",
        "A8A855H100001 (position 4: B -> 8 [model: Matador])",
        "A8A455H100001 (position 4: B -> 4 [model: Gremlin])"}},
      // Two neighbours swapped: a swap comes before the substitutions.
      {"1AMMC3875BK100021",
       {"1AMCM3875BK100021 (position 4: M -> C [engine: AMC 4.2l (258cid) 2v I6], position 5: "
        "C -> M [transmission: 4spd manual floor shift )])"}},
      // A doubled character: removing either copy gives one VIN, named at the first.
      {"1AMCM38775BK100021", {"1AMCM3875BK100021 (position 8: 7 removed)"}},
      // A doubled character inside a run: named at the run's first copy.
      {"1AMCM3875BK1000021", {"1AMCM3875BK100021 (position 13: 0 removed)"}},
      // A dropped character: by position, then by character.
      {"1AMCM387BK100021",
       {"1AMCM3857BK100021 (position 8: 5 inserted [restraints: DL interior and seatbelts])",
        "1AMCM3875BK100021 (position 9: 5 inserted [check digit: 5])"}},
      // A dropped character that doubles its neighbour comes first, then by position.
      {"1AMCM3875BK10021",
       {"1AMCM3875BK100021 (position 13: 0 inserted)",
        "1AMCM3875BK810021 (position 12: 8 inserted)",
        "1AMCM3875BK100231 (position 16: 3 inserted)",
        "1AMCM3875BK100214 (position 17: 4 inserted)"}},
      // A check digit that does not compute: the swap first, substitutions ranked
      // by position; the meanings name what the change makes of the car.
      {"1AMCM3877BK100021",
       {"1AMCM3877BK100201 (position 15: 0 -> 2, position 16: 2 -> 0)",
        "1AMCM0877BK100021 (position 6: 3 -> 0 [model: Eagle 4wd 4 dr wagon -> Concord 4 door "
        "wagon])",
        "1AMCM3857BK100021 (position 8: 7 -> 5 [restraints: Limited interior and seatbelts -> "
        "DL interior and seatbelts])",
        "1AMCM3875BK100021 (position 9: 7 -> 5 [check digit: 7 -> 5])",
        "1AMCM3877JK100021 (position 10: B -> J [model year: 1981 -> 1988])"}},
      // Typed in lower case with blanks and dashes: the change names the character as read.
      {"1amc-m387 5bk10o021", {"1AMCM3875BK100021 (position 14: O -> 0)"}},
      // A letter in a 13-character sequence number is a slip for the digit it looks
      // like, and only that: no other digit is guessed there.
      {"A1F031B0000O1", {"A1F031B000001 (position 12: O -> 0)"}},
      // ... and every digit for a letter that looks like none.
      {"A1F031B00X001",
       {"A1F031B000001 (position 10: X -> 0)",
        "A1F031B001001 (position 10: X -> 1)",
        "A1F031B002001 (position 10: X -> 2)",
        "A1F031B003001 (position 10: X -> 3)",
        "A1F031B004001 (position 10: X -> 4)"}},
      // An unknown body code (incomplete): the position the report found nothing
      // for is tried first, and only VINs that decode cleanly come back.
      {"A0A8S7H123442",
       {"A0A857H123442 (position 5: S -> 5 [body: 4dr sedan])",
        "A0A867H123442 (position 5: S -> 6 [body: 2drsedan])",
        "A0A887H123442 (position 5: S -> 8 [body: 4dr wagon])"}},
      // The position a decoder stopped at comes first: Q -> 0 is the look-alike,
      // then other characters there.
      {"A1F031BQ00011",
       {"A1F031B000011 (position 8: Q -> 0 [plant: Kenosha])",
        "A1F031B100011 (position 8: Q -> 1 [plant: Kenosha])",
        "A1F031B200011 (position 8: Q -> 2 [plant: Kenosha])",
        "A1F031B300011 (position 8: Q -> 3 [plant: Kenosha])",
        "A1F031B400011 (position 8: Q -> 4 [plant: Kenosha])"}},
      // Nothing one edit away decodes: two look-alikes (S for 5, O for 0).
      {"A0A8S7H1234O2",
       {"A0A857H123402 (position 5: S -> 5 [body: 4dr sedan], position 12: O -> 0)"}},
      // Nothing within two look-alikes either.
      {"A8A8ZZZ100001", {}},
      // Unreadable characters: every filling that decodes cleanly, from what the
      // position accepts; "*" and "_" are read as "?".
      // (The AMX's body is a fixed text: position 5 names no field of it.)
      {"A9M3*7S567860", {"A9M397S567860 (position 5: ? -> 9)"}},
      {"1AMCM3_75BK100021",
       {"1AMCM3875BK100021 (position 7: ? -> 8 [model: Eagle 4wd 4 dr wagon])"}},
      // An unreadable sequence digit of 13 characters: the car, the digit unknown.
      {"A1F031B00?001",
       {"A1F031B00?001 (position 10: ? -> ? [sequence number: a digit nobody can read])"}},
      // VINs that want none: decoded cleanly, or too far off in length.
      {"1AMCM3875BK100021", {}},
      {"A1F031B300011", {}},
      {"a1f-031-b30 0011", {}},
      {"A8A855H1001", {}},
      {"A8A855H100001XY", {}},
  };
  for (const Case &c : cases) EXPECT_EQ(texts(suggest(c.typed)), c.expected) << c.typed;
}

TEST(Suggestions, CarryKindYearsAndSummary) {
  // One VIN, two cars: each suggestion lists only the years of its own report.
  const std::vector<Suggestion> s = suggest("A9M0G7A181942");
  ASSERT_GE(s.size(), 2u);
  EXPECT_EQ(s[0].vin, "A9M067A181942");
  EXPECT_EQ(s[0].kind, EditKind::look_alike);
  EXPECT_EQ(s[0].model_years, (std::vector<int>{1968, 1969}));
  EXPECT_EQ(s[0].summary, "1969 AMC  S/C Rambler 2drsedan");
  EXPECT_EQ(s[1].vin, "A9M067A181942");
  EXPECT_EQ(s[1].model_years, (std::vector<int>{1978, 1979, 1980}));
  EXPECT_EQ(s[1].summary, "1979 AMC Concord   2drsedan");

  // Two cars (1968 Ambassador, 1978 Matador) whose change reads the same: the
  // CSV's column names the VIN once.
  const std::vector<Suggestion> removal = suggest("A8A8555H100001");
  ASSERT_EQ(removal.size(), 2u);
  std::string joined;
  append_suggestions_text(joined, removal);
  EXPECT_EQ(joined, "A8A855H100001 (position 5: 5 removed)");

  EXPECT_EQ(suggest("1AMMC3875BK100021")[0].kind, EditKind::swap);
  EXPECT_EQ(suggest("1AMCM387BK100021")[0].kind, EditKind::insertion);
  EXPECT_EQ(suggest("A8A8555H100001")[0].kind, EditKind::removal);
  EXPECT_EQ(suggest("A0A8S7H1234O2")[0].kind, EditKind::two_look_alikes);
  EXPECT_EQ(suggest("A9M3?7S567860")[0].kind, EditKind::filled);
  EXPECT_EQ(suggest("A1F031B00?001")[0].kind, EditKind::unknown_digit);
}

// Whatever is typed, every suggestion decodes cleanly: only 0-9 and A-Z (never I,
// O or Q in 17), every field found, no message, a check digit that computes.
TEST(Suggestions, EverySuggestionDecodesCleanly) {
  std::size_t count = 0;
  for (const char *typed : {"A8AB55H100001",
                            "A0A8S7H123442",
                            "A1F03lBQ00011",
                            "A9A43OA100001",
                            "AXA857H100001",
                            "A8S88PP700013",
                            "A5085TN733419",
                            "A5E66TKB44600",
                            "a8a-88ppk5757",
                            "1AMCA0507IK123456",
                            "1AMCW385ODK100001",
                            "2CMCA0507BK12345",
                            "1AMCA05O7BK1234567",
                            "1AMCM3??5BK100021",
                            "A0A0??A100001",
                            "A0A857H1234421"}) {
    for (const Suggestion &s : suggest(typed)) {
      EXPECT_TRUE(decodes_cleanly(s.vin)) << typed << " -> " << s.vin;
      EXPECT_EQ(s.vin.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos);
      if (s.vin.size() == 17) {
        EXPECT_EQ(s.vin.find_first_of("IOQ"), std::string::npos);
      }
      EXPECT_FALSE(s.model_years.empty());
      ++count;
    }
  }
  EXPECT_GE(count, 30u);  // the inputs above do get suggestions
}

TEST(Suggestions, DecodesCleanly) {
  const std::pair<const char *, bool> cases[] = {
      {"A1F031B300011", true},
      {"1AMCM3875BK100021", true},
      {"A0A8S7H123442", false},      // a body code without a row
      {"A9X855H100001", false},      // a decoder message beside the report
      {"A1F031B0000O1", false},      // a letter in the sequence number
      {"1AMCM3877BK100021", false},  // a check digit that does not compute
      {"1AMCM3875BK1O0021", false},  // O in 17 characters
      {"a1f031b300011", false},      // what it is handed must be read already
  };
  for (const auto &[vin, clean] : cases) EXPECT_EQ(decodes_cleanly(vin), clean) << vin;
}
