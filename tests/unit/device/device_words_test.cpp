#include <gtest/gtest.h>

#include "device_test_support.h"

namespace {

using device_test::DeviceFixture;

class DeviceWords : public ::testing::Test, public DeviceFixture {
 protected:
  void Run(const std::string& line) { engine.ExecuteLine(line); }
};

TEST_F(DeviceWords, SendckQueuesValidRecordsOnAnAnsweredLink) {
  links.Add(1).Poll();
  Run("\"03 02 ad 03\" 1 SENDCK");
  EXPECT_EQ(Queue(1), "03 02 AD 03 ");
  EXPECT_EQ(links.At(1).protocol.LastCommand(), "03 02 AD 03 ");
  ASSERT_EQ(memos.sent.size(), 1u);
  EXPECT_EQ(memos.sent[0], "03 02 AD 03 ");

  Run("\"03 02 AD \" 1 SENDCK");  // the length byte counts three bytes, two follow
  EXPECT_EQ(Queue(1), "03 02 AD 03 ");
  EXPECT_EQ(memos.sent.size(), 1u);

  // Appended records stay one well-formed line, so the link takes them apart.
  Run("\"02 02 C0 \" 1 SENDCK");
  EXPECT_EQ(Queue(1), "03 02 AD 03 02 02 C0 ");
  links.At(1).protocol.Feed(":024400BA\r\n");
  EXPECT_EQ(links.At(1).host.wire.back(), ":02440302AD0305\r\n");
}

TEST_F(DeviceWords, SendckBeforeTheDeviceAnsweredIsOnlyLogged) {
  links.Add(1);
  Run("\"03 02 AD 03 \" 1 SENDCK");
  EXPECT_EQ(Queue(1), "");
  EXPECT_EQ(memos.sent.size(), 1u);
  Run("\"03 02 AD 03 \" 2 SENDCK \"03 02 AD 03 \" 33 SENDCK \"03 02 AD 03 \" -1 SENDCK");
  EXPECT_EQ(memos.sent.size(), 4u);
}

TEST_F(DeviceWords, SendckForwardsToChannelPairsAndAsksForAddressOne) {
  links.Add(1).Poll();
  stores.channel_pairs[9] = {1, 0x0A};
  Run("\"03 02 AD 03 \" 9 SENDCK");
  EXPECT_EQ(Queue(1), "05 0A 17 02 AD 03 ");
  Run("\"03 FE AD 07 \" 9 SENDCK");
  EXPECT_EQ(Queue(1), "05 0A 17 02 AD 03 03 0A AD 01 ");
  // A free entry: logged, not queued.
  Run("\"03 02 AD 03 \" 10 SENDCK");
  EXPECT_EQ(Queue(1), "05 0A 17 02 AD 03 03 0A AD 01 ");
  EXPECT_EQ(memos.sent.back(), "03 02 AD 03 ");
}

TEST_F(DeviceWords, WaitsendPacesOnlyTheNextQueuedRecord) {
  links.Add(1).Poll();
  Run("1 WAITSEND \"03 02 AD 03 \" 1 SENDCK");
  EXPECT_TRUE(links.At(1).protocol.Pacing());
  EXPECT_FALSE(stores.pending_pacing);
  links.At(1).protocol.SetPacing(false);
  Run("\"03 02 AD 03 \" 1 SENDCK");
  EXPECT_FALSE(links.At(1).protocol.Pacing());
  // A SENDCK that queues nothing keeps the flag for the next one.
  Run("1 WAITSEND \"03 02 AD \" 1 SENDCK");
  EXPECT_TRUE(stores.pending_pacing);
}

TEST_F(DeviceWords, PhoneRecordsAreBuiltByteForByte) {
  links.Add(1);
  Run("1 2 1 READTEL");
  EXPECT_EQ(Queue(1), "05 02 AD 01 00 00 ");
  EXPECT_EQ(stores.phone.record_number, 1);
  EXPECT_EQ(stores.phone.module, 1);
  EXPECT_EQ(stores.phone.address, 2);
  links.At(1).protocol.SendQueue().clear();
  Run("1 2 16 1 12345 WRITETEL");
  EXPECT_EQ(Queue(1), "0D 02 6F 10 00 01 21 43 F5 FF FF FF FF FF ");
  // Only the first sixteen digits fit; the rest is cut, not spilled.
  links.At(1).protocol.SendQueue().clear();
  Run("1 2 16 1 12345678901234567890 WRITETEL");
  EXPECT_EQ(Queue(1), "0D 02 6F 10 00 01 21 43 65 87 09 21 43 65 ");
  // Outside the link slots nothing is queued and nothing breaks.
  Run("9 2 1 READTEL 0 2 16 1 1 WRITETEL");
  EXPECT_EQ(Queue(1), "0D 02 6F 10 00 01 21 43 65 87 09 21 43 65 ");
  EXPECT_EQ(stores.phone.module, 1);
}

TEST_F(DeviceWords, RtelPushesDigitsThenStatus) {
  stores.phone.digits = "12345";
  stores.phone.status = 3;
  Run("RTEL");
  ASSERT_EQ(engine.Depth(), 2);
  EXPECT_EQ(engine.StackValue(1), "12345");
  EXPECT_EQ(engine.StackValue(2), "3");
}

TEST_F(DeviceWords, ReadscrSetsUpTheTransferAndAsksForAddressThree) {
  links.Add(1);  // not answered yet: READSCR queues anyway
  stores.transfer.script_text = "old";
  stores.transfer.buffer[100] = 7;
  Run("1 2 \"\" READSCR");
  EXPECT_EQ(Queue(1), "03 02 AD 03 ");
  EXPECT_TRUE(memos.sent.empty());
  EXPECT_FALSE(stores.transfer.block_mode);
  EXPECT_FALSE(stores.transfer.write);
  EXPECT_EQ(stores.transfer.script_text, "");
  EXPECT_EQ(stores.transfer.buffer[100], device::kNotReceived);
  Run("1 2 0 READSCR");
  EXPECT_TRUE(stores.transfer.block_mode);

  stores.transfer.script_text = "AB";
  Run("1 2 \"\" WRITESCR");
  EXPECT_TRUE(stores.transfer.write);
  EXPECT_EQ(stores.transfer.script_text, "AB");
  Run("RSCRIPT");
  EXPECT_EQ(Top(), "AB");
  Run("XYZ SSCRIPT RSCRIPT");
  EXPECT_EQ(Top(), "XYZ");
}

TEST_F(DeviceWords, ReadscrToAChannelPairIsForwarded) {
  links.Add(1);
  stores.channel_pairs[12] = {1, 0x0A};
  Run("12 2 \"\" READSCR");
  EXPECT_EQ(Queue(1), "05 0A 17 02 AD 03 ");
  EXPECT_EQ(stores.transfer.module, 12);
}

TEST_F(DeviceWords, AFailedConversionChangesNothing) {
  links.Add(1);
  Run("1 2 x READTEL");
  EXPECT_EQ(stores.phone.module, 0);
  Run("1 x \"\" READSCR");
  EXPECT_EQ(stores.transfer.module, 0);
  EXPECT_EQ(Queue(1), "");
}

TEST_F(DeviceWords, SnapshotComparesCellsWithSavedCells) {
  Run("CMPDATA");
  EXPECT_EQ(Top(), "0");
  engine.cells()[5] = "a";
  Run("COPYDATA CMPDATA");
  EXPECT_EQ(Top(), "0");
  engine.cells()[5] = "b";
  Run("CMPDATA");
  EXPECT_EQ(Top(), "255");
  engine.cells()[129] = "beyond the saved cells";
  engine.saved_cells()[3] = "x";
  Run("CLEARDATA CMPDATA");
  EXPECT_EQ(Top(), "0");
  EXPECT_EQ(engine.cells()[129], "");
  EXPECT_EQ(engine.saved_cells()[3], "");
  engine.cells()[1] = "c";
  Run("CMPDATA");  // the snapshot flag went with CLEARDATA
  EXPECT_EQ(Top(), "0");
}

TEST_F(DeviceWords, ConnectionTableIsReadWithinBounds) {
  Run("5 1 CONNECTED 254 9 CONNECTED 1 99 CONNECTED 300 1 CONNECTED");
  ASSERT_EQ(engine.Depth(), 4);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(engine.StackValue(k), "0");

  // CONCLEAR's table is the same store; a set flag shows through.
  engine.ClearStack();
  stores.SetConnected(1, 7, true);
  stores.channel_pairs[9] = {1, 7};
  Run("7 1 CONNECTED 254 9 CONNECTED");
  EXPECT_EQ(engine.StackValue(1), "255");
  EXPECT_EQ(engine.StackValue(2), "255");

  stores.SetConnected(1, 3, true);
  engine.Register("SHOW", [](engine::Engine& e, engine::Frame&) { e.Push("<" + e.Pop() + ">"); });
  engine.ClearStack();
  Run("1 \"SHOW\" FORCONNECT 9");
  ASSERT_EQ(engine.Depth(), 3);
  EXPECT_EQ(engine.StackValue(1), "<3>");
  EXPECT_EQ(engine.StackValue(2), "<7>");
  EXPECT_EQ(engine.StackValue(3), "9");
  Run("99 \"SHOW\" FORCONNECT");
  EXPECT_EQ(engine.Depth(), 3);
}

TEST_F(DeviceWords, ResponseStoreIsReadAndClearedWithinBounds) {
  *stores.Response(1, 2, 9) = "09 02 AC ";
  *stores.Response(1, 2, 1) = "C1";
  Run("1 2 9 READEV");
  EXPECT_EQ(Top(), "09 02 AC ");
  Run("1 2 10 READEV 0 2 9 READEV 33 1 1 READEV 1 256 1 READEV");
  EXPECT_EQ(engine.Depth(), 5);
  for (int k = 2; k <= 5; ++k) EXPECT_EQ(engine.StackValue(k), "");
  Run("1 2 CLEARSET 1 300 CLEARSET -4 1 CLEARSET");
  EXPECT_EQ(*stores.Response(1, 2, 9), "");
  EXPECT_EQ(*stores.Response(1, 2, 1), "");
}

TEST_F(DeviceWords, OnreadckSetsTheHookAndStatusShowsText) {
  Run("\"5 DROP\" 1 ONREADCK");
  EXPECT_EQ(stores.record_hook.link, 1);
  EXPECT_EQ(stores.record_hook.line, "5 DROP");
  Run("Готово STATUS");
  EXPECT_EQ(memos.status, "Готово");
}

}  // namespace
