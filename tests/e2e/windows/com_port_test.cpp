// The Windows build's real serial path: zelt's shipped pages against zelt-sim
// (the Linux simulator) on a pseudo-terminal that Wine maps to a COM port.
// tools/test-windows starts zelt-sim, links dosdevices/com5 to its port and
// runs this under Wine with ZELT_COM_PORT=COM5 and ZELT_SIM_IMAGE naming the
// simulator's memory image, which it saves after every write.
#include <QFile>
#include <QLineEdit>

#include "shipped_fixture.h"

namespace {

using shipped_e2e::Shipped;
using shipped_e2e::U;

constexpr int kSettings = sim::DeviceModel::kSettings;

class ComPort : public Shipped {
 protected:
  void SetUp() override {
    port_ = qEnvironmentVariable("ZELT_COM_PORT");
    image_ = qEnvironmentVariable("ZELT_SIM_IMAGE");
    if (port_.isEmpty() || image_.isEmpty())
      GTEST_SKIP() << "needs zelt-sim behind ZELT_COM_PORT (tools/test-windows starts it)";
    previous_folder_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder_.path()));
  }
  QString PortName() override { return port_; }

  QByteArray Image() {
    QFile file(image_);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  int SettingInImage(int offset) {
    const QByteArray image = Image();
    return image.size() > kSettings + offset ? static_cast<uint8_t>(image[kSettings + offset]) : -1;
  }

  QString port_, image_;
};

TEST_F(ComPort, ReadChangeAndWriteThroughTheComPort) {
  const QByteArray before = Image();
  ASSERT_GT(before.size(), kSettings + 40);
  StartAndRead();
  EXPECT_EQ(program_->form.ComboBoxCom()->currentText(), port_);

  ClickNode("Настройки GSM");
  ui::StyledComboBox* attempts = ComboOffering("10");
  ASSERT_NE(attempts, nullptr);
  EXPECT_EQ(attempts->Text(), QString::number(static_cast<uint8_t>(before[kSettings + 7])));
  attempts->combo()->lineEdit()->selectAll();
  const int wanted = static_cast<uint8_t>(before[kSettings + 7]) == 7 ? 8 : 7;
  QTest::keyClicks(attempts->combo()->lineEdit(), QString::number(wanted));
  EXPECT_EQ(Status(), U("Есть изменения, не записанные в устройство: настройки."));

  form().Button17()->click();
  ASSERT_TRUE(WaitStatus("Записано и проверено: настройки.", 30000)) << Status().toStdString();
  ASSERT_TRUE(device_e2e::WaitFor([&] { return SettingInImage(7) == wanted; }, 10000));
  const QByteArray after = Image();
  EXPECT_EQ(after.size(), before.size());
  for (int offset : {0, 1, 2, 8, 40}) {  // the rest of the settings as they were
    EXPECT_EQ(after[kSettings + offset], before[kSettings + offset]) << offset;
  }
}

}  // namespace
