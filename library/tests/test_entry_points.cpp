// The two C functions of the built shared library, end to end: boxes, standard
// output and the caller's buffers.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>

#include "recording_host.h"

namespace {

// Five caller buffers, each filled with a pattern so that any byte the library
// writes, and any it should not have, shows.
struct Buffers {
  static constexpr std::size_t size = 1001;
  std::array<std::array<char, size>, 5> lines;

  Buffers() {
    for (std::size_t i = 0; i < 5; ++i) lines[i].fill(static_cast<char>('a' + i));
  }
  char *operator[](std::size_t i) { return lines[i].data(); }
  std::string text(std::size_t i) const { return std::string(lines[i].data()); }
  bool untouched(std::size_t i) const {
    return std::all_of(
        lines[i].begin(), lines[i].end(), [&](char c) { return c == static_cast<char>('a' + i); });
  }
  // Bytes behind the terminator the library wrote are still the caller's.
  bool untouched_after_terminator(std::size_t i) const {
    const std::size_t end = std::strlen(lines[i].data()) + 1;
    return std::all_of(lines[i].begin() + static_cast<long>(end), lines[i].end(), [&](char c) {
      return c == static_cast<char>('a' + i);
    });
  }
};

class EntryPoints : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(library().handle, nullptr) << dlerror();
    ASSERT_NE(library().process_13, nullptr);
    ASSERT_NE(library().process_17, nullptr);
    recorded_boxes.clear();
  }

  int call13(int model_year, const char *vin) {
    return library().process_13(model_year, vin, b[0], b[1], b[2], b[3], b[4]);
  }
  int call17(int model_year, const char *vin) {
    return library().process_17(model_year, vin, b[0], b[1], b[2], b[3], b[4]);
  }

  Buffers b;
};

TEST_F(EntryPoints, Valid17WritesFiveLinesAndNothingMore) {
  EXPECT_EQ(call17(0, "1AMCM3877BK100021"), 1);
  EXPECT_TRUE(recorded_boxes.empty());
  EXPECT_EQ(b.text(0), "1981 AMC Eagle 4wd 4 dr wagon Passenger car  ");
  EXPECT_EQ(b.text(1), "Engine:AMC 4.2l (258cid) 2v I6. Trans: 4spd manual floor shift ) ");
  EXPECT_EQ(b.text(2), "This was the ");
  EXPECT_EQ(b.text(3), "st car ordered from the  Kenosha WI, USA plant in 1981");
  EXPECT_EQ(b.text(4), "This car has Limited interior and seatbelts and your check digit is 7.");
  for (std::size_t i = 0; i < 5; ++i) EXPECT_TRUE(b.untouched_after_terminator(i)) << i;
}

TEST_F(EntryPoints, Rejected17ShowsOneBoxAndLeavesBuffers) {
  EXPECT_EQ(call17(85, "1AMCA0507IK123456"), 1);
  ASSERT_EQ(recorded_boxes.size(), 1u);
  EXPECT_EQ(recorded_boxes[0].owner, nullptr);
  EXPECT_EQ(recorded_boxes[0].type, 0u);
  EXPECT_EQ(recorded_boxes[0].caption, "Error");
  EXPECT_EQ(recorded_boxes[0].text, "The 9th digit is a invalid year code.");
  for (std::size_t i = 0; i < 5; ++i) EXPECT_TRUE(b.untouched(i)) << i;
}

TEST_F(EntryPoints, ModelYearPlaysNoPartFor17) {
  call17(0, "1AMCA0507BK123456");
  const std::string first = b.text(0);
  Buffers again;
  library().process_17(85, "1AMCA0507BK123456", again[0], again[1], again[2], again[3], again[4]);
  EXPECT_EQ(again.text(0), first);
}

TEST_F(EntryPoints, Valid13WritesFourLinesAndNeverLineFive) {
  EXPECT_EQ(call13(0, "a1f031b300011"), 1);
  EXPECT_TRUE(recorded_boxes.empty());
  EXPECT_EQ(b.text(0), "1971 AMC Hornet  SC 360  2dr hatchback ");
  EXPECT_EQ(b.text(1), "Engine: 232 1v . Trans:3speed manual on floor ");
  EXPECT_EQ(b.text(2), "This was the ");
  EXPECT_EQ(b.text(3), "th car ordered from the Kenosha plant in 1971");
  for (std::size_t i = 0; i < 4; ++i) EXPECT_TRUE(b.untouched_after_terminator(i)) << i;
  EXPECT_TRUE(b.untouched(4));
}

TEST_F(EntryPoints, AmbassadorWarningComesFirstThenTheReport) {
  EXPECT_EQ(call13(0, "A0B857H123442"), 1);
  ASSERT_EQ(recorded_boxes.size(), 1u);
  EXPECT_EQ(recorded_boxes[0].caption, "ERROR");
  EXPECT_EQ(b.text(1), "Engine:304 2v. Trans:Error ");
}

TEST_F(EntryPoints, StandardOutputFailureWritesTextAndLineBreak) {
  testing::internal::CaptureStdout();
  const int result = call13(0, "A2A430AL00001");
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(out, "\nThe eighth digit of the VIN # is invalid\n");
  EXPECT_TRUE(recorded_boxes.empty());
  for (std::size_t i = 0; i < 5; ++i) EXPECT_TRUE(b.untouched(i)) << i;
}

TEST_F(EntryPoints, NoDecoderReturnsZeroSilently) {
  EXPECT_EQ(call13(74, "A8A857H100001"), 0);
  EXPECT_TRUE(recorded_boxes.empty());
  for (std::size_t i = 0; i < 5; ++i) EXPECT_TRUE(b.untouched(i)) << i;
  EXPECT_EQ(call17(0, "1AMCA4507BK123456"), 1);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_TRUE(b.untouched(i)) << i;
}

TEST_F(EntryPoints, DispatchMessageShowsABox) {
  EXPECT_EQ(call13(0, "A8A855H100001"), 1);
  ASSERT_EQ(recorded_boxes.size(), 1u);
  EXPECT_EQ(recorded_boxes[0].text, "Invalid Year.");
  EXPECT_EQ(recorded_boxes[0].caption, "Error");
}

TEST_F(EntryPoints, NullArgumentsTouchNothing) {
  EXPECT_EQ(library().process_13(0, nullptr, b[0], b[1], b[2], b[3], b[4]), 0);
  EXPECT_EQ(library().process_17(0, nullptr, b[0], b[1], b[2], b[3], b[4]), 0);
  EXPECT_EQ(library().process_13(0, "A1A050H100001", b[0], b[1], nullptr, b[3], b[4]), 0);
  EXPECT_EQ(library().process_17(0, "1AMCA0507BK123456", b[0], b[1], b[2], b[3], nullptr), 0);
  EXPECT_TRUE(recorded_boxes.empty());
  for (std::size_t i = 0; i < 5; ++i) EXPECT_TRUE(b.untouched(i)) << i;
}

TEST_F(EntryPoints, ShortVinsAreReadOnlyToTheirEnd) {
  // Exactly sized heap copies, so a read past the end shows under AddressSanitizer.
  for (const std::string vin : {"", "A", "A1A05", "1AMCA05", "1AMCA0507B"}) {
    auto text = std::make_unique<char[]>(vin.size() + 1);
    std::memcpy(text.get(), vin.c_str(), vin.size() + 1);
    recorded_boxes.clear();
    call13(0, text.get());
    call17(0, text.get());
    EXPECT_FALSE(recorded_boxes.empty()) << vin;
  }
  for (std::size_t i = 0; i < 5; ++i) EXPECT_TRUE(b.untouched(i)) << i;
}

TEST_F(EntryPoints, CallersVinIsNeverModified) {
  char vin13[] = "a1f031b300011";
  char vin17[] = "1amcm3877bk100021";
  call13(0, vin13);
  call17(0, vin17);
  EXPECT_STREQ(vin13, "a1f031b300011");
  EXPECT_STREQ(vin17, "1amcm3877bk100021");
}

}  // namespace
