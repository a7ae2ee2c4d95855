// TCommPortDriver on a real pseudo-terminal.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QEventLoop>
#include <QTimer>
#include <QSerialPort>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

#include "CommDrv.h"
#include "pty_fixture.h"
#include "pty_port.h"

namespace {

TEST(CommDrv, DefaultsAndRateTable) {
  TCommPortDriver driver;
  EXPECT_EQ(driver.ComPort(), QStringLiteral("COM2"));
  EXPECT_FALSE(driver.Connected());
  EXPECT_EQ(TCommPortDriver::BaudRate(TCommPortDriver::br110), 110);
  EXPECT_EQ(TCommPortDriver::BaudRate(TCommPortDriver::br56000), 56000);
  EXPECT_EQ(TCommPortDriver::BaudRate(TCommPortDriver::br115200), 115200);
  EXPECT_STREQ(TCommPortDriver::kRateNames[TCommPortDriver::br9600], "9600");
}

TEST(CommDrv, PortNamesBecomeDevicePaths) {
  EXPECT_EQ(TCommPortDriver::DevicePath(QStringLiteral("/dev/pts/7")), QStringLiteral("/dev/pts/7"));
#ifdef Q_OS_WIN
  EXPECT_EQ(TCommPortDriver::DevicePath(QStringLiteral("COM3")), QStringLiteral("COM3"));
  EXPECT_EQ(TCommPortDriver::DevicePath(QStringLiteral("COM12")), QStringLiteral("\\\\.\\COM12"));
#else
  EXPECT_EQ(TCommPortDriver::DevicePath(QStringLiteral("ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
#endif
}

TEST(CommDrv, MissingPortDoesNotConnect) {
  TCommPortDriver driver;
  driver.SetComPort(QStringLiteral("/dev/zelt-no-such-port"));
  EXPECT_FALSE(driver.Connect());
  EXPECT_FALSE(driver.Connected());
  EXPECT_FALSE(driver.SendData("x", 1));
}

TEST(CommDrv, ExchangesBytesOverAPseudoTerminal) {
  zsim::PtyPort pty;
  ASSERT_TRUE(pty.Open());
  QByteArray device_got;
  QObject::connect(&pty, &zsim::PtyPort::BytesReceived,
                   [&](const QByteArray& bytes) { device_got += bytes; });

  TCommPortDriver driver;
  QByteArray program_got;
  int calls = 0;
  driver.OnReceiveData = [&](TCommPortDriver* sender, const char* data, int32_t size) {
    EXPECT_EQ(sender, &driver);
    EXPECT_GT(size, 0);
    program_got.append(data, size);
    ++calls;
  };
  driver.SetComPort(pty.SlavePath());
  ASSERT_TRUE(driver.Connect());
  EXPECT_TRUE(driver.Connect());  // already open: true, not reopened
  // Nothing arrived, nothing is handed over.
  QTest::qWait(50);
  EXPECT_EQ(calls, 0);

  pty.Write(":024300BB\r\n");
  ASSERT_TRUE(e2e::WaitFor([&] { return program_got.size() == 11; }));
  EXPECT_EQ(program_got, QByteArray(":024300BB\r\n"));

  EXPECT_TRUE(driver.SendData(":024300BB\r\n", 11));
  ASSERT_TRUE(e2e::WaitFor([&] { return device_got.size() == 11; }));
  EXPECT_EQ(device_got, QByteArray(":024300BB\r\n"));

  // Settings take effect at once while connected; the name does not change.
  driver.SetComPortSpeed(TCommPortDriver::br19200);
  termios tio{};
  const int fd = ::open(pty.SlavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(tcgetattr(fd, &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B19200));
  ::close(fd);
  driver.SetComPort(QStringLiteral("/dev/elsewhere"));
  EXPECT_EQ(driver.ComPort(), pty.SlavePath());

  driver.Disconnect();
  EXPECT_FALSE(driver.Connected());
}

TEST(CommDrv, UnpluggedDeviceClosesThePort) {
  zsim::PtyPort pty;
  ASSERT_TRUE(pty.Open());
  TCommPortDriver driver;
  driver.SetComPort(pty.SlavePath());
  ASSERT_TRUE(driver.Connect());
  pty.Close();
  EXPECT_TRUE(e2e::WaitFor([&] { return !driver.Connected(); }, 3000));
  EXPECT_FALSE(driver.SendData("x", 1));
}

// A receive handler that runs an event loop of its own (a modal window) still
// gets the bytes that come meanwhile, from inside that loop.
TEST(CommDrv, BytesReachAHandlerThatRunsAnEventLoopOfItsOwn) {
  zsim::PtyPort pty;
  ASSERT_TRUE(pty.Open());
  TCommPortDriver driver;
  QByteArray got;
  bool inside = false, more_inside = false;
  driver.OnReceiveData = [&](TCommPortDriver*, const char* data, int32_t size) {
    got.append(data, size);
    if (inside || got != "first\n") return;
    inside = true;
    QEventLoop modal;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
      if (got.contains("second") || check.property("ticks").toInt() > 400) modal.quit();
      check.setProperty("ticks", check.property("ticks").toInt() + 1);
    });
    check.start(5);
    pty.Write("second\n");
    modal.exec();
    more_inside = got.contains("second");
    inside = false;
  };
  driver.SetComPort(pty.SlavePath());
  ASSERT_TRUE(driver.Connect());
  pty.Write("first\n");
  ASSERT_TRUE(e2e::WaitFor([&] { return got.contains("second"); }, 5000));
  EXPECT_TRUE(more_inside);
  EXPECT_EQ(got, QByteArray("first\nsecond\n"));
}

// The device waits for the reply, not for the log: when the frame that asked
// for it reaches the log and the memo, the reply's bytes are already on the
// line, and the log's lines keep their order.
TEST(CommDrv, TheReplyIsOnTheLineBeforeItsPollIsLogged) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const QString slave = QString::fromLocal8Bit(::ptsname(master));
  QTemporaryDir logs;
  zlink::SetLinkLogFolder(logs.path());

  struct View : e2e::RecordingView {
    void AddLinkMemoLine(const std::string& line) override {
      RecordingView::AddLinkMemoLine(line);
      if (line.rfind("<0243BB", 0) != 0) return;
      char bytes[64];
      const ssize_t n = ::read(master, bytes, sizeof bytes);
      on_line_then = n > 0 ? std::string(bytes, static_cast<size_t>(n)) : std::string();
    }
    int master = -1;
    std::string on_line_then = "(no poll logged)";
  } view;
  view.master = master;
  zlink::RSThread* link = zlink::RSThread::StartLink(slave, &view);
  ASSERT_EQ(::write(master, ":0243BB\r\n", 9), 9);
  ASSERT_TRUE(e2e::WaitFor([&] { return view.memo.size() >= 2; }));
  EXPECT_EQ(view.on_line_then, ":024300BB\r\n");
  std::vector<std::string> logged;
  for (const std::string& line : e2e::LogLines(logs.path())) logged.push_back(e2e::WithoutStamp(line));
  ASSERT_EQ(logged.size(), 4u);
  EXPECT_EQ(logged[2], "<0243BB");
  EXPECT_EQ(logged[3], ">:024300BB");

  zlink::RSThread::StopLink(link);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  zlink::SetLinkLogFolder(QString());
  ::close(master);
}

}  // namespace
