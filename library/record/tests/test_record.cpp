// The record of a decode: its JSON object, its CSV, the walk other builders take
// and the check digit, case by case.
#include <gtest/gtest.h>

#include <cctype>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>
#include <vector>

#include "csv_record.h"
#include "json_record.h"
#include "record.h"

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
    {"warning, then a report: incomplete",
     "A9X855H100001",
     0,
     {{"/results/0/status", "incomplete"},
      {"/results/0/missing_fields", {"trans"}},
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
      {"/warnings", {"check digit is 7, expected 1: the VIN may be mistyped"}},
      {"/results/0/status", "decoded"},
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
    {"trimmed, lower case read as upper case",
     " a1f031b300011\r",
     0,
     {{"/vin", "a1f031b300011"},
      {"/vin_read", "A1F031B300011"},
      {"/results/0/report/0", "Your VIN# of A1F031B300011 decodes as follows"},
      {"/results/0/report/3", "This was the 200011th car ordered from the Kenosha plant in 1971"}}},
    {"unknown body code: incomplete, the report as the decoder wrote it",
     "A0A8S7H123442",
     0,
     {{"/results/0/status", "incomplete"},
      {"/results/0/missing_fields", {"body"}},
      {"/results/0/report/1", "1970 AMC Ambassador  Brougham Error "},
      {"/warnings", json::array()}}},
    {"clean decode",
     "A1F031B300011",
     0,
     {{"/results/0/status", "decoded"},
      {"/results/0/missing_fields", json::array()},
      {"/warnings", json::array()}}},
    {"letter in the sequence number: a warning, the report unchanged",
     "A1F031B0000O1",
     0,
     {{"/results/0/status", "decoded"},
      {"/warnings",
       {"the sequence number (positions 9-13) is 000O1, not five digits: the VIN may be "
        "mistyped"}},
      {"/results/0/report/3", "This was the 0000O1st car ordered from the Kenosha plant in 1971"}}},
    {"blanks and dashes dropped",
     "1amc w385\t5dk-100001",
     0,
     {{"/vin", "1amc w385\t5dk-100001"},
      {"/vin_read", "1AMCW3855DK100001"},
      {"/results/0/status", "decoded"}}},
    {"unreadable characters read as ?", "A1F0*1B3_0011", 0, {{"/vin_read", "A1F0?1B3?0011"}}},
    {"dashes do not make up the length",
     "A1F-031B-300",
     0,
     {{"/vin_read", "A1F031B300"}, {"/error", "13 or 17 Characters only."}}},
    {"more than 1024 bytes: named by its first 32",
     std::string(1025, 'A'),
     0,
     {{"/vin", std::string(32, 'A')},
      {"/error", "13 or 17 Characters only. (the line holds more than 1024 bytes)"}}},
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

// Builds an nlohmann::json value from the walk, as a builder in another language
// would: the walk must nest, and put a key before each member, exactly as the JSON.
class TreeBuilder {
 public:
  void begin_object() { open_.push_back({json::object(), take_key()}); }
  void begin_array() { open_.push_back({json::array(), take_key()}); }
  void end_object() { close(); }
  void end_array() { close(); }
  void key(std::string_view name) {
    EXPECT_FALSE(key_) << "two keys in a row";
    key_ = std::string(name);
  }
  void string(std::string_view text) {
    // Invalid UTF-8 replaced as the JSON writer does.
    put(json::parse(json(std::string(text)).dump(-1, ' ', false, json::error_handler_t::replace)),
        take_key());
  }
  void number(std::int64_t value) { put(value, take_key()); }
  void boolean(bool value) { put(value, take_key()); }
  void null() { put(nullptr, take_key()); }

  json root;

 private:
  struct Open {
    json value;
    std::optional<std::string> key;
  };
  std::optional<std::string> take_key() { return std::exchange(key_, std::nullopt); }
  void close() {
    ASSERT_FALSE(open_.empty()) << "closed more than opened";
    Open top = std::move(open_.back());
    open_.pop_back();
    put(std::move(top.value), std::move(top.key));
  }
  void put(json value, std::optional<std::string> key) {
    if (open_.empty()) {
      EXPECT_FALSE(key) << "a key outside any object";
      root = std::move(value);
      return;
    }
    json &parent = open_.back().value;
    if (parent.is_object()) {
      EXPECT_TRUE(key) << "a member without a key";
      parent[key.value_or("")] = std::move(value);
    } else {
      EXPECT_FALSE(key) << "a key inside an array";
      parent.push_back(std::move(value));
    }
  }

  std::optional<std::string> key_;
  std::vector<Open> open_;
};

TEST(BuildRecord, WalkMatchesTheJson) {
  const std::vector<std::string> header = {"id", "VIN", "note"};
  const std::vector<std::string> fields = {"7", "A1F031B3000\xff"};
  const CsvRow row{header, fields};
  VinDecode decode;
  for (const char *vin : {"A8A855H100001",
                          "A1F031BQ00011",
                          "A3A350A100001",
                          "1AMCM3877QK123456",
                          "A1F03",
                          "A1F031B3000\xff\xfe"}) {
    decode.decode(vin, 0);
    for (const CsvRow *r : {static_cast<const CsvRow *>(nullptr), &row}) {
      std::string out;
      append_json_record(out, decode, r);
      TreeBuilder tree;
      build_record(tree, decode, r);
      EXPECT_EQ(tree.root, json::parse(out)) << out;
    }
  }
}

// The one way every front end reads a VIN.
TEST(ReadVin, Rules) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"A1F031B300011", "A1F031B300011"},
      {"a1f-031 b30\t0011", "A1F031B300011"},
      {"A1F\xe2\x80\x93"
       "031\xc2\xa0"
       "B300011",
       "A1F031B300011"},  // en dash, no-break space
      {"A1F0*1B3_0011", "A1F0?1B3?0011"},
      {"A1F031B3000\xc3\xa9", "A1F031B3000\xc3\xa9"},  // other characters kept
      {"A1F031B3000\xff", "A1F031B3000\xff"},          // bytes that are not UTF-8 too
      {" - ", ""},
  };
  std::string out;
  for (const auto &[text, read] : cases) {
    read_vin(text, out);
    EXPECT_EQ(out, read) << text;
  }
}

TEST(CsvRecord, FieldQuoting) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", ""},
      {"Kenosha", "Kenosha"},
      {"Kenosha WI, USA", "\"Kenosha WI, USA\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"\"", "\"\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {"cr\r", "\"cr\r\""},
      {"semi;colon 'single'", "semi;colon 'single'"},
  };
  for (const auto &[text, written] : cases) {
    std::string out = "x,";
    append_csv_field(out, text);
    EXPECT_EQ(out, "x," + std::string(written)) << text;
  }
}

TEST(CsvRecord, HeaderAndRows) {
  const std::vector<std::string> header = {"id", "V,IN"};
  const std::vector<std::string> fields = {"1"};  // shorter than the header
  const CsvRow row{header, fields};
  std::string out;
  append_csv_header(out, &row);
  VinDecode decode;
  decode.decode("1AMCM3877BK123456", 0);
  append_csv_rows(out, decode, &row);
  EXPECT_EQ(out,
            "id,\"V,IN\",model_year,status,year,make,model,series,body,engine,trans,plant,"
            "vehicle_type,restraints,check_digit,check_digit_expected,production_number,message\r\n"
            "1,,,decoded,1981,AMC,Eagle 4wd 4 dr wagon,,,AMC 4.2l (258cid) 2v I6,"
            "4spd manual floor shift ),\"Kenosha WI, USA\",Passenger car,"
            "Limited interior and seatbelts,7,1,23456,"
            "\"check digit is 7, expected 1: the VIN may be mistyped\"\r\n");

  out.clear();
  append_csv_header(out);
  decode.decode("A1F03", 0);
  append_csv_rows(out, decode);
  decode.decode("A3A350A100001", 0);
  append_csv_rows(out, decode);
  const std::string_view rows = std::string_view(out).substr(out.find("\r\n") + 2);
  EXPECT_EQ(rows,
            "A1F03,,error,,,,,,,,,,,,,,13 or 17 Characters only.\r\n"
            "A3A350A100001,,unknown,,,,,,,,,,,,,1,the codes name no model line or body\r\n");
}

}  // namespace
