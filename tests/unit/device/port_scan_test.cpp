#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

#include "port_scan.h"

namespace {

TEST(PortScan, NaturalOrderCountsNumbersAsNumbers) {
  QStringList ports{"ttyUSB10", "ttyACM1", "ttyUSB2", "ttyUSB0", "ttyACM0", "ttyUSB02"};
  std::sort(ports.begin(), ports.end(), zlink::NaturalLess);
  EXPECT_EQ(ports, (QStringList{"ttyACM0", "ttyACM1", "ttyUSB0", "ttyUSB02", "ttyUSB2", "ttyUSB10"}));
  EXPECT_FALSE(zlink::NaturalLess("ttyUSB3", "ttyUSB3"));
  EXPECT_NE(zlink::NaturalLess("ttyUSB2", "ttyUSB02"), zlink::NaturalLess("ttyUSB02", "ttyUSB2"));
  EXPECT_TRUE(zlink::NaturalLess("ttyUSB", "ttyUSB0"));
}

TEST(PortScan, APortListKeepsItsOrderAndLeavesOutWhatIsGone) {
  QTemporaryDir dir;
  const QString a = dir.filePath("a"), b = dir.filePath("b"), gone = dir.filePath("gone");
  for (const QString& path : {a, b}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  EXPECT_EQ(zlink::ScanPorts({b, gone, a, b}), (QStringList{b, a}));
  QFile::remove(b);
  EXPECT_EQ(zlink::ScanPorts({b, gone, a}), (QStringList{a}));
  QFile::remove(a);
  EXPECT_TRUE(zlink::ScanPorts({b, gone, a}).isEmpty());
}

#ifdef _WIN32
// The serial-port map as a USB driver fills it, entered with reg.exe (under
// Wine: `wine reg add`). Only the \Device\VCPk values count, in k's order.
bool Reg(const QStringList& arguments) {
  QProcess reg;
  reg.start(QStringLiteral("reg"), arguments);
  return reg.waitForFinished(30000) && reg.exitCode() == 0;
}

const QString kMap = QStringLiteral("HKLM\\HARDWARE\\DEVICEMAP\\SERIALCOMM");

bool SetVcp(int k, const QString& port) {
  return Reg({"add", kMap, "/v", QStringLiteral("\\Device\\VCP%1").arg(k), "/t", "REG_SZ", "/d",
              port, "/f"});
}
bool DeleteVcp(int k) {
  return Reg({"delete", kMap, "/v", QStringLiteral("\\Device\\VCP%1").arg(k), "/f"});
}

TEST(PortScan, TheRegistryMapGivesTheVcpPortsInOrderAndNoticesOneTakenAway) {
  ASSERT_TRUE(SetVcp(3, "COM9"));
  ASSERT_TRUE(SetVcp(0, "COM5"));
  ASSERT_TRUE(SetVcp(1, ""));  // an empty value is no port
  ASSERT_TRUE(SetVcp(100, "COM7"));  // beyond VCP99
  ASSERT_TRUE(Reg({"add", kMap, "/v", "\\Device\\Serial7", "/t", "REG_SZ", "/d", "COM8", "/f"}));
  const QStringList found = zlink::ScanPlatformPorts();
  ASSERT_TRUE(DeleteVcp(0));
  const QStringList after = zlink::ScanPlatformPorts();
  for (int k : {1, 3, 100}) DeleteVcp(k);
  Reg({"delete", kMap, "/v", "\\Device\\Serial7", "/f"});

  EXPECT_EQ(found, (QStringList{"COM5", "COM9"}));
  EXPECT_EQ(after, (QStringList{"COM9"}));
}
#else
TEST(PortScan, ThePlatformScanListsOnlyUsbSerialPorts) {
  for (const QString& port : zlink::ScanPlatformPorts()) {
    EXPECT_TRUE(port.startsWith("ttyUSB") || port.startsWith("ttyACM")) << port.toStdString();
  }
}
#endif

}  // namespace
