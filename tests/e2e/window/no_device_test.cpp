// Without a device the page area says what to do; the tool-bar buttons say
// there is no device; a link that opens later brings the pages.
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <QFile>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include "no_device_panel.h"
#include "program_fixture.h"
#include "port_supervision.h"

namespace window_e2e {
namespace {

using device_e2e::Program;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

#ifndef _WIN32  // Unix only: file modes and the dialout group have no Windows kind
// A port the user may not open: a file without permissions, or for root
// (whom file modes do not stop) a kernel file that refuses writing.
QString PortWithoutPermission(const QTemporaryDir& dir) {
  if (geteuid() != 0) {
    const QString path = dir.filePath("ttyLOCKED");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.close();
    ::chmod(path.toLocal8Bit().constData(), 0);
    return path;
  }
  return QStringLiteral("/sys/kernel/uevent_seqnum");
}

TEST(NoDevice, PageNamesMissingPortAndPortWithoutPermission) {
  QTemporaryDir dir;
  const QString missing = dir.filePath("ttyUSB-does-not-exist");
  const QString locked = PortWithoutPermission(dir);
  if (device::ProbePort(locked).state != device::PortState::kNoPermission) {
    GTEST_SKIP() << "no port without permission on this machine";
  }
  // No script file in that folder either.
  Program program({missing, locked}, dir.filePath("Setup.KVS").toStdString());
  program.form.show();
  program.events->StartUp({});
  ASSERT_TRUE(program.form.NoDeviceShown());
  const QString text = program.form.NoDevice()->Text();
  EXPECT_TRUE(text.contains(missing + U("</b>: не найден"))) << text.toStdString();
  EXPECT_TRUE(text.contains(locked + U("</b>: нет прав"))) << text.toStdString();
  EXPECT_TRUE(text.contains(U("dialout")));
  EXPECT_TRUE(text.contains(U("sudo usermod -aG dialout $USER")));
  EXPECT_TRUE(text.contains(U("zelt --demo")));
  // The script the program was given is not there either: said so.
  EXPECT_TRUE(text.contains(U("Setup.KVS не найден"))) << text.toStdString();

  // The tool-bar buttons queue nothing and say why.
  program.form.Button16()->click();
  EXPECT_TRUE(program.form.StatusText().startsWith(U("Нет связи с устройством"))) << program.form.StatusText().toStdString();
  program.form.ShowStatus("x");
  program.form.Button17()->click();
  EXPECT_TRUE(program.form.StatusText().startsWith(U("Нет связи с устройством")));
}

TEST(NoDevice, PathThatIsNotASerialPortIsNotCalledBusy) {
  QTemporaryDir dir;
  Program program({QStringLiteral("/dev/null")}, dir.filePath("Setup.KVS").toStdString());
  program.form.show();
  program.events->StartUp({});
  ASSERT_TRUE(program.form.NoDeviceShown());
  const QString text = program.form.NoDevice()->Text();
  EXPECT_TRUE(text.contains(U("/dev/null</b>: не последовательный порт"))) << text.toStdString();
  EXPECT_FALSE(text.contains(U("занят"))) << text.toStdString();
}
#endif

TEST(NoDevice, TheDemonstrationButtonLinksToTheSimulatedDevice) {
  QTemporaryDir dir;
  QFile script(dir.filePath("Setup.KVS"));
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(":START\r\nDONE\r\n;\r\n");
  script.close();
  Program program({dir.filePath("ttyUSB-none")}, dir.filePath("Setup.KVS").toStdString());
  program.form.show();
  EXPECT_FALSE(program.events->StartUp({}));
  ASSERT_TRUE(program.form.NoDeviceShown());
  QPushButton* demo = program.form.NoDevice()->DemoButton();
  ASSERT_TRUE(demo->isVisible());
  EXPECT_EQ(demo->text(), U("Запустить демонстрацию"));
  QTest::mouseClick(demo, Qt::LeftButton);
  EXPECT_FALSE(program.form.NoDeviceShown());
  EXPECT_EQ(program.done, 1);
  EXPECT_TRUE(device_e2e::WaitFor([&] { return program.Connected(); }, 5000));
}

TEST(NoDevice, NoUsbPortFoundAndThePagesComeWithTheLink) {
  QTemporaryDir dir;
  const QString port = dir.filePath("port");
  QFile script(dir.filePath("Setup.KVS"));
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(":START\r\nDONE SCLEAR 1 ID `here` TEXT 10 LEFT 10 TOP LABEL\r\n;\r\n");
  script.close();
  Program program({port}, dir.filePath("Setup.KVS").toStdString());
  program.form.show();
  EXPECT_FALSE(program.events->StartUp({}));
  ASSERT_TRUE(program.form.NoDeviceShown());
  EXPECT_TRUE(program.form.NoDevice()->Text().contains(U("не найден")));
  EXPECT_EQ(program.done, 0);

  // The adapter is plugged in: at the supervision's next tick the link opens,
  // START runs, and the page area shows its page.
  sim::DeviceSimulator device(device_e2e::FastDevice(port));
  ASSERT_TRUE(device.Start(nullptr));
  program.device->supervision().Tick();
  EXPECT_FALSE(program.form.NoDeviceShown());
  EXPECT_EQ(program.done, 1);
  EXPECT_TRUE(program.form.pool().Label(1)->isVisible());
  ASSERT_TRUE(device_e2e::WaitFor([&] { return program.Connected(); }, 5000));
  // Ticks while connected change nothing.
  program.device->supervision().Tick();
  EXPECT_EQ(program.done, 1);
  EXPECT_FALSE(program.form.NoDeviceShown());
}

TEST(NoDevice, ReportWithoutPortsOnTheScan) {
  const QString text = ui::NoDeviceText({});
  EXPECT_TRUE(text.contains(QStringLiteral("ttyUSB")));
  EXPECT_TRUE(text.contains(QStringLiteral("zelt --demo")));
  ui::NoDeviceReport busy;
  busy.ports << ui::PortAttempt{QStringLiteral("ttyUSB0"), ui::PortState::kBusy, {}};
  EXPECT_TRUE(ui::NoDeviceText(busy).contains(QString::fromUtf8("ttyUSB0</b>: занят")));
}

#ifndef _WIN32
TEST(NoDevice, PermissionHelpNamesThePortsGroup) {
  ui::NoDeviceReport report;
  report.ports << ui::PortAttempt{QStringLiteral("/dev/ttyUSB3"), ui::PortState::kNoPermission,
                                  {}, QStringLiteral("uucp")};
  QString text = ui::NoDeviceText(report);
  EXPECT_TRUE(text.contains(U("ls -l /dev/ttyUSB3\ngroups\nsudo usermod -aG uucp $USER"))) << text.toStdString();
  EXPECT_FALSE(text.contains(U("dialout")));

  // Listed in the group already: a new session is what is missing.
  report.ports[0].group_not_yet_active = true;
  text = ui::NoDeviceText(report);
  EXPECT_TRUE(text.contains(U("newgrp uucp"))) << text.toStdString();
  EXPECT_FALSE(text.contains(U("usermod")));
}
#endif

}  // namespace
}  // namespace window_e2e
