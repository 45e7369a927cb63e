// The model decoders of the 13-character VIN, driven directly without the dispatch.
#include <gtest/gtest.h>

#include <string>

#include "models13.h"
#include "vin_test_support.h"

namespace kordel {
namespace {

using models13::ModelDecoder;
using test::line;
using test::with;

// A VIN that every check of its model accepts.
std::string valid_vin(const ModelDecoder *model) {
  struct Base {
    const ModelDecoder *model;
    const char *vin;
  };
  static const Base bases[] = {
      {&models13::ambassador, "A0A857H123442"},
      {&models13::matador, "A5A855H100001"},
      {&models13::javelin, "A1A795H100001"},
      {&models13::amx, "A9A397X100001"},
      {&models13::pacer, "A6A637A100001"},
      {&models13::gremlin, "A2A430A100001"},
      {&models13::spirit, "A9A439A100001"},
      {&models13::rebel, "A9A160H100001"},
      {&models13::matador_2dr, "A4A198H100001"},
      {&models13::hornet, "A1A050H100001"},
      {&models13::concord, "A9A057C100001"},
      {&models13::eagle, "A0A365C100001"},
      {&models13::rambler, "A9A050A100001"},
  };
  for (const Base &base : bases)
    if (base.model == model) return base.vin;
  return {};
}

struct FailureCase {
  const ModelDecoder *model;
  int position;
  const char *message;
  FailureKind kind;
};

struct CodeCase {
  const ModelDecoder *model;
  int position;
  char code;
  char year_digit;
  std::string_view Vin13Fields::*field;
  const char *text;
};

#include "models13_cases.inc"

TEST(Models13, EveryValidBaseDecodes) {
  for (const ModelDecoder *model : models13::all) {
    const std::string vin = valid_vin(model);
    ASSERT_EQ(vin.size(), 13u) << model->name;
    const Decode13Result r = models13::decode_with_model(*model, vin.c_str());
    EXPECT_EQ(r.messages.count, 0u) << model->name;
    EXPECT_EQ(r.report.line_count, 4u) << model->name;
  }
}

TEST(Models13, EveryCheckRejectsWithItsMessageAndKind) {
  for (const FailureCase &c : failure_cases) {
    const std::string vin = with(valid_vin(c.model), {{c.position, '#'}});
    const Decode13Result r = models13::decode_with_model(*c.model, vin.c_str());
    SCOPED_TRACE(std::string(c.model->name) + " position " + std::to_string(c.position));
    ASSERT_GE(r.messages.count, 1u);
    const Message &m = r.messages.items[0];
    EXPECT_STREQ(m.text, c.message);
    switch (c.kind) {
      case FailureKind::stop:
        EXPECT_EQ(m.kind, MessageKind::box);
        EXPECT_STREQ(m.title, "Error");
        EXPECT_EQ(r.messages.count, 1u);
        EXPECT_EQ(r.report.line_count, 0u);
        break;
      case FailureKind::stop_standard_output:
        EXPECT_EQ(m.kind, MessageKind::standard_output);
        EXPECT_EQ(r.messages.count, 1u);
        EXPECT_EQ(r.report.line_count, 0u);
        break;
      case FailureKind::report_and_go_on:
        EXPECT_EQ(m.kind, MessageKind::box);
        EXPECT_STREQ(m.title, "ERROR");
        EXPECT_EQ(r.report.line_count, 4u);
        break;
    }
  }
}

TEST(Models13, YearDependentRowsHoldForTheirYears) {
  for (const CodeCase &c : year_dependent_cases) {
    const std::string vin = with(valid_vin(c.model), {{c.position, c.code}, {2, c.year_digit}});
    const Decode13Result r = models13::decode_with_model(*c.model, vin.c_str());
    SCOPED_TRACE(std::string(c.model->name) + " " + vin);
    ASSERT_EQ(r.messages.count, 0u);
    EXPECT_EQ(r.vin13_fields.*c.field, c.text);
  }
}

// Accepted codes without a row, in general or for the year digit: the field says "Error".
TEST(Models13, AcceptedCodesWithoutRowLeaveError) {
  const struct {
    const ModelDecoder *model;
    int position;
    char code;
    char year_digit;
    std::string_view Vin13Fields::*field;
  } cases[] = {
      {&models13::ambassador, 3, 'F', '9', &Vin13Fields::trans},
      {&models13::ambassador, 3, 'S', '1', &Vin13Fields::trans},
      {&models13::ambassador, 6, '2', '3', &Vin13Fields::series},
      {&models13::ambassador, 6, 'P', '0', &Vin13Fields::series},
      {&models13::ambassador, 7, 'T', '0', &Vin13Fields::engine},
      {&models13::ambassador, 5, 'Z', '0', &Vin13Fields::body},  // position 5 is not tested
      {&models13::matador, 3, 'D', '5', &Vin13Fields::trans},
      {&models13::matador, 3, 'S', '7', &Vin13Fields::trans},
      {&models13::javelin, 3, 'F', '4', &Vin13Fields::trans},
      {&models13::javelin, 6, 'T', '1', &Vin13Fields::series},
      {&models13::javelin, 7, 'Y', '1', &Vin13Fields::engine},
      {&models13::amx, 7, 'H', '8', &Vin13Fields::engine},
      {&models13::amx, 7, 'P', '9', &Vin13Fields::engine},
      {&models13::amx, 7, 'T', '0', &Vin13Fields::engine},
      {&models13::pacer, 5, '8', '6', &Vin13Fields::body},
      {&models13::pacer, 7, 'K', '6', &Vin13Fields::engine},
      {&models13::gremlin, 3, 'F', '5', &Vin13Fields::trans},
      {&models13::spirit, 7, 'B', '9', &Vin13Fields::engine},
      {&models13::rebel, 3, 'F', '9', &Vin13Fields::trans},
      {&models13::rebel, 5, '5', '9', &Vin13Fields::body},
      {&models13::rebel, 6, '5', '0', &Vin13Fields::series},
      {&models13::rebel, 7, 'A', '8', &Vin13Fields::engine},
      {&models13::rebel, 7, 'V', '8', &Vin13Fields::engine},
      {&models13::matador_2dr, 3, 'F', '5', &Vin13Fields::trans},
      {&models13::matador_2dr, 7, 'S', '4', &Vin13Fields::engine},
      {&models13::hornet, 6, '1', '2', &Vin13Fields::series},
      {&models13::hornet, 6, '7', '0', &Vin13Fields::series},
      {&models13::hornet, 6, 'P', '3', &Vin13Fields::series},
      {&models13::hornet, 7, 'A', '1', &Vin13Fields::engine},
      {&models13::hornet, 7, 'C', '3', &Vin13Fields::engine},
      {&models13::hornet, 3, 'F', '0', &Vin13Fields::trans},
      {&models13::concord, 3, 'D', '9', &Vin13Fields::trans},
      {&models13::concord, 5, '3', '9', &Vin13Fields::body},
      {&models13::concord, 7, 'H', '9', &Vin13Fields::engine},
      {&models13::rambler, 7, 'V', '8', &Vin13Fields::engine},
  };
  for (const auto &c : cases) {
    const std::string vin = with(valid_vin(c.model), {{c.position, c.code}, {2, c.year_digit}});
    const Decode13Result r = models13::decode_with_model(*c.model, vin.c_str());
    SCOPED_TRACE(std::string(c.model->name) + " " + vin);
    ASSERT_EQ(r.report.line_count, 4u);
    EXPECT_EQ(r.vin13_fields.*c.field, "Error");
  }
}

struct ReportCase {
  const ModelDecoder *model;
  const char *vin;
  const char *line1, *line2, *line4;
};

class Models13Reports : public testing::TestWithParam<ReportCase> {};

TEST_P(Models13Reports, WritesFourLines) {
  const ReportCase &c = GetParam();
  const Decode13Result r = models13::decode_with_model(*c.model, c.vin);
  ASSERT_EQ(r.report.line_count, 4u);
  EXPECT_EQ(line(r.report, 0), c.line1);
  EXPECT_EQ(line(r.report, 1), c.line2);
  EXPECT_EQ(line(r.report, 2), "This was the ");
  EXPECT_EQ(line(r.report, 3), c.line4);
}

INSTANTIATE_TEST_SUITE_P(
    OnePerModel, Models13Reports,
    testing::Values(
        ReportCase{&models13::ambassador,
                   "A0A857H123442",
                   "1970 AMC Ambassador  Brougham 4dr sedan ",
                   "Engine:304 2v. Trans:3 speed auto on column ",
                   "nd car ordered from the Kenosha plant in 1970"},
        ReportCase{&models13::matador,
                   "A8S88PP700013",
                   "1978 AMC Matador    4dr wagon ",
                   "Engine:360 4v. Trans:3peed manual on column ",
                   "th car ordered from the Brampton plant in 1978"},
        ReportCase{&models13::javelin,
                   "A3F797ZK00021",
                   "1973 AMC Javelin  Base model (  No SST available in '73/'74 ) 2dr hardtop ",
                   "Engine:401 4v. Trans:3 speed manual on floor ",
                   "st car ordered from the Brampton plant in 1973"},
        ReportCase{&models13::amx,
                   "A0M397M600003",
                   "1970 AMC AMX   2dr hardtop ",
                   "Engine:304 4v. Trans:4 speed manual on floor ",
                   "rd car ordered from the Kenosha plant in 1970"},
        ReportCase{&models13::pacer,
                   "A5D667G900014",
                   "1975 AMC Pacer   2dr ( Sedan or coupe ) ",
                   "Engine:121 2v. Trans:3spdOD on floor ",
                   "th car ordered from the Brampton plant in 1975"},
        ReportCase{&models13::gremlin,
                   "A2F485H000112",
                   "1972 AMC Gremlin   Station wagon ",
                   "Engine:304 2v. Trans:3spd manual floor 2/3syn ",
                   "th car ordered from the Kenosha plant in 1972"},
        ReportCase{&models13::spirit,
                   "A0E469G100001",
                   "1980 AMC Spirit AMX 2dr sedan ",
                   "Engine:121 2v. Trans:3 speed manual on floor ",
                   "st car ordered from the Kenosha plant in 1980"},
        ReportCase{&models13::rebel,
                   "A8F180Y200005",
                   "1968 AMC Rebel Machine 4dr wagon ",
                   "Engine:390 4v (340hp). Trans:4speed manual in console ",
                   "th car ordered from the Kenosha plant in 1968"},
        ReportCase{&models13::matador_2dr,
                   "A3O19TZ80000X",
                   "1973 AMC Matador  2dr hardtop ",
                   "Engine:401 4v. Trans:3spd OD manual on column ",
                   " car ordered from the Brampton plant in 1973"},
        ReportCase{&models13::hornet,
                   "A1F031B300011",
                   "1971 AMC Hornet  SC 360  2dr hatchback ",
                   "Engine: 232 1v . Trans:3speed manual on floor ",
                   "th car ordered from the Kenosha plant in 1971"},
        ReportCase{&models13::concord,
                   "A8M08TG500022",
                   "1978 AMC Concord   4dr wagon ",
                   "Engine:121 2v . Trans:4 speed manual on floor ",
                   "nd car ordered from the Kenosha plant in 1978"},
        ReportCase{&models13::eagle,
                   "A0M365CK12345",
                   "1980 AMC Eagle MPV (multi purpose vehicle) 2dr sedan ",
                   "Engine:258 2v. Trans:4 speed manual on floor ",
                   "th car ordered from the Brampton plant in 1980"},
        ReportCase{&models13::rambler,
                   "A9S077X100001",
                   "1969 AMC  S/C Rambler 2dr convertable ",
                   "Engine:390 4v. Trans:3speed manual column or floor ",
                   "st car ordered from the Kenosha plant in 1969"}));

TEST(Models13, AmbassadorPositionThreeWarnsAndGoesOn) {
  const Decode13Result r = models13::decode_with_model(models13::ambassador, "A0B857H123442");
  ASSERT_EQ(r.messages.count, 1u);
  EXPECT_STREQ(r.messages.items[0].title, "ERROR");
  EXPECT_STREQ(r.messages.items[0].text,
               "The 3rd digit is a invalid body class code for an Ambassador.");
  ASSERT_EQ(r.report.line_count, 4u);
  EXPECT_EQ(line(r.report, 1), "Engine:304 2v. Trans:Error ");

  // A later failure still stops the decode, after the warning.
  const Decode13Result both = models13::decode_with_model(models13::ambassador, "A0B857Z123442");
  ASSERT_EQ(both.messages.count, 2u);
  EXPECT_STREQ(both.messages.items[0].title, "ERROR");
  EXPECT_STREQ(both.messages.items[1].title, "Error");
  EXPECT_STREQ(both.messages.items[1].text,
               "The 7th digit is a invalid engine code for an Ambassador.");
  EXPECT_EQ(both.report.line_count, 0u);
}

TEST(Models13, OnlyTheFirstFailingCheckIsReported) {
  const Decode13Result r = models13::decode_with_model(models13::hornet, "A1Z0##H100001");
  ASSERT_EQ(r.messages.count, 1u);
  EXPECT_STREQ(r.messages.items[0].text,
               "The 3rd digit is a invalid transmission code for a Hornet.");
}

TEST(Models13, RowsThatWriteASecondField) {
  // Rebel engine Y overrides the series, whatever body class and year say.
  for (const char *vin : {"A8A160Y100001", "A9A165Y100001", "A0A160Y100001"}) {
    const Decode13Result r = models13::decode_with_model(models13::rebel, vin);
    EXPECT_EQ(r.vin13_fields.series, "Machine") << vin;
    EXPECT_EQ(r.vin13_fields.engine, "390 4v (340hp)") << vin;
  }
  // Rambler body class 7: Rogue in 1968; in 1969 S/C Rambler and an empty model.
  const Decode13Result rogue = models13::decode_with_model(models13::rambler, "A8A057A100001");
  EXPECT_EQ(rogue.vin13_fields.series, "Rogue");
  EXPECT_EQ(rogue.vin13_fields.model, "Rambler");
  const Decode13Result sc = models13::decode_with_model(models13::rambler, "A9A057A100001");
  EXPECT_EQ(sc.vin13_fields.series, "S/C Rambler");
  EXPECT_EQ(sc.vin13_fields.model, "");
}

TEST(Models13, PlantRule) {
  const struct {
    char code;
    const char *plant;
  } cases[] = {{'0', "Kenosha"},
               {'6', "Kenosha"},
               {'7', "Brampton"},
               {'9', "Brampton"},
               {'K', "Brampton"},
               {'k', "Brampton"}};
  for (const auto &c : cases)
    EXPECT_EQ(
        models13::decode_with_model(models13::hornet, with("A1A050H100001", {{8, c.code}}).c_str())
            .vin13_fields.plant,
        c.plant)
        << c.code;
  const Decode13Result rejected = models13::decode_with_model(models13::hornet, "A1A050HL00001");
  EXPECT_EQ(rejected.report.line_count, 0u);
}

TEST(Models13, SuffixFollowsTheLastTwoPositions) {
  const struct {
    char tens, units;
    const char *suffix;
  } cases[] = {
      {'1', '1', "th"},
      {'1', '2', "th"},
      {'1', '3', "th"},
      {'2', '1', "st"},
      {'0', '2', "nd"},
      {'5', '3', "rd"},
      {'9', '0', "th"},
      {'0', '4', "th"},
      {'1', 'Z', "th"},
      {'0', 'Z', ""},
  };
  for (const auto &c : cases) {
    const std::string vin = with("A1A050H100001", {{12, c.tens}, {13, c.units}});
    const Decode13Result r = models13::decode_with_model(models13::hornet, vin.c_str());
    EXPECT_EQ(line(r.report, 3),
              std::string(c.suffix) + " car ordered from the Kenosha plant in 1971")
        << vin;
  }
}

TEST(Models13, LowerCaseDecodesAsUpperCase) {
  const Decode13Result lower = models13::decode_with_model(models13::javelin, "a3f797zk00021");
  const Decode13Result upper = models13::decode_with_model(models13::javelin, "A3F797ZK00021");
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(line(lower.report, i), line(upper.report, i));
}

}  // namespace
}  // namespace kordel
