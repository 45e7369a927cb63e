// Reading a CSV file's delimiter and encoding from its start, and Windows-1252 both ways.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "csv_dialect.h"
#include "csv_record.h"

using namespace kordel::record;

namespace {

struct SniffCase {
  const char *name;
  std::string head;
  char delimiter;
  TextEncoding encoding;
};

TEST(CsvDialect, Sniff) {
  const std::vector<SniffCase> cases = {
      {"comma", "vin,owner\nA8A855H100001,Ann\n", ',', TextEncoding::utf8},
      {"semicolon", "vin;owner\nA8A855H100001;Ann\n", ';', TextEncoding::utf8},
      {"tab", "vin\towner\r\nA8A855H100001\tAnn\r\n", '\t', TextEncoding::utf8},
      {"one column", "vin\nA8A855H100001\n", ',', TextEncoding::utf8},
      {"empty", "", ',', TextEncoding::utf8},
      // Commas split the header into 2 but only 1 of 3 rows; semicolons all 3.
      {"most lines", "a,b;c\nx;y\nz;w\n", ';', TextEncoding::utf8},
      // Both split every line in two: the header names the VIN only under ';'.
      {"tie to VIN", "owner, first;VIN number\nAnn, B;A8A855H100001\n", ';', TextEncoding::utf8},
      {"tie to VIN#", "make,vin# x;y\n1,2;3\n", ',', TextEncoding::utf8},
      {"tie, no VIN", "a,b;c\nd,e;f\n", ',', TextEncoding::utf8},
      {"tie ; before tab", "a;b\tc\nd;e\tf\n", ';', TextEncoding::utf8},
      {"VINTAGE names no VIN", "vintage;x,vin\n1;2,3\n", ',', TextEncoding::utf8},
      {"lower-case, blanks", "x,y; vin_no \t\n1,2;3\n", ';', TextEncoding::utf8},
      // The semicolons inside quotes, across a line break too, are a cell's text.
      {"quotes", "vin,\"a;b\"\n1,\"x;\ny;z\"\n2,w\n", ',', TextEncoding::utf8},
      {"doubled quote", "\"a\"\";b\",c\n1,2\n", ',', TextEncoding::utf8},
      {"blank lines skipped", "\n\nvin;x\n\n1;2\n", ';', TextEncoding::utf8},
      {"bom", "\xEF\xBB\xBFvin;x\n1;2\n", ';', TextEncoding::utf8_bom},
      {"utf-8", "vin;owner\n1;J\xC3\xBCrgen\n", ';', TextEncoding::utf8},
      {"1252", "vin;owner\n1;J\xFCrgen\n", ';', TextEncoding::windows1252},
      {"utf-8 cut at the end", "vin,x\n1,\xE2\x82", ',', TextEncoding::utf8},
      {"overlong is not utf-8", "vin,x\n1,\xC0\xAF\n", ',', TextEncoding::windows1252},
      {"surrogate is not utf-8", "vin,x\n1,\xED\xA0\x80\n", ',', TextEncoding::windows1252},
  };
  for (const SniffCase &c : cases) {
    const CsvDialect d = sniff_csv_dialect(c.head);
    EXPECT_EQ(d.delimiter, c.delimiter) << c.name;
    EXPECT_EQ(d.encoding, c.encoding) << c.name;
  }
}

TEST(CsvDialect, OnlyTheFirstTwentyLines) {
  // 19 lines after the header split in two by ';', then many more by ','.
  std::string head = "a;b\n";
  for (int i = 0; i < 19; ++i) head += "1;2\n";
  for (int i = 0; i < 40; ++i) head += "1,2\n";
  EXPECT_EQ(sniff_csv_dialect(head).delimiter, ';');
}

TEST(CsvDialect, Windows1252) {
  // Bytes and their UTF-8, from the code page's table: é E9 = U+00E9, € 80 = U+20AC,
  // ‰ 89 = U+2030, Ÿ 9F = U+0178, and 81, unassigned, the C1 control U+0081.
  const std::string bytes = "J\xE9r\x80\x89\x9F\x81 \xA0\xFF";
  const std::string utf8 = "J\xC3\xA9r\xE2\x82\xAC\xE2\x80\xB0\xC5\xB8\xC2\x81 \xC2\xA0\xC3\xBF";
  EXPECT_EQ(windows1252_to_utf8(bytes), utf8);
  EXPECT_EQ(utf8_to_windows1252(utf8), bytes);
  // Lacking: Ł U+0141, 日 U+65E5, 😀 U+1F600; a stray continuation byte is not UTF-8.
  EXPECT_EQ(utf8_to_windows1252("\xC5\x81|\xE6\x97\xA5|\xF0\x9F\x98\x80|\x80|ok"), "?|?|?|?|ok");
}

}  // namespace

namespace {

// Cells a spreadsheet would run, after OWASP's CSV injection advice: a leading '=',
// '+', '-', '@', tab or carriage return gets an apostrophe; a plain number does not.
TEST(CsvWriting, FormulasNeutralised) {
  struct Case {
    std::string_view text, written, raw;
  };
  const Case cases[] = {
      {"=HYPERLINK(\"http://x\"&A1,\"click\")",
       "\"'=HYPERLINK(\"\"http://x\"\"&A1,\"\"click\"\")\"",
       "\"=HYPERLINK(\"\"http://x\"\"&A1,\"\"click\"\")\""},
      {"@SUM(1)", "'@SUM(1)", "@SUM(1)"},
      {"+cmd|x", "'+cmd|x", "+cmd|x"},
      {"=2*3", "'=2*3", "=2*3"},
      {"\tx", "'\tx", "\tx"},
      {"\rx", "\"'\rx\"", "\"\rx\""},
      {"-", "'-", "-"},
      {"-1.", "'-1.", "-1."},
      {"-1e5", "'-1e5", "-1e5"},
      {"+-1", "'+-1", "+-1"},
      {"-12", "-12", "-12"},
      {"+3.5", "+3.5", "+3.5"},
      {"-0.25", "-0.25", "-0.25"},
      {"12", "12", "12"},
      {"a=b", "a=b", "a=b"},
      {"", "", ""},
  };
  for (const Case &c : cases) {
    std::string out, raw;
    append_csv_field(out, c.text);
    append_csv_field(raw, c.text, ',', true);
    EXPECT_EQ(out, c.written) << c.text;
    EXPECT_EQ(raw, c.raw) << c.text;
  }
}

TEST(CsvWriting, SemicolonsAndCheckDigitAsTyped) {
  const std::vector<std::string> header = {"VIN number", "owner"};
  const std::vector<std::string> fields = {
      "1AMCM387\xC3\xA9"
      "BK100021",
      "=2*3; Ann, B"};
  const CsvRow row{header, fields};
  RecordOptions options;
  options.csv_delimiter = ';';
  std::string out;
  append_csv_header(out, &row, options);
  VinDecode decode;
  decode.decode(fields[0], 0);
  append_csv_rows(out, decode, &row, options);
  const std::string_view written(out);
  EXPECT_TRUE(written.starts_with("VIN number;owner;model_year;status;year;make;")) << out;
  EXPECT_TRUE(written.find(";check_digit;check_digit_expected;production_number;message\r\n") !=
              std::string_view::npos)
      << out;
  // The semicolon makes the quotes; the comma does not. The check digit is the
  // character typed, é, in UTF-8 (the federal rule's sum is 214, 214 mod 11 = 5).
  EXPECT_TRUE(
      written.ends_with("\r\n1AMCM387\xC3\xA9"
                        "BK100021;\"'=2*3; Ann, B\";;decoded;1981;AMC;Eagle 4wd 4 dr wagon;;;"
                        "AMC 4.2l (258cid) 2v I6;4spd manual floor shift );Kenosha WI, "
                        "USA;Passenger car;Limited interior and seatbelts;\xC3\xA9;5;21;"
                        "check digit is \xC3\xA9, expected 5: the VIN may be mistyped\r\n"))
      << out;
  EXPECT_TRUE(valid_utf8(out));
}

TEST(CsvWriting, ColumnNamesForTheRowMember) {
  struct Case {
    std::vector<std::string> header;
    std::size_t width;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {{"id", "VIN"}, 2, {"id", "VIN"}},
      {{"id", "VIN"}, 4, {"id", "VIN", "column_3", "column_4"}},
      {{"a", "a", "a_2", "a"}, 4, {"a", "a_3", "a_2", "a_4"}},
      {{"column_2"}, 2, {"column_2", "column_2_2"}},
      {{"", ""}, 2, {"", "_2"}},
  };
  for (const Case &c : cases) EXPECT_EQ(csv_column_names(c.header, c.width), c.names);
}

}  // namespace
