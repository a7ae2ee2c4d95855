#include <gtest/gtest.h>

#include <string>

#include "UHex.h"

namespace {

using namespace std::string_literals;

TEST(UHex, ByteAndPairConversions) {
  EXPECT_EQ(uhex::ByteToHex(10), "0A");
  EXPECT_EQ(uhex::ByteToHex(255), "FF");
  EXPECT_EQ(uhex::ByteToHex(0), "00");
  EXPECT_EQ(uhex::HexPairToByte("AD"), 0xAD);
  // Characters that are no digits count by their own code.
  EXPECT_EQ(uhex::HexPairToByte("3 "), 0x50);
  EXPECT_EQ(uhex::HexPairToByte("ff"), (16 * 'f' + 'f') % 256);
}

TEST(UHex, SpacedAndCompactForms) {
  const std::string bytes = "\x03\xAD\x03"s;
  EXPECT_EQ(uhex::BytesToSpacedHex(bytes), "03 AD 03 ");
  EXPECT_EQ(uhex::BytesToCompactHex(bytes), "03AD03");
  EXPECT_EQ(uhex::BytesToSpacedHex(""), "");
  EXPECT_EQ(uhex::SpacedHexToBytes("03 AD 03 "), bytes);
  EXPECT_EQ(uhex::SpacedHexToBytes("03 AD 03"), bytes);
  EXPECT_EQ(uhex::SpacedHexToBytes("ad 01"), "\xAD\x01"s);
  // Misaligned cells are misread, not rejected.
  EXPECT_EQ(uhex::SpacedHexToBytes("3 AD"), "\x50"s);
  EXPECT_EQ(uhex::CompactHexToBytes("03 AD 03"), bytes);
  EXPECT_EQ(uhex::CompactHexToBytes("03AD03"), bytes);
  EXPECT_EQ(uhex::CompactHexToBytes("0 3A D03"), bytes);
  EXPECT_EQ(uhex::CompactHexToBytes("ABC"), "\xAB"s);
}

TEST(TakeRecord, TakesOneRecordAtATimeByItsLengthByte) {
  std::string queue = "02 AD 01 03 02 AD 03 ";
  EXPECT_EQ(uhex::TakeRecord(queue), "02 AD 01 ");
  EXPECT_EQ(queue, "03 02 AD 03 ");
  EXPECT_EQ(uhex::TakeRecord(queue), "03 02 AD 03 ");
  EXPECT_EQ(queue, "");
  EXPECT_EQ(uhex::TakeRecord(queue), "");
}

TEST(TakeRecord, ShortOrEmptyFirstLineEmptiesTheQueue) {
  std::string queue = "00";
  EXPECT_EQ(uhex::TakeRecord(queue), "");
  EXPECT_EQ(queue, "");

  queue = "\r\n03 02 AD 03 ";
  EXPECT_EQ(uhex::TakeRecord(queue), "");
  EXPECT_EQ(queue, "");
}

TEST(TakeRecord, LinesAndLeadingBlanks) {
  // A line that is one record is taken whole, with its line break.
  std::string queue = "03 02 AD 03 \r\n02 AD 01 ";
  EXPECT_EQ(uhex::TakeRecord(queue), "03 02 AD 03 ");
  EXPECT_EQ(queue, "02 AD 01 ");

  // Up to two leading blanks are dropped before the length byte is read.
  queue = "  02 AD 01 03 02 AD 03 ";
  EXPECT_EQ(uhex::TakeRecord(queue), "02 AD 01 ");
  EXPECT_EQ(queue, "03 02 AD 03 ");
}

TEST(TakeRecord, AlwaysShrinksAGarbageQueue) {
  std::string queue = "zz qq \xFF\xFE garbage without any record in it at all";
  size_t last = queue.size() + 1;
  for (int i = 0; i < 100 && !queue.empty(); ++i) {
    ASSERT_LT(queue.size(), last);
    last = queue.size();
    uhex::TakeRecord(queue);
  }
  EXPECT_TRUE(queue.empty());
}

}  // namespace
