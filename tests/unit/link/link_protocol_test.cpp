#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame.h"
#include "link_protocol.h"
#include "link_texts.h"

namespace {

using namespace std::string_literals;
using zlink::LinkProtocol;

class RecordingHost : public zlink::LinkProtocolHost {
 public:
  void LogLink(const std::string& line) override {
    logs.push_back(line);
    order += 'L';
  }
  void WriteWire(const std::string& bytes) override {
    wire.push_back(bytes);
    order += 'W';
  }
  void DeliverRecord(const std::string& record) override {
    records.push_back(record);
    if (on_record) on_record();
  }
  void BeginPacing() override { ++pacing_waits; }

  std::vector<std::string> logs, wire, records;
  std::string order;  // L a log line, W a write to the wire
  std::function<void()> on_record;
  int pacing_waits = 0;
};

// A frame from the device, as it comes down the line.
std::string DeviceFrame(const std::string& bytes_after_address) {
  return zlink::BuildFrame(2, bytes_after_address) + "\r\n";
}

class LinkProtocolTest : public ::testing::Test {
 protected:
  RecordingHost host;
  LinkProtocol link{host};
};

TEST_F(LinkProtocolTest, AnswersPollsWithTheQueueOrAnEmptyRecord) {
  link.Feed(":024300BB\r\n");
  link.Feed(":024400BA\r\n");
  EXPECT_EQ(host.wire, (std::vector<std::string>{":024300BB\r\n", ":024400BA\r\n"}));
  EXPECT_EQ(host.logs, (std::vector<std::string>{"<024300BB", ">:024300BB", "<024400BA",
                                                 ">:024400BA"}));
  EXPECT_TRUE(link.Answered());

  link.SendQueue() = "03 02 AD 03 ";
  link.Feed(":024300BB\r\n");
  EXPECT_EQ(host.wire.back(), ":02430302AD0306\r\n");
  EXPECT_EQ(link.SendQueue(), "");
}

// The device waits for the reply, not for the log: the reply goes out first,
// and the log still reads frame, then reply.
TEST_F(LinkProtocolTest, TheReplyGoesOutBeforeTheLogLines) {
  link.Feed(":024300BB\r\n");
  EXPECT_EQ(host.order, "WLL");
  host.order.clear();
  link.Feed(DeviceFrame("\x41\x03\x02\xAD\x03"s));
  EXPECT_EQ(host.order, "WLL");
  ASSERT_EQ(host.records.size(), 1u);
  // A paced reply: the frame's line now, the reply and its line when the pause is up.
  host.order.clear();
  link.SetPacing(true);
  link.SendQueue() = "03 02 AD 03 ";
  link.Feed(":024400BA\r\n");
  EXPECT_EQ(host.order, "L");
  link.FinishPacing();
  EXPECT_EQ(host.order, "LWL");
  EXPECT_EQ(host.logs.size(), 6u);
  for (size_t i = 0; i < host.logs.size(); ++i)
    EXPECT_EQ(host.logs[i][0], i % 2 ? '>' : '<') << host.logs[i];
}

TEST_F(LinkProtocolTest, RepeatedPollGetsTheSameReplyAndTakesNothing) {
  link.SendQueue() = "03 02 AD 03 03 02 AD 04 ";
  link.Feed(":024300BB\r\n:024300BB\r\n");
  ASSERT_EQ(host.wire.size(), 2u);
  EXPECT_EQ(host.wire[0], ":02430302AD0306\r\n");
  EXPECT_EQ(host.wire[1], host.wire[0]);
  EXPECT_EQ(link.SendQueue(), "03 02 AD 04 ");
  // A new code takes the next record.
  link.Feed(":024400BA\r\n");
  EXPECT_EQ(host.wire[2], ":02440302AD0404\r\n");
  EXPECT_EQ(link.SendQueue(), "");
}

TEST_F(LinkProtocolTest, BadChecksumIsLoggedAndNotAnswered) {
  link.Feed(":024300BC\r\n");
  EXPECT_TRUE(host.wire.empty());
  EXPECT_EQ(host.logs, (std::vector<std::string>{std::string(zlink::kBadSum) + "FF"}));
  EXPECT_FALSE(link.Answered());
}

// Any line holding '>' is contact: the replies, and the bad-checksum
// complaint too; the frames received are not.
TEST_F(LinkProtocolTest, LinesThatCountAsContact) {
  link.Feed(":024300BB\r\n:024300BC\r\n:034300BA\r\n");
  std::vector<std::pair<std::string, bool>> seen;
  for (const std::string& line : host.logs) seen.emplace_back(line, zlink::CountsAsContact(line));
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, bool>>{{"<024300BB", false},
                                                              {">:024300BB", true},
                                                              {std::string(zlink::kBadSum) + "FF", true},
                                                              {"<034300BA", false}}));
}

TEST_F(LinkProtocolTest, ShortFramesRestartsAndForeignAddresses) {
  link.Feed(":0243\n");
  EXPECT_TRUE(host.logs.empty());
  link.Feed("::024300BB\r\n");
  EXPECT_EQ(host.wire, (std::vector<std::string>{":024300BB\r\n"}));

  RecordingHost other_host;
  LinkProtocol other(other_host);
  other.Feed(zlink::BuildFrame(3, "\x43\x00"s) + "\r\n");
  EXPECT_EQ(other_host.logs, (std::vector<std::string>{"<034300BA"}));
  EXPECT_TRUE(other_host.wire.empty());
  EXPECT_FALSE(other.Answered());
  // An unknown code from the device: logged, not answered.
  other.Feed(DeviceFrame("\x45\x00"s));
  EXPECT_TRUE(other_host.wire.empty());
  EXPECT_TRUE(other.Answered());
}

TEST_F(LinkProtocolTest, DataFramesAreAcknowledgedAndDeliveredOnce) {
  const std::string data = DeviceFrame("\x41\x03\xAC\x03\x07"s);
  link.Feed(data);
  link.Feed(data);  // the device did not hear the acknowledgement
  EXPECT_EQ(host.wire, (std::vector<std::string>{":0241BD\r\n", ":0241BD\r\n"}));
  EXPECT_EQ(host.records, (std::vector<std::string>{"\x02\x03\xAC\x03\x07"s}));

  link.Feed(DeviceFrame("\x42\x03\xAC\x04\x08"s));
  EXPECT_EQ(host.wire.back(), ":0242BC\r\n");
  EXPECT_EQ(host.records.back(), "\x02\x03\xAC\x04\x08"s);
}

TEST_F(LinkProtocolTest, EmptyDataRecordIsAcknowledgedNotDelivered) {
  link.Feed(DeviceFrame("\x41\x00"s));
  link.Feed(DeviceFrame("\x42"s));
  EXPECT_EQ(host.wire, (std::vector<std::string>{":0241BD\r\n", ":0242BC\r\n"}));
  EXPECT_TRUE(host.records.empty());
}

TEST_F(LinkProtocolTest, PacingHoldsTheReplyAndLaterBytesButNotTheCaller) {
  link.SendQueue() = "03 02 AD 03 03 02 AD 04 ";
  link.SetPacing(true);
  link.Feed(":024300BB\r\n:024400BA\r\n");
  EXPECT_EQ(host.pacing_waits, 1);
  EXPECT_TRUE(host.wire.empty());
  EXPECT_TRUE(link.waiting_for_pacing());

  link.FinishPacing();
  EXPECT_EQ(host.pacing_waits, 2);  // the second record waits too
  ASSERT_EQ(host.wire.size(), 1u);
  EXPECT_EQ(host.wire[0], ":02430302AD0306\r\n");
  link.FinishPacing();
  EXPECT_EQ(host.wire.back(), ":02440302AD0404\r\n");

  // The queue ran empty: the empty reply goes at once and pacing is off.
  link.Feed(":024300BB\r\n");
  EXPECT_EQ(host.wire.back(), ":024300BB\r\n");
  EXPECT_FALSE(link.Pacing());
  EXPECT_EQ(host.pacing_waits, 2);
}

TEST_F(LinkProtocolTest, BytesArrivingInsideARecordHandlerKeepTheirOrder) {
  // The record handler runs a nested event loop in which the rest of a poll
  // and the next one arrive; they are answered there, in their order.
  bool nested = false;
  host.on_record = [&] {
    if (nested) return;
    nested = true;
    link.Feed("BA\r\n:024300BB\r\n");
  };
  link.Feed(DeviceFrame("\x41\x03\xAC\x03\x07"s) + ":024400");
  EXPECT_EQ(host.wire,
            (std::vector<std::string>{":0241BD\r\n", ":024400BA\r\n", ":024300BB\r\n"}));
}

TEST_F(LinkProtocolTest, StoppingInsideARecordHandlerEndsAllWork) {
  host.on_record = [&] { link.Stop(); };
  link.Feed(DeviceFrame("\x41\x03\xAC\x03\x07"s) + ":024300BB\r\n");
  EXPECT_EQ(host.wire, (std::vector<std::string>{":0241BD\r\n"}));
  link.Feed(":024400BA\r\n");
  EXPECT_EQ(host.wire.size(), 1u);
}

}  // namespace
