// The 17-character path through the core: checks, presets, body decoders, lines.
#include <gtest/gtest.h>

#include <string>

#include "decode.h"
#include "vin_test_support.h"

namespace kordel {
namespace {

using test::line;
using test::with;

// Concord 4 dr sedan, 258 with column automatic, base interior, 1981, Kenosha.
const std::string valid = "1AMCA0507BK123456";

TEST(Decode17, ValidVinWritesFiveLines) {
  const Decode17Result r = decode_17(valid.c_str());
  EXPECT_EQ(r.return_code, 1);
  EXPECT_EQ(r.messages.count, 0u);
  ASSERT_EQ(r.report.line_count, 5u);
  EXPECT_EQ(line(r.report, 0), "1981 AMC Concord 4 dr sedan Passenger car  ");
  EXPECT_EQ(line(r.report, 1), "Engine:AMC 4.2l (258cid) 2v I6. Trans: Automatic column shift ");
  EXPECT_EQ(line(r.report, 2), "This was the ");
  EXPECT_EQ(line(r.report, 3), "th car ordered from the  Kenosha WI, USA plant in 1981");
  EXPECT_EQ(line(r.report, 4),
            "This car has Base interior and seatbelts and your check digit is 7.");
}

struct RejectedPosition {
  int position;
  char character;
  const char *message;
};

class Decode17Rejects : public testing::TestWithParam<RejectedPosition> {};

TEST_P(Decode17Rejects, ShowsOneBoxAndWritesNothing) {
  const auto [position, character, message] = GetParam();
  const Decode17Result r = decode_17(with(valid, {{position, character}}).c_str());
  EXPECT_EQ(r.return_code, 1);
  ASSERT_EQ(r.messages.count, 1u);
  EXPECT_EQ(r.messages.items[0].kind, MessageKind::box);
  EXPECT_STREQ(r.messages.items[0].title, "Error");
  EXPECT_STREQ(r.messages.items[0].text, message);
  EXPECT_EQ(r.report.line_count, 0u);
  EXPECT_EQ(r.vin17_fields.make, "") << "presets come only after every check passed";
}

INSTANTIATE_TEST_SUITE_P(
    EveryCheck, Decode17Rejects,
    testing::Values(RejectedPosition{1, '3', "The 1st digit of the vin was invalid."},
                    RejectedPosition{2, 'B', "The 2nd digit of the vin was invalid."},
                    RejectedPosition{3, 'P', "The 3rd digit of the vin was invalid."},
                    RejectedPosition{4, 'A', "The 4th digit of the vin was invalid."},
                    RejectedPosition{5, 'B', "The 5TH digit is a invalid trans code."},
                    RejectedPosition{6, '1', "The 6th digit is a invalid model code."},
                    RejectedPosition{7, '4', "The 7th digit is a invalid model code."},
                    RejectedPosition{8, '1', "The 8th digit is a invalid restraints code."},
                    RejectedPosition{10, 'I', "The 9th digit is a invalid year code."},
                    RejectedPosition{10, 'A', "The 9th digit is a invalid year code."},
                    RejectedPosition{11, 'C', "The 10th digit is a invalid plant code."},
                    // Missing positions of a short VIN are rejected like any foreign character.
                    RejectedPosition{11, '\0', "The 10th digit is a invalid plant code."}));

TEST(Decode17, OnlyTheFirstFailingPositionIsReported) {
  const Decode17Result r = decode_17(with(valid, {{1, '9'}, {10, 'Z'}}).c_str());
  ASSERT_EQ(r.messages.count, 1u);
  EXPECT_STREQ(r.messages.items[0].text, "The 1st digit of the vin was invalid.");
}

TEST(Decode17, ShortVinFailsAtItsFirstMissingPosition) {
  EXPECT_STREQ(decode_17("1AMC").messages.items[0].text, "The 5TH digit is a invalid trans code.");
  EXPECT_STREQ(decode_17("").messages.items[0].text, "The 1st digit of the vin was invalid.");
  // Positions 12 to 17 are never checked: a VIN of 11 characters decodes, with no suffix.
  const Decode17Result r = decode_17(valid.substr(0, 11).c_str());
  ASSERT_EQ(r.report.line_count, 5u);
  EXPECT_EQ(line(r.report, 3), " car ordered from the  Kenosha WI, USA plant in 1981");
}

TEST(Decode17, LowerCaseDecodesAsUpperCase) {
  const Decode17Result lower = decode_17("1amca0507bk123456");
  const Decode17Result upper = decode_17(valid.c_str());
  ASSERT_EQ(lower.report.line_count, 5u);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(line(lower.report, i), line(upper.report, i));
  EXPECT_STREQ(lower.vin17_text, "1AMCA0507BK123456");
}

TEST(Decode17, ReadsOnlyTheFirstSeventeenCharacters) {
  const Decode17Result r = decode_17((valid + "ZZZZ").c_str());
  EXPECT_STREQ(r.vin17_text, valid.c_str());
  EXPECT_EQ(line(r.report, 4),
            "This car has Base interior and seatbelts and your check digit is 7.");
}

TEST(Decode17, CheckDigitIsRepeatedWhateverItIs) {
  for (char c : std::string("0X!~ ?")) {
    const Decode17Result r = decode_17(with(valid, {{9, c}}).c_str());
    ASSERT_EQ(r.report.line_count, 5u) << c;
    EXPECT_EQ(
        line(r.report, 4),
        std::string("This car has Base interior and seatbelts and your check digit is ") + c + ".");
  }
  // The copy is upper-cased before the digit is taken.
  EXPECT_EQ(decode_17(with(valid, {{9, 'x'}}).c_str()).vin17_fields.check_digit, 'X');
}

struct BodyCase {
  char code6, code7;
  const char *model;
};

TEST(Decode17, EveryBodyCodeHasItsModelText) {
  const BodyCase cases[] = {
      {'0', '5', "Concord 4 dr sedan"},
      {'0', '6', "Concord 2 dr sedan"},
      {'0', '8', "Concord 4 door wagon"},
      {'3', '5', "Eagle 4wd 4 door sedan"},
      {'3', '6', "Eagle 4wd 2 dr sedan"},
      {'3', '8', "Eagle 4wd 4 dr wagon"},
      {'4', '3', "Spirit 2 dr liftback"},
      {'4', '6', "Spirit 2 dr sedan"},
      {'5', '3', "Eagle 2 dr liftback SX/4"},
      {'5', '6', "Eagle 2 dr kammback"},
  };
  for (const BodyCase &c : cases) {
    const Decode17Result r = decode_17(with(valid, {{6, c.code6}, {7, c.code7}}).c_str());
    ASSERT_EQ(r.report.line_count, 5u) << c.model;
    EXPECT_EQ(line(r.report, 0), std::string("1981 AMC ") + c.model + " Passenger car  ");
  }
}

TEST(Decode17, AcceptedBodyCodeWithoutDecoderIsSilent) {
  for (const char *code : {"03", "33", "45", "48", "55", "58"}) {
    const Decode17Result r = decode_17(with(valid, {{6, code[0]}, {7, code[1]}}).c_str());
    EXPECT_EQ(r.return_code, 1) << code;
    EXPECT_EQ(r.messages.count, 0u) << code;
    EXPECT_EQ(r.report.line_count, 0u) << code;
  }
}

struct CodeCase {
  int position;
  char code;
  int line_index;
  const char *line;
};

class Decode17Codes : public testing::TestWithParam<CodeCase> {};

TEST_P(Decode17Codes, ShowsItsText) {
  const auto [position, code, line_index, expected] = GetParam();
  const Decode17Result r = decode_17(with(valid, {{position, code}}).c_str());
  ASSERT_EQ(r.report.line_count, 5u);
  EXPECT_EQ(line(r.report, static_cast<std::size_t>(line_index)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCodeRow, Decode17Codes,
    testing::Values(
        CodeCase{3, 'C', 0, "1981 AMC Concord 4 dr sedan MPV ( multi-purpose Vehicle )  "},
        CodeCase{4, 'B', 1, "Engine:2.5 2v I4 Pontiac. Trans: Automatic column shift "},
        CodeCase{5, 'C', 1, "Engine:AMC 4.2l (258cid) 2v I6. Trans: Automatic floor shift "},
        CodeCase{5, 'H', 1, "Engine:AMC 4.2l (258cid) 2v I6. Trans: 4spd manual floor shift "},
        CodeCase{5, 'K', 1, "Engine:AMC 4.2l (258cid) 2v I6. Trans:Automatic floor shift "},
        CodeCase{5, 'M', 1, "Engine:AMC 4.2l (258cid) 2v I6. Trans: 4spd manual floor shift "},
        CodeCase{5, 'N', 1, "Engine:AMC 4.2l (258cid) 2v I6. Trans: 5spd manual floor shift "},
        CodeCase{5, 'W', 1, "Engine:AMC 4.2l (258cid) 2v I6. Trans: 5spd manual floor shift "},
        CodeCase{8, '5', 4, "This car has DL interior and seatbelts and your check digit is 7."},
        CodeCase{
            8, '7', 4, "This car has Limited interior and seatbelts and your check digit is 7."},
        CodeCase{8, '6', 4, "This car has  and your check digit is 7."},
        CodeCase{10, 'C', 3, "th car ordered from the  Kenosha WI, USA plant in 1982"},
        CodeCase{10, 'D', 3, "th car ordered from the  Kenosha WI, USA plant in 1983"},
        CodeCase{10, 'E', 3, "th car ordered from the  Kenosha WI, USA plant in 1984"},
        CodeCase{10, 'F', 3, "th car ordered from the  Kenosha WI, USA plant in 1985"},
        CodeCase{10, 'G', 3, "th car ordered from the  Kenosha WI, USA plant in 1986"},
        CodeCase{10, 'H', 3, "th car ordered from the  Kenosha WI, USA plant in 1987"},
        CodeCase{10, 'J', 0, "1988 AMC Concord 4 dr sedan Passenger car  "},
        CodeCase{11, 'B', 3, "th car ordered from the  Brampton ON, Canada plant in 1981"}));

TEST(Decode17, EagleWagonHasItsOwnFourSpeedText) {
  const std::string manual = with(valid, {{5, 'M'}});
  EXPECT_EQ(decode_17(with(manual, {{6, '3'}, {7, '8'}}).c_str()).vin17_fields.trans,
            " 4spd manual floor shift )");
  EXPECT_EQ(decode_17(with(manual, {{6, '3'}, {7, '6'}}).c_str()).vin17_fields.trans,
            " 4spd manual floor shift");
  // Every other code of the wagon uses the common table.
  EXPECT_EQ(decode_17(with(valid, {{6, '3'}, {7, '8'}}).c_str()).vin17_fields.trans,
            " Automatic column shift");
}

TEST(Decode17, SuffixFollowsTheLastTwoPositions) {
  const struct {
    char tens, units;
    const char *line4;
  } cases[] = {
      {'1', '2', "th"},
      {'1', '1', "th"},
      {'2', '2', "nd"},
      {'0', '1', "st"},
      {'4', '3', "rd"},
      {'9', '0', "th"},
      {'1', 'X', "th"},
      {'2', 'X', ""},
  };
  for (const auto &c : cases) {
    const Decode17Result r = decode_17(with(valid, {{16, c.tens}, {17, c.units}}).c_str());
    EXPECT_EQ(line(r.report, 3),
              std::string(c.line4) + " car ordered from the  Kenosha WI, USA plant in 1981")
        << c.tens << c.units;
  }
}

TEST(Decode17, ConsecutiveDecodesAreIndependent) {
  (void)decode_17(with(valid, {{8, '7'}}).c_str());
  const Decode17Result r = decode_17(with(valid, {{8, '6'}}).c_str());
  EXPECT_EQ(r.vin17_fields.restraints, "");
}

}  // namespace
}  // namespace kordel
