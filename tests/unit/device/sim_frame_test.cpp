// The simulated device's own frame code against the protocol's examples, and
// against the program's link: two separate codes that must agree on every
// frame, so a fault in either one shows.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "frame.h"
#include "sim_frame.h"

namespace {

using namespace std::string_literals;

TEST(SimFrame, EncodesAndDecodesTheProtocolExamples) {
  const std::pair<std::string, std::string> examples[] = {
      {"\x43\x00"s, ":024300BB"}, {"\x44\x00"s, ":024400BA"},
      {"\x43\x03\x02\xAD\x03"s, ":02430302AD0306"}, {"\x41"s, ":0241BD"}, {"\x42"s, ":0242BC"}};
  for (const auto& [bytes, line] : examples) {
    EXPECT_EQ(zsim::EncodeFrame(2, bytes), line);
    std::string decoded;
    ASSERT_EQ(zsim::DecodeFrame(line.substr(1), &decoded), zsim::FrameStatus::kGood) << line;
    EXPECT_EQ(decoded, "\x02"s + bytes);
  }
}

TEST(SimFrame, RefusesDamagedFrames) {
  std::string bytes;
  EXPECT_EQ(zsim::DecodeFrame("0241BE", &bytes), zsim::FrameStatus::kBadSum);
  EXPECT_EQ(zsim::DecodeFrame("0241bd", &bytes), zsim::FrameStatus::kMalformed);  // lower case
  EXPECT_EQ(zsim::DecodeFrame("0241B", &bytes), zsim::FrameStatus::kMalformed);   // short
  EXPECT_EQ(zsim::DecodeFrame("0241BDA", &bytes), zsim::FrameStatus::kMalformed);  // odd
  EXPECT_EQ(zsim::DecodeFrame("02G1BD", &bytes), zsim::FrameStatus::kMalformed);   // not hex
}

TEST(SimFrame, ReaderFindsFramesInNoise) {
  zsim::FrameReader reader;
  std::vector<std::string> frames;
  for (char c : "\x07junk:12:0241BD\r\nxx:02\n:024300BB\r\n"s)
    if (reader.Feed(c)) frames.push_back(reader.text());
  EXPECT_EQ(frames, (std::vector<std::string>{"0241BD", "02", "024300BB"}));
  // Endless junk after a ':' is dropped, not kept as one huge frame.
  reader.Feed(':');
  for (char c : std::string(2000, 'A')) reader.Feed(c);
  EXPECT_FALSE(reader.Feed('\n'));
}

// Random frames built by each side are read back by the other.
TEST(SimFrame, AgreesWithTheProgramsLinkOnRandomFrames) {
  std::mt19937 random(17);
  for (int round = 0; round < 500; ++round) {
    std::string bytes(1 + random() % 40, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    const uint8_t address = static_cast<uint8_t>(random());
    const std::string device_line = zsim::EncodeFrame(address, bytes);
    ASSERT_EQ(device_line, zlink::BuildFrame(address, bytes));
    const zlink::FrameCheck check = zlink::VerifyFrame(device_line.substr(1));
    ASSERT_EQ(check.kind, zlink::FrameCheck::Kind::kGood);
    EXPECT_EQ(check.bytes, static_cast<char>(address) + bytes);
    std::string decoded;
    ASSERT_EQ(zsim::DecodeFrame(zlink::BuildFrame(address, bytes).substr(1), &decoded),
              zsim::FrameStatus::kGood);
    EXPECT_EQ(decoded, static_cast<char>(address) + bytes);
  }
}

TEST(SimFrame, HexRoundTripAndRefusals) {
  std::string bytes;
  ASSERT_TRUE(zsim::FromHex("02 C0 0a", &bytes));
  EXPECT_EQ(bytes, "\x02\xC0\x0A"s);
  EXPECT_EQ(zsim::ToHex(bytes), "02C00A");
  EXPECT_FALSE(zsim::FromHex("02C", &bytes));
  EXPECT_FALSE(zsim::FromHex("0Z", &bytes));
}

}  // namespace
