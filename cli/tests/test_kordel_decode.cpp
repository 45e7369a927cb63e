// kordel-decode's formats and input readers, case by case.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>

#include "input.h"
#include "json_record.h"
#include "output.h"

using namespace kordel::cli;
using namespace kordel::record;
using nlohmann::json;

namespace {

// Marks a member that must be absent.
const json absent(json::value_t::discarded);

// Members of a JSON record, by JSON pointer, and what they must hold.
struct JsonCase {
  const char *name;
  std::string vin;
  int year;
  std::vector<std::pair<const char *, json>> expected;
};

const std::vector<JsonCase> json_cases = {
    {"ambiguous",
     "A8A855H100001",
     0,
     {{"/results/0/model_year", 1968},
      {"/results/0/fields/model", "Ambassador"},
      {"/results/1/model_year", 1978},
      {"/results/1/fields/model", "Matador"},
      {"/results/1/fields/series", ""},
      {"/results/1/report/1", "1978 AMC Matador    4dr sedan "},
      {"/check_digit", nullptr}}},
    {"year picked",
     "A8A855H100001",
     1978,
     {{"/results/0/model_year", 1978}, {"/results/1", absent}}},
    {"year not a candidate",
     "A8A855H100001",
     70,
     {{"/error", "model year 1970 is not a candidate of this VIN (candidates: 1968, 1978)"}}},
    {"rejected",
     "A1F031BQ00011",
     0,
     {{"/results/0/model_year", nullptr},
      {"/results/0/status", "rejected"},
      {"/results/0/fields", nullptr},
      {"/results/0/report", nullptr},
      {"/results/0/production_number", nullptr},
      {"/results/0/messages/0/kind", "error"},
      {"/results/0/messages/0/position", 8},
      {"/results/0/messages/0/accepted", "K0123456789"}}},
    {"standard-output text without its line break",
     "A1A365C100001",
     0,
     {{"/results/0/messages/0/text", "2nd digit is a invalid year code for a Eagle!"}}},
    {"warning, then decoded",
     "A9X855H100001",
     0,
     {{"/results/0/status", "decoded"},
      {"/results/0/fields/trans", nullptr},
      {"/results/0/messages/0/kind", "warning"},
      {"/results/0/messages/0/position", 3}}},
    {"unknown",
     "A3A350A100001",
     0,
     {{"/results/0/status", "unknown"}, {"/results/0/messages", json::array()}}},
    {"17 characters, wrong check digit",
     "1AMCM3877BK123456",
     0,
     {{"/check_digit", {{"given", "7"}, {"expected", "1"}, {"valid", false}}},
      {"/results/0/fields/check_digit", "7"},
      {"/results/0/fields/plant", "Kenosha WI, USA"},
      {"/results/0/production_number", 23456},
      {"/results/0/report/4",
       "This car has Limited interior and seatbelts and your check digit is 7."}}},
    {"check digit beside a letter no VIN holds",
     "1AMCM3877QK123456",
     0,
     {{"/check_digit/expected", nullptr}, {"/check_digit/valid", false}}},
    {"O typed for the check digit",
     "1AMCW385ODK100001",
     0,
     {{"/check_digit", {{"given", "O"}, {"expected", "5"}, {"valid", false}}}}},
    {"wrong length", "A1F03", 0, {{"/error", "13 or 17 Characters only."}, {"/results", absent}}},
    {"not UTF-8",
     "A1F031B3000\xff\xfe",
     0,
     {{"/vin", "A1F031B3000\xef\xbf\xbd\xef\xbf\xbd"},
      {"/results/0/report/3",
       "This was the 3000\xef\xbf\xbd\xef\xbf\xbd car ordered from the Kenosha plant in 1971"}}},
    {"trimmed, lower case as typed",
     " a1f031b300011\r",
     0,
     {{"/vin", "a1f031b300011"},
      {"/results/0/report/0", "Your VIN# of a1f031b300011 decodes as follows"},
      {"/results/0/report/3", "This was the 200011th car ordered from the Kenosha plant in 1971"}}},
    {"plant letter in the production number",
     "A1F031BK00021",
     0,
     {{"/results/0/production_number", nullptr},
      {"/results/0/report/3",
       "This was the K00021st car ordered from the Brampton plant in 1971"}}},
};

TEST(JsonRecord, Cases) {
  for (const JsonCase &c : json_cases) {
    const std::string record = json_record(c.vin, c.year);
    const json parsed = json::parse(record);
    for (const auto &[pointer, value] : c.expected) {
      const json::json_pointer at(pointer);
      if (value.is_discarded()) {
        EXPECT_FALSE(parsed.contains(at)) << c.name << ": " << pointer;
        continue;
      }
      ASSERT_TRUE(parsed.contains(at)) << c.name << ": " << pointer << " in " << record;
      EXPECT_EQ(parsed.at(at), value) << c.name << ": " << pointer << " in " << record;
    }
  }
}

// Worked by hand from 49 CFR 565.15: each character's value times its position's
// weight (8 7 6 5 4 3 2 10 0 9 8 7 6 5 4 3 2), summed, remainder of 11 (10 is X).
TEST(CheckDigit, FederalRuleVectors) {
  struct Vector {
    const char *vin;
    std::optional<char> expected;  // none: a character the rule does not allow
  };
  const Vector vectors[] = {
      // A-H and J-S: 192 + 154 = 346 = 31 * 11 + 5
      {"ABCDEFGH5JKLMNPRS", '5'},
      // T-Z and A-H, J: 192 + 184 = 376 = 34 * 11 + 2
      {"TUVWXYZA2BCDEFGHJ", '2'},
      // W at position 5: 153 + 61 = 214 = 19 * 11 + 5
      {"1AMCW3855DK100001", '5'},
      // X and Y in weighted positions: 200 + 219 = 419 = 38 * 11 + 1
      {"1FAFP42X1YF206398", '1'},
      // Position 9 weighs 0, so an O there still leaves the expected digit.
      {"1AMCW385ODK100001", '5'},
      {"1amcw385odk100001", '5'},
      {"1G4AH59H45G118341", '4'},
      {"1M8GDM9AXKP042788", 'X'},  // remainder 10
      {"11111111111111111", '1'},
      {"1HGCM82633A123456", '7'},
      {"1hgcm82633a123456", '7'},
      {"1HGCM8263IA123456", std::nullopt},  // I at position 10
      {"QAMCW3855DK100001", std::nullopt},
  };
  for (const Vector &v : vectors) {
    const CheckDigit check = check_digit_of(v.vin);
    EXPECT_EQ(check.expected, v.expected) << v.vin;
    EXPECT_EQ(check.valid(), v.expected && std::toupper(v.vin[8]) == *v.expected) << v.vin;
  }
}

// What a run of the writer puts on its two streams.
struct Written {
  std::string out, err;
};

Written write_all(Format format, const std::vector<std::string> &vins, int year = 0) {
  std::FILE *out_file = std::tmpfile();
  std::FILE *err_file = std::tmpfile();
  {
    Sink out(fileno(out_file)), err(fileno(err_file));
    Output output(format, out, err);
    VinDecode decode;
    for (const std::string &vin : vins) {
      decode.decode(vin, year);
      output.write(decode);
    }
    out.flush(true);
    err.flush(true);
  }
  const auto slurp = [](std::FILE *f) {
    std::string s;
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;) s += static_cast<char>(c);
    std::fclose(f);
    return s;
  };
  return {slurp(out_file), slurp(err_file)};
}

TEST(TextFormat, Cases) {
  struct Case {
    std::vector<std::string> vins;
    std::string out, err;
  };
  const Case cases[] = {
      {{"A1F031B300011"},
       "Your VIN# of A1F031B300011 decodes as follows\n"
       "1971 AMC Hornet  SC 360  2dr hatchback \n"
       "Engine: 232 1v . Trans:3speed manual on floor \n"
       "This was the 200011th car ordered from the Kenosha plant in 1971\n",
       ""},
      {{"A1F031B300011", "A8A855H100001"},
       "Your VIN# of A1F031B300011 decodes as follows\n"
       "1971 AMC Hornet  SC 360  2dr hatchback \n"
       "Engine: 232 1v . Trans:3speed manual on floor \n"
       "This was the 200011th car ordered from the Kenosha plant in 1971\n"
       "\nModel year 1968:\n"
       "Your VIN# of A8A855H100001 decodes as follows\n"
       "1968 AMC Ambassador DPL 4dr sedan \n"
       "Engine:304 2v. Trans:3 speed auto on column \n"
       "This was the 1st car ordered from the Kenosha plant in 1968\n"
       "\nModel year 1978:\n"
       "Your VIN# of A8A855H100001 decodes as follows\n"
       "1978 AMC Matador    4dr sedan \n"
       "Engine:304 2v. Trans:3 speed auto on column \n"
       "This was the 1st car ordered from the Kenosha plant in 1978\n",
       ""},
      {{"A1F031BQ00011", "A3A350A100001", "A1F03"},
       "",
       "A1F031BQ00011: The 8th digit is a invalid assembly code for a Hornet. "
       "(position 8 holds \"Q\"; accepted: K0123456789)\n"
       "A3A350A100001: the codes name no model line or body\n"
       "A1F03: 13 or 17 Characters only.\n"},
      {{"1AMCM3877BK123456"},
       "Your VIN# of 1AMCM3877BK123456 decodes as follows\n"
       "1981 AMC Eagle 4wd 4 dr wagon Passenger car  \n"
       "Engine:AMC 4.2l (258cid) 2v I6. Trans: 4spd manual floor shift ) \n"
       "This was the 23456th car ordered from the  Kenosha WI, USA plant in 1981\n"
       "This car has Limited interior and seatbelts and your check digit is 7.\n",
       "1AMCM3877BK123456: warning: check digit is 7, expected 1: the VIN may be mistyped\n"},
  };
  for (const Case &c : cases) {
    const Written w = write_all(Format::text, c.vins);
    EXPECT_EQ(w.out, c.out);
    EXPECT_EQ(w.err, c.err);
  }
}

TEST(CsvFormat, RowsPerVinAndYear) {
  const Written w =
      write_all(Format::csv, {"A8A855H100001", "1AMCM3877BK123456", "A1F03", "A1F031BQ00011"});
  EXPECT_EQ(w.err, "");
  // Read back with the same CSV reader: a row per VIN and model year, 17 columns each.
  std::vector<std::vector<std::string>> rows;
  const std::string error = read_csv(w.out, "vin", [&](const auto &, const auto &fields, auto) {
    rows.push_back(fields);
    return true;
  });
  ASSERT_EQ(error, "");
  ASSERT_EQ(rows.size(), 5u);
  for (const auto &row : rows) EXPECT_EQ(row.size(), 17u);
  EXPECT_EQ(rows[0][1], "1968");
  EXPECT_EQ(rows[1][1], "1978");
  EXPECT_EQ(rows[1][6], "");  // the Matador has no series: null, written empty
  EXPECT_EQ(rows[2][10], "Kenosha WI, USA");
  EXPECT_EQ(rows[2][13], "7");
  EXPECT_EQ(rows[2][14], "1");
  EXPECT_EQ(rows[2][16], "check digit is 7, expected 1: the VIN may be mistyped");
  EXPECT_EQ(rows[3][2], "error");
  EXPECT_EQ(rows[3][16], "13 or 17 Characters only.");
  EXPECT_EQ(rows[4][2], "rejected");
  EXPECT_NE(w.out.find("\"Kenosha WI, USA\""), std::string::npos);
}

TEST(CsvInput, QuotingCases) {
  struct Case {
    const char *name;
    std::string data;
    std::vector<std::string> vins;  // the VIN cell of each row, as read
    std::string error;              // a part of the error, empty for none
  };
  const Case cases[] = {
      {"embedded commas, quotes and a line break, CRLF",
       "id,note,VIN\r\n1,\"a, \"\"b\"\"\nc\",A1F031B300011\r\n2,x,\"A8A855H100001\"\r\n",
       {"A1F031B300011", "A8A855H100001"},
       ""},
      {"byte order mark before the header, no final line break",
       "\xEF\xBB\xBFVIN\nA1F031B300011",
       {"A1F031B300011"},
       ""},
      {"short row", "id,VIN\n1\n", {""}, ""},
      {"unbalanced quotes", "VIN\n\"A1F031B300011\nA8A855H100001\n", {}, "quotes in CSV row 2"},
      {"quote inside a field", "VIN\nA1F0\"31B300011\n", {}, "quotes in CSV row 2"},
      {"no such column", "id,vin\n1,A1F031B300011\n", {}, "no column \"VIN\""},
      {"empty", "", {}, "no header row"},
  };
  for (const Case &c : cases) {
    std::vector<std::string> vins;
    const std::string error = read_csv(c.data, "VIN", [&](const auto &, const auto &, auto vin) {
      vins.emplace_back(vin);
      return true;
    });
    EXPECT_EQ(vins, c.vins) << c.name;
    if (c.error.empty())
      EXPECT_EQ(error, "") << c.name;
    else
      EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
  }
  // A field of any length is refused rather than read into memory.
  const std::string huge = "VIN\n\"" + std::string(max_csv_bytes + 10, 'A') + "\"\n";
  EXPECT_NE(
      read_csv(huge, "VIN", [](const auto &, const auto &, auto) { return true; }).find("longer"),
      std::string::npos);
}

TEST(LineInput, Cases) {
  const std::string long_line(100000, 'A');
  const std::string data = "A1F031B300011\r\n\n  a8a855h100001 \n" + long_line + "\nlast";
  std::vector<std::pair<std::string, bool>> lines;
  read_lines(data, [&](std::string_view line, bool too_long) {
    lines.emplace_back(trim_vin(line), too_long);
    return true;
  });
  const std::vector<std::pair<std::string, bool>> expected = {
      {"A1F031B300011", false},
      {"", false},
      {"a8a855h100001", false},
      {long_line.substr(0, max_line_bytes), true},
      {"last", false}};
  EXPECT_EQ(lines, expected);

  VinDecode decode;
  decode.decode(std::string_view("A1F031B\0000011", 13), 0);
  EXPECT_NE(decode.error().find("NUL"), std::string::npos);
}

}  // namespace
