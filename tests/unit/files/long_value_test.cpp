#include "long_value.h"

#include <gtest/gtest.h>

#include "profile_store.h"
#include "settings_reader.h"
#include "test_support.h"

namespace files {
namespace {

using files_test::ReadBytes;
using files_test::TempDir;
using files_test::WriteBytes;

// A value whose every piece starts and ends with tildes of its own.
std::string Value(size_t size) {
  std::string value;
  for (size_t i = 0; i < size; ++i) value += "~abcdefghi\xC0\xFF"[i % 12];
  return value;
}

class LongValue : public ::testing::Test {
 protected:
  std::string Read(const std::string& key) { return ReadLongValue(buffer_, file_, "Main", key); }
  std::string Text() { return ReadBytes(dir_.path() / "s.ini"); }

  TempDir dir_;
  std::string file_ = dir_.Name("s.ini");
  std::string buffer_;
};

TEST_F(LongValue, SplitsIntoTildedPiecesThatReadBackWhole) {
  std::string value = Value(2500);
  ASSERT_TRUE(WriteLongValue(file_, "Main", "Tel", value));
  EXPECT_EQ(Text(), "[Main]\r\nTel=~" + value.substr(0, 1000) + "~\r\nTel_1=~" +
                        value.substr(1000, 1000) + "~\r\nTel_2=~" + value.substr(2000) +
                        "~\r\n");
  EXPECT_EQ(Read("Tel"), value);
}

TEST_F(LongValue, PieceBoundaries) {
  std::string exact = Value(1000);
  ASSERT_TRUE(WriteLongValue(file_, "Main", "A", exact));
  ASSERT_TRUE(WriteLongValue(file_, "Main", "B", Value(1001)));
  ASSERT_TRUE(WriteLongValue(file_, "Main", "C", Value(2000)));
  EXPECT_EQ(Text(), "[Main]\r\nA=" + exact + "\r\nB=~" + exact + "~\r\nB_1=~" +
                        Value(1001).substr(1000) + "~\r\nC=~" + exact + "~\r\nC_1=~" +
                        Value(2000).substr(1000) + "~\r\n");
  EXPECT_EQ(Read("B"), Value(1001));
  EXPECT_EQ(Read("C"), Value(2000));
  // A short value is stored as it is, so its own outer tildes come off.
  ASSERT_TRUE(WriteLongValue(file_, "Main", "D", "~abc~"));
  EXPECT_EQ(Read("D"), "abc");
}

TEST_F(LongValue, ShorterValueLeavesNoPieceBehind) {
  ASSERT_TRUE(WriteLongValue(file_, "Main", "Tel", Value(4500)));
  ASSERT_TRUE(WriteLongValue(file_, "Main", "Tel", Value(1500)));
  EXPECT_EQ(Read("Tel"), Value(1500));
  EXPECT_EQ(Text().find("Tel_2="), std::string::npos);
  ASSERT_TRUE(WriteLongValue(file_, "Main", "Tel", "short"));
  EXPECT_EQ(Text(), "[Main]\r\nTel=short\r\n");
  EXPECT_EQ(Read("Tel"), "short");
}

TEST_F(LongValue, OtherLinesAreKept) {
  std::string before = files_test::Bytes("x\r\n[Main]\r\nTel=old\r\nKeep=\xE0\x00\r\n[B]\r\nTel_1=b\r\n");
  WriteBytes(dir_.path() / "s.ini", before);
  ASSERT_TRUE(WriteLongValue(file_, "Main", "Tel", Value(1200)));
  // The new piece goes at the end of its section.
  EXPECT_EQ(Text(), files_test::Bytes("x\r\n[Main]\r\nTel=~") + Value(1000) +
                        "~\r\nKeep=" + files_test::Bytes("\xE0\x00") + "\r\nTel_1=~" +
                        Value(1200).substr(1000) + "~\r\n[B]\r\nTel_1=b\r\n");
}

TEST_F(LongValue, ValueWithALineBreakIsRefusedWhole) {
  WriteBytes(dir_.path() / "s.ini", "[Main]\r\nTel=1\r\n");
  std::string broken = Value(1500) + "\r\n[Main]\r\nTel=2";
  EXPECT_FALSE(WriteLongValue(file_, "Main", "Tel", broken));
  EXPECT_EQ(Text(), "[Main]\r\nTel=1\r\n");
  EXPECT_FALSE(WriteLongValue(dir_.path().string(), "Main", "Tel", "1"));
}

}  // namespace
}  // namespace files
