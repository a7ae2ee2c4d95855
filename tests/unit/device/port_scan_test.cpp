#include <gtest/gtest.h>

#include <QFile>
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

TEST(PortScan, ThePlatformScanListsOnlyUsbSerialPorts) {
  for (const QString& port : zlink::ScanPlatformPorts()) {
    EXPECT_TRUE(port.startsWith("ttyUSB") || port.startsWith("ttyACM")) << port.toStdString();
  }
}

}  // namespace
