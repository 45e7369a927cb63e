// The report's composition over the character types its two users work in.
#include <gtest/gtest.h>

#include "report.h"

using namespace kordel::report;

TEST(Report, ProductionText) {
  struct Case {
    std::string_view last_six, printed;
  };
  for (const Case &c : {Case{"100000", ""},
                        Case{"700000", ""},
                        Case{"099999", "-1"},
                        Case{"699999", "599999"},
                        Case{"700021", "21"},
                        Case{"K00021", "K00021"},
                        Case{"12 45x", "12 45x"}}) {
    const std::string vin = "A1F031B" + std::string(c.last_six);
    EXPECT_EQ(production_text(std::string_view(vin)), c.printed) << vin;
    const std::u32string wide(vin.begin(), vin.end());
    EXPECT_EQ(production_text(std::u32string_view(wide)),
              std::u32string(c.printed.begin(), c.printed.end()));
  }
}

TEST(Report, FourOrFiveLines) {
  const std::string_view lines[] = {"one ", "two", "three ", "th four", "five"};
  EXPECT_EQ(compose_report<char>("a1f031b300011", "200011", std::span(lines, 4), "\n"),
            "Your VIN# of a1f031b300011 decodes as follows\none \ntwo\nthree 200011th four");
  EXPECT_EQ(compose_report<char>("V", "", std::span(lines, 5), "\r\n"),
            "Your VIN# of V decodes as follows\r\none \r\ntwo\r\nthree th four\r\nfive");
}

TEST(Report, Settlement) {
  struct Case {
    const char *vin;
    bool asks;
    int model_year;
    std::vector<std::int16_t> candidates;
  };
  for (const Case &c : {Case{"A8A855H100001", true, 0, {68, 78}},
                        Case{"A9A439A100001", false, 79, {}},
                        Case{"AXA430A100001", true, 0, {70, 80}},
                        Case{"A8AX50A100001", true, 0, {68, 69, 70, 78, 79, 80}},
                        Case{"A8A795H100001", false, 0, {}}}) {
    const YearSettlement s = settle_model_year(std::string_view(c.vin));
    EXPECT_EQ(s.asks, c.asks) << c.vin;
    EXPECT_EQ(s.model_year, c.model_year) << c.vin;
    EXPECT_EQ(std::vector<std::int16_t>(s.candidates.begin(), s.candidates.end()), c.candidates);
  }
  EXPECT_EQ(scheme_of(13), Scheme::thirteen);
  EXPECT_EQ(scheme_of(17), Scheme::seventeen);
  EXPECT_EQ(scheme_of(16), Scheme::invalid_length);
}
