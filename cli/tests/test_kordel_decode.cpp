// kordel-decode's formats and input readers, case by case.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "input.h"
#include "output.h"

using namespace kordel::cli;
using namespace kordel::record;

namespace {

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
  CsvDialect dialect;
  const std::string error = read_csv(w.out, "vin", {}, dialect, [&](const CsvRow &row, auto) {
    rows.emplace_back(row.fields.begin(), row.fields.end());
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
      {"semicolons, a tie the header decides",
       "owner, first;VIN\nAnn, B;A1F031B300011\n",
       {"A1F031B300011"},
       ""},
      {"tabs", "id\tVIN\n1\tA1F031B300011\n", {"A1F031B300011"}, ""},
  };
  CsvDialect dialect;
  for (const Case &c : cases) {
    std::vector<std::string> vins;
    const std::string error = read_csv(c.data, "VIN", {}, dialect, [&](const auto &, auto vin) {
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
      read_csv(huge, "VIN", {}, dialect, [](const auto &, auto) { return true; }).find("longer"),
      std::string::npos);
}

TEST(CsvInput, Windows1252AndCellsPastTheHeader) {
  // "Besitzer" in Windows-1252 with ü (FC); a row wider than its header, whose
  // names repeat.
  const std::string data = "VIN;Besitzer;x;x\r\nA1F031B300011;J\xFCrgen;1;2;3\r\n";
  CsvDialect dialect;
  std::vector<std::string> names, fields;
  read_csv(data, "VIN", {}, dialect, [&](const CsvRow &row, auto) {
    names.assign(row.names.begin(), row.names.end());
    fields.assign(row.fields.begin(), row.fields.end());
    return true;
  });
  EXPECT_EQ(dialect.delimiter, ';');
  EXPECT_EQ(dialect.encoding, TextEncoding::windows1252);
  EXPECT_EQ(names, (std::vector<std::string>{"VIN", "Besitzer", "x", "x_2", "column_5"}));
  EXPECT_EQ(fields[1], "J\xC3\xBCrgen");
  // Told the delimiter and the encoding, it reads them so.
  read_csv(
      data, "VIN", {',', TextEncoding::utf8}, dialect, [&](const CsvRow &, auto) { return true; });
  EXPECT_EQ(dialect.delimiter, ',');
  EXPECT_EQ(dialect.encoding, TextEncoding::utf8);
}

TEST(LineInput, Cases) {
  const std::string long_line(100000, 'A');
  const std::string data =
      "\xEF\xBB\xBF"
      "A1F031B300011\r\n\n  a8a855h100001 \n" +
      long_line + "\nlast";
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
