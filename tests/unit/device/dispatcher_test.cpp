#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "device_test_support.h"
#include "record_keeping.h"

namespace {

using device_test::DeviceFixture;

class DispatcherTest : public ::testing::Test, public DeviceFixture {
 protected:
  std::vector<std::string> hooked;
};

TEST(DeviceRecord, TheDeliveredRecordBecomesTheDispatcherBytes) {
  const device::DeviceRecord r = device_test::Parsed("03 AC 03 07");
  EXPECT_EQ(r.text(), "09 02 AC 03 07 00 00 00 00 00 ");
  EXPECT_EQ(r.address(), 2);
  EXPECT_EQ(r.code(), 0xAC);
  EXPECT_EQ(r.Word(3), 0x0703);
  EXPECT_EQ(r.At(40), 0);
  const struct {
    std::string delivered;
    const char* why;
  } dropped[] = {
      {"\x02", "one byte"},
      {"", "nothing"},
      {"\x02\x04\xAC\x03\x07", "says four bytes, brings three"},
      {"\x02\x02\xAC\x03\x07", "says two, brings three"},
      // A length byte of 250 cannot overflow the dispatcher's own length byte.
      {std::string("\x02\xFA") + std::string(250, '\x11'), "250 bytes"},
  };
  for (const auto& row : dropped) EXPECT_FALSE(device::DeviceRecord::Parse(row.delivered)) << row.why;
}

TEST(RecordKeeping, EachCodeFillsItsSlotOfTheResponseStore) {
  const struct {
    const char* record;
    std::vector<int> filled;  // not "slots": Qt defines that word
  } rows[] = {
      {"02 C1 01", {1}}, {"02 C2 01", {1}}, {"02 C3 01", {1}}, {"02 D1 01", {2}},
      {"02 E1 01", {2}}, {"02 A3 11", {3}}, {"02 AB 01", {5}}, {"02 42 6F", {6}},
      {"02 B5 01", {7}}, {"02 CB 01", {8}}, {"03 AC 03 07", {9}},
      {"03 AC 04 12", {4, 9}},  // an AC answer of 04 fills slot 4 as well
      {"02 77 01", {}},         // kept nowhere
  };
  for (const auto& row : rows) {
    device::DeviceStores stores;
    const device::DeviceRecord r = device_test::Parsed(row.record);
    device::StoreResponse(stores, r);
    for (int slot = 1; slot <= device::kSlots; ++slot) {
      const bool wanted = std::find(row.filled.begin(), row.filled.end(), slot) != row.filled.end();
      EXPECT_EQ(*stores.Response(1, 2, slot), wanted ? r.text() : "") << row.record << " " << slot;
    }
  }
}

TEST(RecordKeeping, ModulesAnnounceThemselvesAndGetOneChannelPairEach) {
  const std::pair<const char*, bool> rows[] = {
      {"02 81 00", true},     {"02 9B 00", true},     {"03 AC 04 31", true},
      {"03 AC 04 3F", true},  {"03 AC 04 41", false},  // not 3x
      {"03 AC 05 31", false}, {"03 AB 04 31", false}, {"02 C1 01", false}};
  for (const auto& [record, announces] : rows) {
    EXPECT_EQ(device::AnnouncesModule(device_test::Parsed(record)), announces) << record;
  }
  device::DeviceStores stores;
  device::AssignChannelPair(stores, 2);
  device::AssignChannelPair(stores, 2);
  EXPECT_EQ(stores.channel_pairs[9].link, 1);
  EXPECT_EQ(stores.channel_pairs[9].address, 2);
  EXPECT_EQ(stores.channel_pairs[10].link, 0);
  // With every entry taken nothing is assigned and nothing breaks.
  for (int m = 9; m <= 32; ++m) stores.channel_pairs[m] = {2, m};
  device::AssignChannelPair(stores, 3);
  for (int m = 9; m <= 32; ++m) EXPECT_EQ(stores.channel_pairs[m].link, 2);
}

TEST_F(DispatcherTest, ARecordIsLoggedStoredAndPairedUnlessDropped) {
  Deliver("03 AC 04 31");
  ASSERT_EQ(memos.received, std::vector<std::string>{"09 02 AC 04 31 00 00 00 00 00 "});
  EXPECT_EQ(*stores.Response(1, 2, 9), memos.received[0]);
  EXPECT_EQ(stores.channel_pairs[9].address, 2);
  dispatcher.OnRecord("\x02\x04\xAC\x03\x07");
  EXPECT_EQ(memos.received.size(), 1u);
  // Address 00 is logged, not stored.
  dispatcher.OnRecord(std::string("\x00\x02\xC1\x05", 4));
  EXPECT_EQ(memos.received.size(), 2u);
  EXPECT_EQ(*stores.Response(1, 2, 1), "");
}

TEST_F(DispatcherTest, PhoneAnswerEndsTheWaitWithItsDigits) {
  links.Add(1).Poll();
  engine.ExecuteLine("1 2 16 READTEL");
  // Another record number is not this read's answer.
  Deliver("13 AC 20 00 01 21 43 F5 FF FF FF FF FF 00 00 00 00 00 00 00");
  EXPECT_EQ(wait.ended, 0);
  Deliver("13 AC 10 00 01 21 43 F5 FF FF FF FF FF 00 00 00 00 00 00 00");
  EXPECT_EQ(stores.phone.digits, "12345");
  EXPECT_EQ(stores.phone.status, 1);
  EXPECT_EQ(stores.phone.module, 0);
  EXPECT_EQ(wait.ended, 1);
  engine.ExecuteLine("RTEL");
  EXPECT_EQ(engine.StackValue(1), "12345");
  EXPECT_EQ(engine.StackValue(2), "1");
  // Once completed, a repeated answer changes nothing.
  Deliver("13 AC 10 00 02 99 FF FF FF FF FF FF FF 00 00 00 00 00 00 00");
  EXPECT_EQ(stores.phone.digits, "12345");
  EXPECT_EQ(wait.ended, 1);
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

TEST_F(DispatcherTest, RecordsFromAModuleKeepTheWaitAlive) {
  Deliver("02 C1 01");
  Deliver("02 77 01");
  EXPECT_EQ(wait.kept_alive, 2);
  dispatcher.OnRecord(std::string("\x00\x02\xC1\x05", 4));
  dispatcher.OnRecord("\x02\x04\xAC\x03\x07");
  EXPECT_EQ(wait.kept_alive, 2);
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
