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
  std::string_view meaning = {};  // checked where given
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
    if (!e.meaning.empty()) {
      EXPECT_EQ(m.meaning, e.meaning);
    }
  }
}

}  // namespace

TEST(Positions, ThirteenCharacters) {
  VinDecode decode;
  decode.decode("a8a8s5h100021", 0);  // S names no body
  ASSERT_EQ(decode.result(0).status, Status::incomplete);
  EXPECT_EQ(position_meanings(decode, 0).count, 13u);
  expect_positions(decode,
                   0,
                   {{1, "A", "make", "AMC"},
                    {2, "8", "year", "1968"},
                    {3, "A", "trans", "3 speed auto on column"},
                    {4, "8", "model", "Ambassador"},
                    {5, "S", "body", std::nullopt},
                    {6, "5", "series", "DPL"},
                    {7, "H", "engine", "304 2v"},
                    {8, "1", "plant", "Kenosha"},
                    {9, "0", "sequence", "21"},
                    {13, "1", "sequence", "21"}});
  // Each model year tried has its own meanings.
  decode.decode("A8A855H700021", 0);
  ASSERT_EQ(decode.result_count(), 2u);
  expect_positions(decode,
                   1,
                   {{2, "8", "year", "1978"},
                    {4, "8", "model", "Matador"},
                    {8, "7", "plant", "Brampton"},
                    {13, "1", "sequence", "21"}});
}

// The corrections the tables call for, worked out from them by hand.
TEST(Positions, ThirteenCharactersByTheTables) {
  VinDecode decode;
  // Rebel engine Y names the series "Machine": position 6 does not.
  decode.decode("A9A160Y100001", 0);
  expect_positions(
      decode,
      0,
      {{6, "0", "series", "", "series, overruled by the engine code"},
       {7, "Y", "engine", "390 4v (340hp)", "engine, which also names the series \"Machine\""}});
  // Rambler series 7 of 1969 blanks the model name; position 4 still chose Rambler.
  decode.decode("A9M067N100001", 0);
  expect_positions(
      decode,
      0,
      {{4, "0", "model", "Rambler"},
       {6, "7", "series", "S/C Rambler", "series, which also sets the model name to \"\""}});
  // The Matador's series is a fixed text: only the body-class check reads position 6.
  decode.decode("A5A85TN733419", 0);
  expect_positions(decode, 0, {{6, "T", "", std::nullopt, "body class, checked: accepts 57PT"}});
}

TEST(Positions, SeventeenCharacters) {
  VinDecode decode;
  decode.decode("1AMCM3666BK100021", 0);
  expect_positions(decode,
                   0,
                   {{1, "1", "", std::nullopt, "checked: accepts 12"},
                    {2, "A", "", std::nullopt, "checked: accepts AC"},
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
