#include <gtest/gtest.h>

#include "device_test_support.h"

namespace {

using device_test::DeviceFixture;

class DispatcherTest : public ::testing::Test, public DeviceFixture {
 protected:
  std::vector<std::string> hooked;
};

TEST_F(DispatcherTest, RecordBecomesTheDispatcherTextAndIsStoredByCode) {
  Deliver("03 AC 03 07");
  ASSERT_EQ(memos.received.size(), 1u);
  EXPECT_EQ(memos.received[0], "09 02 AC 03 07 00 00 00 00 00 ");
  EXPECT_EQ(*stores.Response(1, 2, 9), "09 02 AC 03 07 00 00 00 00 00 ");
  EXPECT_EQ(*stores.Response(1, 2, 4), "");

  const std::pair<const char*, int> codes[] = {
      {"02 C1 01", 1}, {"02 C3 01", 1}, {"02 D1 01", 2}, {"02 E1 01", 2}, {"02 A3 11", 3},
      {"02 AB 01", 5}, {"02 42 6F", 6}, {"02 B5 01", 7}, {"02 CB 01", 8}};
  for (const auto& [record, slot] : codes) {
    Deliver(record);
    const std::string* stored = stores.Response(1, 2, slot);
    EXPECT_EQ(stored->substr(6, 2), std::string(record).substr(3, 2)) << record;
  }
  // AC with first data byte 04 fills slot 4 as well as slot 9.
  Deliver("03 AC 04 12");
  EXPECT_EQ(*stores.Response(1, 2, 4), "09 02 AC 04 12 00 00 00 00 00 ");
  EXPECT_EQ(*stores.Response(1, 2, 9), *stores.Response(1, 2, 4));
  // A code without a slot is logged and kept nowhere.
  Deliver("02 77 01");
  EXPECT_EQ(memos.received.size(), 12u);
}

TEST_F(DispatcherTest, MiscountedAndTooShortRecordsAreDroppedUnlogged) {
  dispatcher.OnRecord("\x02");
  dispatcher.OnRecord("");
  Deliver("04 AC 03 07");  // says four bytes, brings three
  Deliver("02 AC 03 07");  // says two, brings three
  EXPECT_TRUE(memos.received.empty());
  // A length byte of 250 cannot overflow the dispatcher's own length byte.
  dispatcher.OnRecord(std::string("\x02\xFA") + std::string(250, '\x11'));
  EXPECT_TRUE(memos.received.empty());
}

TEST_F(DispatcherTest, ChannelPairsAreHandedOutOncePerAddress) {
  Deliver("03 AC 04 31");
  EXPECT_EQ(stores.channel_pairs[9].link, 1);
  EXPECT_EQ(stores.channel_pairs[9].address, 2);
  Deliver("02 81 00");
  Deliver("02 9B 00");
  EXPECT_EQ(stores.channel_pairs[10].link, 0);
  // An AC 04 whose byte is not 3x announces nothing.
  stores.channel_pairs[9] = {};
  Deliver("03 AC 04 41");
  EXPECT_EQ(stores.channel_pairs[9].link, 0);
  // With every entry taken nothing is assigned and nothing breaks.
  for (int m = 9; m <= 32; ++m) stores.channel_pairs[m] = {2, m};
  Deliver("02 81 00");
  for (int m = 9; m <= 32; ++m) EXPECT_EQ(stores.channel_pairs[m].link, 2);
}

TEST_F(DispatcherTest, PhoneAnswerEndsTheWaitWithItsDigits) {
  links.Add(1).Poll();
  engine.ExecuteLine("1 2 16 READTEL");
  // Another record number is not this read's answer.
  Deliver("13 AC 20 00 01 21 43 F5 FF FF FF FF FF 00 00 00 00 00 00 00");
  EXPECT_TRUE(wait_reads.empty());
  Deliver("13 AC 10 00 01 21 43 F5 FF FF FF FF FF 00 00 00 00 00 00 00");
  EXPECT_EQ(stores.phone.digits, "12345");
  EXPECT_EQ(stores.phone.status, 1);
  EXPECT_EQ(stores.phone.module, 0);
  ASSERT_EQ(wait_reads.size(), 1u);
  EXPECT_EQ(wait_reads[0], 0);
  engine.ExecuteLine("RTEL");
  EXPECT_EQ(engine.StackValue(1), "12345");
  EXPECT_EQ(engine.StackValue(2), "1");
  // Once completed, a repeated answer changes nothing.
  Deliver("13 AC 10 00 02 99 FF FF FF FF FF FF FF 00 00 00 00 00 00 00");
  EXPECT_EQ(stores.phone.digits, "12345");
  EXPECT_EQ(wait_reads.size(), 1u);
}

TEST_F(DispatcherTest, RecordHookSeesTheTextUnlessALineRuns) {
  engine.Register("KEEP", [this](engine::Engine& e, engine::Frame&) { hooked.push_back(e.Pop()); });
  engine.ExecuteLine("\"KEEP\" 1 ONREADCK");
  Deliver("02 C1 05");
  ASSERT_EQ(hooked.size(), 1u);
  EXPECT_EQ(hooked[0], "08 02 C1 05 00 00 00 00 00 ");
  engine.set_busy(true);
  Deliver("02 C1 06");
  engine.set_busy(false);
  EXPECT_EQ(hooked.size(), 1u);
  EXPECT_EQ(*stores.Response(1, 2, 1), "08 02 C1 06 00 00 00 00 00 ");
  stores.record_hook.link = 2;  // only link 1 ever delivers
  Deliver("02 C1 07");
  EXPECT_EQ(hooked.size(), 1u);
}

TEST_F(DispatcherTest, RecordsKeepARunningWaitAliveUnlessMaxwaitHoldsIt) {
  Deliver("02 C1 01");
  EXPECT_EQ(wait.restarts, 0);
  wait.running = true;
  Deliver("02 C1 01");
  EXPECT_EQ(wait.restarts, 1);
  wait.max_wait = 3000;
  Deliver("02 C1 01");
  EXPECT_EQ(wait.restarts, 1);
}

TEST_F(DispatcherTest, AHookThatFaultsOrStopsTheLinkDoesNotBreakTheRecord) {
  links.Add(1).Poll();
  engine.Register("UNPLUG", [this](engine::Engine&, engine::Frame&) { links.Remove(1); });
  stores.record_hook = {1, "UNPLUG"};
  engine.ExecuteLine("1 2 \"\" READSCR");
  Deliver("03 AC 03 07");  // would queue the next read on link 1, which is gone
  EXPECT_EQ(*stores.Response(1, 2, 9), "09 02 AC 03 07 00 00 00 00 00 ");
  EXPECT_EQ(stores.transfer.next_address, 8);
}

}  // namespace
