// The in-memory line: the program's serial driver opens the simulated
// device's memory port by name, as it opens a serial port.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "CommDrv.h"
#include "memory_line.h"
#include "memory_port.h"
#include "pty_fixture.h"

namespace {

struct Received {
  QByteArray bytes;
  void Attach(TCommPortDriver& driver) {
    driver.OnReceiveData = [this](TCommPortDriver*, const char* data, int32_t size) {
      bytes.append(data, size);
    };
  }
};

TEST(MemoryLine, CarriesBytesBothWaysOnLaterTurnsOfTheEventLoop) {
  zsim::MemoryLine line(QStringLiteral("mem-a"));
  QByteArray heard;
  QObject::connect(&line, &zsim::DeviceLine::BytesReceived,
                   [&](const QByteArray& bytes) { heard += bytes; });
  ASSERT_TRUE(line.Open());
  TCommPortDriver driver;
  Received received;
  received.Attach(driver);
  driver.SetComPort(QStringLiteral("mem-a"));
  ASSERT_TRUE(driver.Connect());

  ASSERT_TRUE(driver.SendData(":0243BB\r\n", 9));
  EXPECT_TRUE(heard.isEmpty());  // not within the call, as on a cable
  line.Write(":024300BB\r\n");
  ASSERT_TRUE(e2e::WaitFor([&] { return heard.size() == 9 && received.bytes.size() == 11; }));
  EXPECT_EQ(heard, QByteArray(":0243BB\r\n"));
  EXPECT_EQ(received.bytes, QByteArray(":024300BB\r\n"));

  TCommPortDriver second;  // one program end at a time
  second.SetComPort(QStringLiteral("mem-a"));
  EXPECT_FALSE(second.Connect());
}

TEST(MemoryLine, UnpluggingDropsThePortAndPluggingOffersItAgain) {
  zsim::MemoryLine line(QStringLiteral("mem-b"));
  TCommPortDriver driver;
  driver.SetComPort(QStringLiteral("mem-b"));
  EXPECT_EQ(zlink::MemoryPort::Find(QStringLiteral("mem-b")), nullptr);  // not yet plugged
  ASSERT_TRUE(line.Open());
  ASSERT_TRUE(driver.Connect());

  line.Close();
  EXPECT_FALSE(driver.Connected());
  EXPECT_EQ(zlink::MemoryPort::Find(QStringLiteral("mem-b")), nullptr);
  EXPECT_FALSE(driver.Connect());
  EXPECT_FALSE(driver.SendData("x", 1));

  ASSERT_TRUE(line.Open());
  EXPECT_TRUE(driver.Connect());
}

TEST(MemoryLine, RealTimeKeepsTheBaudRatesPace) {
  zsim::MemoryLine line(QStringLiteral("mem-c"));
  line.SetRealtime(true, 9600);
  EXPECT_EQ(line.TransferMs(96), 100);
  ASSERT_TRUE(line.Open());
  TCommPortDriver driver;
  Received received;
  received.Attach(driver);
  driver.SetComPort(QStringLiteral("mem-c"));
  ASSERT_TRUE(driver.Connect());
  QElapsedTimer clock;
  clock.start();
  line.Write(QByteArray(96, 'A'));
  ASSERT_TRUE(e2e::WaitFor([&] { return received.bytes.size() == 96; }));
  EXPECT_GE(clock.elapsed(), 80);  // 96 bytes of 10 bits at 9600 baud: 100 ms
}

}  // namespace
