// A link and the simulated device on one line in this process: a
// pseudo-terminal on Unix, a memory line elsewhere.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "link_registry.h"
#include "link_texts.h"
#include "pty_fixture.h"
#include "memory_line.h"
#ifndef _WIN32
#include "pty_port.h"
#endif
#include "rs.h"
#include "zelt_device.h"

namespace {

using namespace std::string_literals;

class LinkWithDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(log_dir.isValid());
    zlink::SetLinkLogFolder(log_dir.path());
    ASSERT_TRUE(pty.Open());
    QObject::connect(&device, &zsim::ZeltDevice::FrameSent,
                     [this](const QByteArray& line) { device_sent.push_back(line.toStdString()); });
    QObject::connect(&device, &zsim::ZeltDevice::FrameReceived,
                     [this](const QByteArray& text) { device_got.push_back(text.toStdString()); });
  }

  void TearDown() override {
    device.Stop();
    if (link) zlink::RSThread::StopLink(link);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    zlink::SetLinkLogFolder(QString());
  }

  void StartBoth() {
    link = zlink::RSThread::StartLink(pty.PortName(), &view);
    link->OnRecord = [this](zlink::RSThread& from, int number, const std::string& record) {
      EXPECT_EQ(&from, link);
      EXPECT_EQ(number, 1);
      records.push_back(record);
    };
    links.Put(1, link);
    links.SetCurrent(link);
    device.Start();
  }

  QTemporaryDir log_dir;
#ifdef _WIN32
  zsim::MemoryLine pty{QStringLiteral("device")};
#else
  zsim::PtyPort pty;
#endif
  zsim::ZeltDevice device{pty, zsim::DeviceOptions{20, 1000, 2}};
  e2e::RecordingView view;
  zlink::LinkRegistry links;
  zlink::RSThread* link = nullptr;
  std::vector<std::string> records, device_sent, device_got;
};

TEST_F(LinkWithDevice, AnswersPollsSendsQueuedRecordsAndLogsEveryFrame) {
  StartBoth();
  ASSERT_TRUE(e2e::WaitFor([&] { return device.stats().poll_replies >= 4; }));
  EXPECT_TRUE(link->Answered());
  EXPECT_EQ(view.label, zlink::kConnected);

  link->SendQueue() += "03 02 AD 03 ";
  link->SendQueue() += "05 02 AD 01 00 00 ";
  ASSERT_TRUE(e2e::WaitFor([&] { return device.commands().size() == 2; }));
  EXPECT_EQ(device.commands()[0], "\x03\x02\xAD\x03"s);
  EXPECT_EQ(device.commands()[1], "\x05\x02\xAD\x01\x00\x00"s);
  EXPECT_EQ(link->SendQueue(), "");
  device.Stop();
  QTest::qWait(50);

  // Every poll was answered the first time, and each reply is in the log.
  EXPECT_EQ(device.stats().poll_repeats, 0);
  EXPECT_EQ(device.stats().checksum_errors, 0);
  std::vector<std::string> logged;
  for (const std::string& line : e2e::LogLines(log_dir.path())) logged.push_back(e2e::WithoutStamp(line));
  ASSERT_GE(logged.size(), 2u);
  EXPECT_EQ(logged[0], std::string(zlink::kOpening) + pty.PortName().toStdString() + ":9600");
  EXPECT_EQ(logged[1], zlink::kOpenedOk);
  std::vector<std::string> expected;
  for (size_t i = 0; i < device_sent.size(); ++i) {
    expected.push_back("<" + device_sent[i].substr(1));
    if (i < device_got.size()) expected.push_back(">:" + device_got[i]);
  }
  EXPECT_EQ(std::vector<std::string>(logged.begin() + 2, logged.end()), expected);
  // The opening lines reach the file only; the frames reach the memo too.
  ASSERT_FALSE(view.memo.empty());
  EXPECT_EQ(view.memo[0].substr(0, view.memo[0].size() - 19), expected[0]);
  EXPECT_EQ(view.memo[0].substr(view.memo[0].size() - 19, 2), "  ");
}

TEST_F(LinkWithDevice, DeliversDataRecordsOnceAndTheDeviceResendsUnheardOnes) {
  StartBoth();
  ASSERT_TRUE(e2e::WaitFor([&] { return link->Answered(); }));
  device.QueueRecord("\x03\xAC\x03\x07"s);
  ASSERT_TRUE(e2e::WaitFor([&] { return device.stats().acks == 1; }));
  EXPECT_EQ(records, (std::vector<std::string>{"\x02\x03\xAC\x03\x07"s}));

  // The next data frame goes out with a bad checksum: the link logs it and
  // stays quiet, the device sends it again, the record arrives once.
  device.CorruptNextFrames(1);
  device.QueueRecord("\x03\xAC\x04\x55"s);
  ASSERT_TRUE(e2e::WaitFor([&] { return device.stats().acks == 2; }));
  EXPECT_EQ(device.stats().data_resends, 1);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1], "\x02\x03\xAC\x04\x55"s);
  const std::vector<std::string> lines = e2e::LogLines(log_dir.path());
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.rfind(zlink::kBadSum, 0) == 0; }),
            1);
}

TEST_F(LinkWithDevice, NoiseOnTheLineDoesNotStopTheLink) {
  StartBoth();
  ASSERT_TRUE(e2e::WaitFor([&] { return link->Answered(); }));
  device.SetNoiseRate(1.0);
  device.SendNoise(3000);
  device.QueueRecord("\x02\xC1\x01"s);
  ASSERT_TRUE(e2e::WaitFor([&] { return !records.empty(); }, 10000));
  EXPECT_EQ(records[0], "\x02\x02\xC1\x01"s);
  const int replies = device.stats().poll_replies;
  ASSERT_TRUE(e2e::WaitFor([&] { return device.stats().poll_replies >= replies + 3; }, 10000));
}

TEST_F(LinkWithDevice, PacedRepliesWaitWithoutFreezingTheLoop) {
  StartBoth();
  ASSERT_TRUE(e2e::WaitFor([&] { return link->Answered(); }));
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(10);
  QElapsedTimer clock;
  qint64 sent_at = -1, replied_at = -1;
  QObject::connect(&device, &zsim::ZeltDevice::FrameSent, [&](const QByteArray&) {
    if (sent_at < 0 && link->SendQueue().size() > 0) sent_at = clock.elapsed();
  });
  QObject::connect(&device, &zsim::ZeltDevice::CommandReceived, [&](const QByteArray&) {
    if (replied_at < 0) replied_at = clock.elapsed();
  });
  clock.start();
  link->SetPacing(true);
  link->SendQueue() += "03 02 AD 03 03 02 AD 04 ";
  ASSERT_TRUE(e2e::WaitFor([&] { return device.commands().size() == 2; }));
  ASSERT_GE(sent_at, 0);
  // The device heard the record no sooner than the pacing wait, and the
  // window's timers kept running meanwhile.
  EXPECT_GE(replied_at - sent_at, zlink::RSThread::kPacingMs - 5);
  EXPECT_GE(ticks, 10);
  ASSERT_TRUE(e2e::WaitFor([&] { return !link->Pacing(); }));
}

TEST_F(LinkWithDevice, LabelFallsBackFiveSecondsAfterTheDeviceFallsSilent) {
  StartBoth();
  ASSERT_TRUE(e2e::WaitFor([&] { return view.label == zlink::kConnected; }));
  device.SetSilent(true);
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(e2e::WaitFor([&] { return view.label == zlink::kNotConnected; }, 8000));
  EXPECT_GE(clock.elapsed(), 4500);
  device.SetSilent(false);
  ASSERT_TRUE(e2e::WaitFor([&] { return view.label == zlink::kConnected; }));
}

TEST_F(LinkWithDevice, UnpluggingClosesThePortAndStoppingReleasesTheLink) {
  StartBoth();
  ASSERT_TRUE(e2e::WaitFor([&] { return link->Answered(); }));
  device.Unplug();
  ASSERT_TRUE(e2e::WaitFor([&] { return !link->Driver()->Connected(); }, 3000));

  QPointer<zlink::RSThread> watched(link);
  zlink::RSThread::StopLink(link);
  link = nullptr;
  EXPECT_EQ(links.InSlot(1), nullptr);
  EXPECT_EQ(links.Current(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watched.isNull());
}

TEST_F(LinkWithDevice, StoppingTheLinkFromItsOwnRecordHandlerIsSafe) {
  StartBoth();
  QPointer<zlink::RSThread> watched(link);
  link->OnRecord = [this](zlink::RSThread& from, int, const std::string& record) {
    records.push_back(record);
    zlink::RSThread::StopLink(&from);
    link = nullptr;
  };
  device.QueueRecord("\x03\xAC\x03\x07"s);
  device.QueueRecord("\x03\xAC\x03\x08"s);
  ASSERT_TRUE(e2e::WaitFor([&] { return watched.isNull(); }));
  EXPECT_EQ(records.size(), 1u);
}

TEST_F(LinkWithDevice, APortThatDoesNotOpenIsLoggedAndStaysSilent) {
  link = zlink::RSThread::StartLink(QStringLiteral("/dev/zelt-no-such-port"), &view);
  QTest::qWait(50);
  EXPECT_EQ(view.label, "initial");
  EXPECT_TRUE(view.memo.empty());
  const std::vector<std::string> lines = e2e::LogLines(log_dir.path());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(e2e::WithoutStamp(lines[1]), zlink::kOpenFailed);
}

// Lines the log cannot take are said once in the memo; the link goes on.
TEST_F(LinkWithDevice, ALogThatCannotBeWrittenIsSaidOnceInTheMemo) {
  zlink::SetLinkLogFolder(log_dir.filePath(QStringLiteral("missing")));
  StartBoth();
  ASSERT_TRUE(e2e::WaitFor([&] { return device.stats().poll_replies >= 3; }));
  const auto lost = std::count_if(view.memo.begin(), view.memo.end(), [](const std::string& line) {
    return line.rfind(zlink::kLogLost, 0) == 0;
  });
  EXPECT_EQ(lost, 1);
  EXPECT_EQ(view.label, zlink::kConnected);
}

}  // namespace
