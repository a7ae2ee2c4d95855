// Refused records: the record the link sent last goes out again once, next,
// ahead of the queue; still refused, its data bytes count for WRFAILS.
#include <gtest/gtest.h>

#include <random>

#include "device_test_support.h"

namespace {

using device_test::DeviceFixture;

class Refusals : public ::testing::Test, public DeviceFixture {
 protected:
  Refusals() { links.Add(1).Poll(); }

  // One new poll of the device; returns the record the reply carried, in
  // spaced hex, or "" for the empty record.
  std::string Poll() {
    zlink::LinkProtocol& link = links.At(1).protocol;
    const char code = (polls_++ % 2) ? '\x43' : '\x44';
    link.Feed(zlink::BuildFrame(2, std::string{code, '\0'}) + "\r\n");
    if (link.waiting_for_pacing()) link.FinishPacing();
    const std::string& sent = links.At(1).host.wire.back();
    const std::string record = zlink::VerifyFrame(sent.substr(1, sent.size() - 3)).bytes.substr(2);
    return record == std::string(1, '\0') ? "" : uhex::BytesToSpacedHex(record);
  }
  void Send(const std::string& line) { engine.ExecuteLine(line); }
  std::string Wrfails() {
    engine.ExecuteLine("WRFAILS");
    return engine.Pop();
  }

  int polls_ = 0;
};

TEST_F(Refusals, TheRecordSentLastIsRepeatedNextAheadOfTheQueue) {
  Send("\"02 02 B0 \" 1 SENDCK \"04 02 6F 10 01 \" 1 SENDCK \"04 02 6F 11 02 \" 1 SENDCK "
        "\"02 02 B1 \" 1 SENDCK");
  EXPECT_EQ(Poll(), "02 02 B0 ");
  EXPECT_EQ(Poll(), "04 02 6F 10 01 ");
  Deliver("02 92 6F");
  // Not the close, which was queued last: the write that was refused.
  EXPECT_EQ(Poll(), "04 02 6F 10 01 ");
  EXPECT_EQ(Poll(), "04 02 6F 11 02 ");
  EXPECT_EQ(Poll(), "02 02 B1 ");
  EXPECT_EQ(Poll(), "");
  EXPECT_EQ(Wrfails(), "0");
  // The repeat is not logged again in MemoTerminalOut.
  EXPECT_EQ(memos.sent.size(), 4u);
}

TEST_F(Refusals, ARecordRefusedAfterItsRepeatCountsItsDataBytesOnce) {
  Send("\"02 02 B0 \" 1 SENDCK \"14 02 6F 00 14 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F \""
        " 1 SENDCK \"05 02 6F 20 14 07 \" 1 SENDCK \"02 02 B1 \" 1 SENDCK");
  Poll();
  EXPECT_EQ(Poll().substr(0, 8), "14 02 6F");
  Deliver("02 92 6F");
  EXPECT_EQ(Poll().substr(0, 8), "14 02 6F");
  Deliver("02 92 6F");
  // A second refusal of the same refusal's answer finds nothing more to count.
  Deliver("02 92 6F");
  EXPECT_EQ(Poll(), "05 02 6F 20 14 07 ");
  Deliver("02 92 6F");
  EXPECT_EQ(Poll(), "05 02 6F 20 14 07 ");
  EXPECT_EQ(Poll(), "02 02 B1 ");
  EXPECT_EQ(Wrfails(), "16");
  EXPECT_EQ(Wrfails(), "0");  // reading starts the count afresh
  EXPECT_EQ(stores.failed_write_total, 16);  // what kvs reports at its end
}

TEST_F(Refusals, ALoneSendckFollowedByAWaitIsRepeatedOnceAsBefore) {
  Send("\"03 02 AD 03 \" 1 SENDCK");
  EXPECT_EQ(Poll(), "03 02 AD 03 ");
  Deliver("02 92 AD");
  EXPECT_EQ(Queue(1), "03 02 AD 03 ");
  EXPECT_EQ(links.At(1).protocol.LastCommand(), "");
  EXPECT_EQ(Poll(), "03 02 AD 03 ");
  Deliver("02 92 AD");
  EXPECT_EQ(Queue(1), "");
  EXPECT_EQ(Poll(), "");
  EXPECT_EQ(Wrfails(), "0");  // a read writes nothing
  EXPECT_EQ(links.At(1).protocol.RecordsGivenUp(), 1u);  // but it was lost
  // A refusal that comes when nothing was sent repeats nothing.
  Deliver("02 92 AD");
  EXPECT_EQ(Queue(1), "");
}

TEST_F(Refusals, AWriteAt0B00IsNeverRepeatedButCountsAsFailed) {
  Send("\"05 02 6F 00 0B 01 \" 1 SENDCK");
  Poll();
  Deliver("02 92 6F");
  EXPECT_EQ(Queue(1), "");
  EXPECT_EQ(Poll(), "");
  EXPECT_EQ(Wrfails(), "1");
}

TEST_F(Refusals, AClosePersistentlyRefusedCountsTheBytesOfItsSession) {
  Send("\"02 02 B0 \" 1 SENDCK \"04 02 6F 10 01 \" 1 SENDCK \"0D 02 6F 10 00 01 21 43 F5 FF FF FF "
        "FF FF \" 1 SENDCK \"02 02 B1 \" 1 SENDCK");
  for (int k = 0; k < 3; ++k) Poll();
  EXPECT_TRUE(links.At(1).protocol.WriteSessionOpen());
  EXPECT_EQ(Poll(), "02 02 B1 ");
  EXPECT_FALSE(links.At(1).protocol.WriteSessionOpen());
  Deliver("02 92 B1");
  EXPECT_EQ(Poll(), "02 02 B1 ");
  Deliver("02 92 B1");
  EXPECT_EQ(Wrfails(), "10");  // one byte and a phone record of nine
  // A close that is taken counts nothing.
  Send("\"02 02 B0 \" 1 SENDCK \"04 02 6F 10 01 \" 1 SENDCK \"02 02 B1 \" 1 SENDCK");
  for (int k = 0; k < 3; ++k) Poll();
  Deliver("02 92 B1");
  EXPECT_EQ(Poll(), "02 02 B1 ");
  Send("\"03 02 AD 03 \" 1 SENDCK");
  Poll();
  EXPECT_EQ(Wrfails(), "0");
}

// The simulated device's memory behind a device that refuses a share of the
// records it gets: after a batch written through the link, the memory holds
// every byte sent, or WRFAILS accounts for every byte it lacks.
TEST_F(Refusals, ABatchIsWrittenWholeOrItsFailuresAreCounted) {
  int failed_batches = 0;
  for (double rate : {0.3, 0.6}) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
      sim::DeviceModel model;
      std::mt19937 random(seed);
      std::string batch = "\"02 02 B0 \" 1 SENDCK ";
      std::string wanted;
      for (int k = 0; k < 64; ++k) {
        // Every byte differs from what the memory holds, so a lost one shows.
        const uint8_t b = static_cast<uint8_t>(model.memory()[0x1400 + k] + 1 + random() % 200);
        wanted += static_cast<char>(b);
        const std::string address = uhex::ByteToHex(static_cast<uint8_t>(k));
        batch += "\"05 02 6F " + address + " 14 " + uhex::ByteToHex(b) + " \" 1 SENDCK ";
      }
      batch += "\"02 02 B1 \" 1 SENDCK";
      Send(batch);
      std::bernoulli_distribution refuse(rate);
      for (int poll = 0; poll < 1000; ++poll) {
        const std::string record = uhex::SpacedHexToBytes(Poll());
        if (record.empty()) break;
        if (refuse(random)) {
          Deliver("02 92 " + uhex::ByteToHex(static_cast<uint8_t>(record[2])));
          continue;
        }
        for (const std::string& answer : model.Answer(record)) dispatcher.OnRecord("\x02" + answer);
      }
      ASSERT_EQ(Queue(1), "");
      int differing = 0;
      for (int k = 0; k < 64; ++k) {
        differing += model.memory()[0x1400 + k] != static_cast<uint8_t>(wanted[k]);
      }
      const int reported = std::stoi(Wrfails());
      EXPECT_LE(differing, reported) << rate << " seed " << seed;
      EXPECT_LE(reported, 64) << rate << " seed " << seed;
      if (reported == 0) {
        EXPECT_FALSE(model.writing()) << "the session was closed";
      }
      failed_batches += reported > 0;
    }
  }
  // At these rates some batches must have failed, or the test proves nothing.
  EXPECT_GT(failed_batches, 10);
}

}  // namespace
