// process_13's position-1 check and the choice of model decoder.
#include <gtest/gtest.h>

#include <ostream>

#include "decode.h"

namespace kordel {
namespace {

struct DispatchCase {
  const char *vin;
  int model_year;
  int return_code;
  const char *model;    // the decoder that ran, by its model text
  const char *message;  // or the dispatch's own message
};

std::ostream &operator<<(std::ostream &os, const DispatchCase &c) {
  return os << c.vin << " model_year " << c.model_year;
}

class Dispatch13 : public testing::TestWithParam<DispatchCase> {};

TEST_P(Dispatch13, ChoosesAsTheDecisionTableSays) {
  const DispatchCase &c = GetParam();
  const Decode13Result r = decode_13(c.model_year, c.vin);
  EXPECT_EQ(r.return_code, c.return_code);
  if (c.model != nullptr) {
    EXPECT_EQ(r.messages.count, 0u);
    EXPECT_EQ(r.report.line_count, 4u);
    EXPECT_EQ(r.vin13_fields.model, c.model);
  } else if (c.message != nullptr) {
    ASSERT_EQ(r.messages.count, 1u);
    EXPECT_STREQ(r.messages.items[0].title, "Error");
    EXPECT_STREQ(r.messages.items[0].text, c.message);
    EXPECT_EQ(r.report.line_count, 0u);
  } else {
    EXPECT_EQ(r.messages.count, 0u);
    EXPECT_EQ(r.report.line_count, 0u);
  }
}

constexpr const char *third_digit = "The 3rd digit of the vin was invalid.";

INSTANTIATE_TEST_SUITE_P(
    EveryRow, Dispatch13,
    testing::Values(
        // Position 4 "0": Hornet, Concord or Rambler.
        DispatchCase{"A1A050H100001", 0, 1, "Hornet", nullptr},
        DispatchCase{"A7A050H100001", 79, 1, "Hornet", nullptr},
        DispatchCase{"A9A057C100001", 79, 1, "Concord", nullptr},
        DispatchCase{"A8A057C100001", 78, 1, "Concord", nullptr},
        DispatchCase{"A9A050A100001", 69, 1, "Rambler", nullptr},
        DispatchCase{"A9A050A100001", 0, 1, "Rambler", nullptr},
        DispatchCase{"A0A050H100001", 70, 1, "Hornet", nullptr},
        DispatchCase{"A9A050A100001", 71, 0, nullptr, nullptr},
        DispatchCase{"A9A050A100001", 75, 0, nullptr, nullptr},
        DispatchCase{"A9A050A100001", 77, 0, nullptr, nullptr},
        DispatchCase{"AXA050H100001", 70, 0, nullptr, nullptr},
        // Position 4 "1": Rebel or Matador 2dr.
        DispatchCase{"A9A160H100001", 0, 1, "Rebel", nullptr},
        DispatchCase{"A0A160H100001", 0, 1, "Rebel", nullptr},
        DispatchCase{"A8A160H100001", 68, 1, "Rebel", nullptr},
        DispatchCase{"A8A198H100001", 78, 1, "Matador", nullptr},
        DispatchCase{"A8A198H100001", 0, 1, "Matador", nullptr},
        DispatchCase{"A5A198H100001", 68, 1, "Matador", nullptr},
        // Position 4 naming no model line.
        DispatchCase{"A1A250H100001", 0, 1, nullptr, third_digit},
        DispatchCase{"A1A550H100001", 0, 1, nullptr, third_digit},
        DispatchCase{"A1A950H100001", 0, 1, nullptr, third_digit},
        // Position 4 "3": Eagle, AMX or nothing by position 5.
        DispatchCase{"A0A365C100001", 0, 1, "Eagle", nullptr},
        DispatchCase{"A9A397X100001", 0, 1, "AMX", nullptr},
        DispatchCase{"A9A357X100001", 0, 0, nullptr, nullptr},
        // Position 4 "4": Spirit for 79 and 80, Gremlin otherwise, whatever the digit.
        DispatchCase{"A9A439A100001", 79, 1, "Spirit", nullptr},
        DispatchCase{"A0A439A100001", 80, 1, "Spirit", nullptr},
        DispatchCase{"A0A430A100001", 70, 1, "Gremlin", nullptr},
        DispatchCase{"A2A430A100001", 0, 1, "Gremlin", nullptr},
        DispatchCase{
            "A9A430A100001", 0, 1, nullptr, "The 2nd digit is a invalid year code for a Gremlin."},
        DispatchCase{
            "A8A439A100001", 79, 1, nullptr, "The 2nd digit is a invalid year code for a Spirit."},
        DispatchCase{"A6A637A100001", 0, 1, "Pacer", nullptr},
        DispatchCase{"A1A795H100001", 0, 1, "Javelin", nullptr},
        // Position 4 "8": Ambassador or the four-door Matador.
        DispatchCase{"A0A857H123442", 0, 1, "Ambassador", nullptr},
        DispatchCase{"A9A857H123442", 0, 1, "Ambassador", nullptr},
        DispatchCase{"A4A857H123442", 0, 1, "Ambassador", nullptr},
        DispatchCase{"A5A855H100001", 0, 1, "Matador ", nullptr},
        DispatchCase{"A7A855H100001", 0, 1, "Matador ", nullptr},
        DispatchCase{"A8A855H100001", 0, 1, nullptr, "Invalid Year."},
        DispatchCase{"A8A855H100001", 67, 1, nullptr, "Invalid Year."},
        DispatchCase{"A8A855H100001", 81, 1, nullptr, "Invalid Year."},
        DispatchCase{"A8A855H100001", 78, 1, "Matador ", nullptr},
        DispatchCase{"A8A857H100001", 68, 1, "Ambassador", nullptr},
        DispatchCase{"A8A857H100001", 74, 0, nullptr, nullptr},
        DispatchCase{"A8A857H100001", 80, 0, nullptr, nullptr},
        DispatchCase{"AXA857H100001", 0, 0, nullptr, nullptr},
        // Position 4 not a digit: nothing at all.
        DispatchCase{"A1AX50H100001", 0, 0, nullptr, nullptr},
        // Position 1.
        DispatchCase{"B1A050H100001", 0, 1, nullptr, "The 1st digit of the vin was invalid."},
        DispatchCase{"a1a050h100001", 0, 1, "Hornet", nullptr}));

TEST(Dispatch13, PresetsOnlyAfterPositionOne) {
  EXPECT_EQ(decode_13(0, "B1A050H100001").vin13_fields.make, "");
  const Decode13Result none = decode_13(0, "A1AX50H100001");
  EXPECT_EQ(none.vin13_fields.make, "AMC");
  EXPECT_EQ(none.vin13_fields.year, "Error");
}

TEST(Dispatch13, ShortVinsNeverReachBeyondTheirEnd) {
  EXPECT_STREQ(decode_13(0, "").messages.items[0].text, "The 1st digit of the vin was invalid.");
  EXPECT_EQ(decode_13(0, "A1A").return_code, 0);  // missing position 4 is no digit
  // Positions 9 to 13 are never checked: eight characters decode, with no suffix.
  const Decode13Result r = decode_13(0, "A1A050H1");
  ASSERT_EQ(r.report.line_count, 4u);
  EXPECT_STREQ(r.report.lines[3].data(), " car ordered from the Kenosha plant in 1971");
}

// Each message says which position failed and what it accepts, as the tables write it.
TEST(Messages, NamePositionAndAcceptedCharacters) {
  const struct {
    Messages messages;
    std::uint8_t position;
    std::string_view accepted;
    bool goes_on;
  } cases[] = {
      {decode_13(0, "B1A050H100001").messages, 1, "A", false},
      {decode_13(0, "A1A250H100001").messages, 4, "0134678", false},
      {decode_13(90, "A8A855H100001").messages, 0, "", false},
      {decode_13(0, "A0B857H123442").messages, 3, "ACEFMOS", true},
      {decode_13(0, "A2A430AL00001").messages, 8, "K0123456789", false},
      {decode_17("1AMCA0507IK123456").messages, 10, "BCDEFGHJ", false},
  };
  for (const auto &c : cases) {
    ASSERT_EQ(c.messages.count, 1u) << c.messages.items[0].text;
    const Message &m = c.messages.items[0];
    SCOPED_TRACE(m.text);
    EXPECT_EQ(m.position, c.position);
    EXPECT_EQ(m.accepted, c.accepted);
    EXPECT_EQ(m.goes_on, c.goes_on);
  }
}

TEST(Dispatch13, ReadsOnlyTheFirstThirteenCharacters) {
  const Decode13Result r = decode_13(0, "A1A050H100001ZZZZ");
  EXPECT_STREQ(r.vin_text, "A1A050H100001");
  EXPECT_EQ(r.report.line_count, 4u);
}

}  // namespace
}  // namespace kordel
