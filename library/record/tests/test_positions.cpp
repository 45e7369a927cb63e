// What each character of a decoded VIN says, for both schemes.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "positions.h"

using namespace kordel::record;

namespace {

struct Expected {
  int position;
  std::string_view character, field;
  std::optional<std::string_view> text;
};

void expect_positions(const VinDecode &decode, std::size_t result,
                      std::initializer_list<Expected> expected) {
  const PositionMeanings meanings = position_meanings(decode, result);
  for (const Expected &e : expected) {
    SCOPED_TRACE(std::string(decode.vin()) + " position " + std::to_string(e.position));
    const PositionMeaning &m = meanings.items[static_cast<std::size_t>(e.position - 1)];
    EXPECT_EQ(m.position, e.position);
    EXPECT_EQ(m.character, e.character);
    EXPECT_EQ(m.field, e.field);
    EXPECT_EQ(m.text, e.text);
    EXPECT_FALSE(m.meaning.empty());
  }
}

}  // namespace

TEST(Positions, ThirteenCharacters) {
  VinDecode decode;
  decode.decode("a8a8s5h100021", 0);  // S names no body
  ASSERT_EQ(decode.attempt(0).status, Status::decoded);
  EXPECT_EQ(position_meanings(decode, 0).count, 13u);
  expect_positions(decode,
                   0,
                   {{1, "a", "make", "AMC"},
                    {2, "8", "year", "1968"},
                    {3, "a", "trans", "3 speed auto on column"},
                    {4, "8", "model", "Ambassador"},
                    {5, "s", "body", std::nullopt},
                    {6, "5", "series", "DPL"},
                    {7, "h", "engine", "304 2v"},
                    {8, "1", "plant", "Kenosha"},
                    {9, "0", "sequence", "21"},
                    {13, "1", "sequence", "21"}});
  // Each model year tried has its own meanings.
  decode.decode("A8A855H700021", 0);
  ASSERT_EQ(decode.attempt_count(), 2u);
  expect_positions(decode,
                   1,
                   {{2, "8", "year", "1978"},
                    {4, "8", "model", "Matador"},
                    {8, "7", "plant", "Brampton"},
                    {13, "1", "sequence", "21"}});
}

TEST(Positions, SeventeenCharacters) {
  VinDecode decode;
  decode.decode("1AMCM3666BK100021", 0);
  expect_positions(decode,
                   0,
                   {{1, "1", "", std::nullopt},
                    {2, "A", "", std::nullopt},
                    {3, "M", "vehicle_type", "Passenger car"},
                    {4, "C", "engine", "AMC 4.2l (258cid) 2v I6"},
                    {5, "M", "trans", "4spd manual floor shift"},
                    {6, "3", "model", "Eagle 4wd 2 dr sedan"},
                    {7, "6", "model", "Eagle 4wd 2 dr sedan"},
                    {8, "6", "restraints", ""},
                    {9, "6", "check_digit", "6"},
                    {10, "B", "year", "1981"},
                    {11, "K", "plant", "Kenosha WI, USA"},
                    {17, "1", "sequence", "21"}});
}
