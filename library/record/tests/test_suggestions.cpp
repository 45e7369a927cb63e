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
      // A look-alike (B for 8) comes before the other substitutions at the same position.
      {"A8AB55H100001",
       {"A8A855H100001 (position 4: B -> 8)",
        "A8A155H100001 (position 4: B -> 1)",
        "A8A455H100001 (position 4: B -> 4)"}},
      // Two neighbours swapped: a swap comes before the substitutions.
      {"A8A585H100001",
       {"A8A855H100001 (position 4: 5 -> 8, position 5: 8 -> 5)",
        "A8A185H100001 (position 4: 5 -> 1)",
        "A8A485H100001 (position 4: 5 -> 4)",
        "A8A885H100001 (position 4: 5 -> 8)"}},
      {"1AMMC3875BK100021", {"1AMCM3875BK100021 (position 4: M -> C, position 5: C -> M)"}},
      // A doubled character: removing either copy gives one VIN, named at the first.
      {"A8A8555H100001", {"A8A855H100001 (position 5: 5 removed)"}},
      {"1AMCM38775BK100021", {"1AMCM3875BK100021 (position 8: 7 removed)"}},
      // A dropped character: by position, then by character.
      {"1AMCM387BK100021",
       {"1AMCM3857BK100021 (position 8: 5 inserted)",
        "1AMCM3875BK100021 (position 9: 5 inserted)"}},
      // A check digit that does not compute: substitutions ranked by position, the
      // swap first; no letter is put into the sequence number.
      {"1AMCM3877BK100021",
       {"1AMCM3877BK100201 (position 15: 0 -> 2, position 16: 2 -> 0)",
        "1AMCM0877BK100021 (position 6: 3 -> 0)",
        "1AMCM3857BK100021 (position 8: 7 -> 5)",
        "1AMCM3875BK100021 (position 9: 7 -> 5)",
        "1AMCM3877JK100021 (position 10: B -> J)"}},
      // Typed in lower case: the change names the character as typed.
      {"1amcm3875bk10o021", {"1AMCM3875BK100021 (position 14: o -> 0)"}},
      // At most five, ties by character: Q -> 0 is the look-alike, then 1 to 4.
      {"A1F031BQ00011",
       {"A1F031B000011 (position 8: Q -> 0)",
        "A1F031B100011 (position 8: Q -> 1)",
        "A1F031B200011 (position 8: Q -> 2)",
        "A1F031B300011 (position 8: Q -> 3)",
        "A1F031B400011 (position 8: Q -> 4)"}},
      // Nothing one edit away decodes.
      {"A8A8ZZZ100001", {}},
      {"1AMCM3B77BK1O0021", {}},
      // VINs that want none: decoded with a valid check digit, or too far off in length.
      {"1AMCM3875BK100021", {}},
      {"A8A855H100001", {}},
      // One short of 13: every digit is good at position 8, so the first five win.
      {"A8A855H10001",
       {"A8A855H010001 (position 8: 0 inserted)",
        "A8A855H110001 (position 8: 1 inserted)",
        "A8A855H210001 (position 8: 2 inserted)",
        "A8A855H310001 (position 8: 3 inserted)",
        "A8A855H410001 (position 8: 4 inserted)"}},
      {"A8A855H1001", {}},
      {"A8A855H100001XY", {}},
  };
  for (const Case &c : cases) EXPECT_EQ(texts(suggest(c.typed)), c.expected) << c.typed;
}

TEST(Suggestions, CarryKindYearsAndSummary) {
  const std::vector<Suggestion> s = suggest("A8AB55H100001");
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0].kind, EditKind::look_alike);
  EXPECT_EQ(s[0].model_years, (std::vector<int>{1968, 1978}));
  EXPECT_EQ(s[0].summary, "1968 AMC Ambassador DPL 4dr sedan");
  EXPECT_EQ(s[1].kind, EditKind::substitution);
  EXPECT_EQ(s[1].model_years, (std::vector<int>{1968}));
  EXPECT_EQ(s[2].model_years, (std::vector<int>{1978}));
  EXPECT_EQ(s[2].summary, "1978 AMC Gremlin   4dr sedan");

  const std::vector<Suggestion> swap = suggest("1AMMC3875BK100021");
  ASSERT_EQ(swap.size(), 1u);
  EXPECT_EQ(swap[0].kind, EditKind::swap);
  EXPECT_EQ(swap[0].model_years, (std::vector<int>{1981}));
  EXPECT_EQ(swap[0].summary, "1981 AMC Eagle 4wd 4 dr wagon Passenger car");
  EXPECT_EQ(suggest("1AMCM387BK100021")[0].kind, EditKind::insertion);
  EXPECT_EQ(suggest("A8A8555H100001")[0].kind, EditKind::removal);
}

// Whatever is typed, every suggestion decodes, and a 17-character one has a check
// digit that computes.
TEST(Suggestions, EverySuggestionDecodes) {
  std::size_t count = 0;
  for (const char *typed : {"A8AB55H100001",
                            "A0A8S7H123442",
                            "A1F03lBQ00011",
                            "A9A43OA100001",
                            "AXA857H100001",
                            "A8S88PP700013",
                            "1AMCA0507IK123456",
                            "1AMCW385ODK100001",
                            "2CMCA0507BK12345",
                            "1AMCA05O7BK1234567",
                            "A0A857H1234421"}) {
    for (const Suggestion &s : suggest(typed)) {
      VinDecode decode;
      decode.decode(s.vin, 0);
      EXPECT_TRUE(decode.decoded()) << typed << " -> " << s.vin;
      EXPECT_FALSE(wants_suggestions(decode)) << typed << " -> " << s.vin;
      EXPECT_FALSE(s.model_years.empty());
      ++count;
    }
  }
  EXPECT_GE(count, 20u);  // the inputs above do get suggestions
}
