#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame.h"

namespace {

using namespace std::string_literals;
using zlink::BuildFrame;
using zlink::FrameAssembler;
using zlink::FrameCheck;
using zlink::VerifyFrame;

std::vector<std::string> Assemble(FrameAssembler& assembler, const std::string& bytes) {
  std::vector<std::string> frames;
  for (char c : bytes)
    if (assembler.Feed(c)) frames.push_back(assembler.text());
  return frames;
}

TEST(FrameBuilder, BuildsTheFramesTheDeviceExpects) {
  EXPECT_EQ(BuildFrame(2, "\x43\x00"s), ":024300BB");
  EXPECT_EQ(BuildFrame(2, "\x44\x00"s), ":024400BA");
  EXPECT_EQ(BuildFrame(2, "\x43\x03\x02\xAD\x03"s), ":02430302AD0306");
  EXPECT_EQ(BuildFrame(2, "\x41"), ":0241BD");
  EXPECT_EQ(BuildFrame(2, "\x42"), ":0242BC");
  EXPECT_EQ(BuildFrame(2, ""), "");
}

TEST(FrameAssembler, FramesBetweenColonAndLineFeed) {
  FrameAssembler assembler;
  EXPECT_EQ(Assemble(assembler, "noise:024300BB\r\nmore:0241BD\n"),
            (std::vector<std::string>{"024300BB", "0241BD"}));
  // A second ':' restarts the frame; blanks and case are kept as received.
  EXPECT_EQ(Assemble(assembler, "::02 43ab\r\n"), (std::vector<std::string>{"02 43ab"}));
  EXPECT_FALSE(assembler.in_frame());
  // A line feed outside a frame is nothing.
  EXPECT_TRUE(Assemble(assembler, "\n\n").empty());
}

TEST(FrameAssembler, EndlessNoiseIsDropped) {
  FrameAssembler assembler;
  std::string noise = ":" + std::string(FrameAssembler::kMaxFrameText + 10, '7');
  EXPECT_TRUE(Assemble(assembler, noise).empty());
  EXPECT_LE(assembler.text().size(), FrameAssembler::kMaxFrameText);
  EXPECT_EQ(Assemble(assembler, "\n:024300BB\n"), (std::vector<std::string>{"024300BB"}));
}

TEST(VerifyFrame, GoodShortAndBadSums) {
  FrameCheck good = VerifyFrame("02430302AD0306");
  ASSERT_EQ(good.kind, FrameCheck::Kind::kGood);
  EXPECT_EQ(good.bytes, "\x02\x43\x03\x02\xAD\x03"s);

  EXPECT_EQ(VerifyFrame("0243").kind, FrameCheck::Kind::kShort);
  EXPECT_EQ(VerifyFrame("02431").kind, FrameCheck::Kind::kShort);

  FrameCheck bad = VerifyFrame("024300BC");
  ASSERT_EQ(bad.kind, FrameCheck::Kind::kBadSum);
  EXPECT_EQ(bad.error, 0xFF);
  EXPECT_EQ(VerifyFrame("024300BA").error, 0x01);
}

TEST(VerifyFrame, OddLengthLeavesOutTheLastCharacterBeforeTheChecksum) {
  // "0241" + "X" + "BD": the stray character is not read.
  FrameCheck check = VerifyFrame("0241XBD");
  ASSERT_EQ(check.kind, FrameCheck::Kind::kGood);
  EXPECT_EQ(check.bytes, "\x02\x41"s);
}

TEST(VerifyFrame, EveryBuiltFrameVerifies) {
  std::string bytes;
  for (int i = 0; i < 300; ++i) {
    bytes += static_cast<char>(i * 37 + 11);
    const std::string line = BuildFrame(2, bytes);
    FrameCheck check = VerifyFrame(line.substr(1));
    ASSERT_EQ(check.kind, FrameCheck::Kind::kGood) << line;
    ASSERT_EQ(check.bytes, "\x02"s + bytes);
  }
}

}  // namespace
