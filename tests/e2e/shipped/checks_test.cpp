// What the settings page and a loaded profile let through: only values the
// device takes; anything else is named and never written.
#include <QFile>
#include <QLineEdit>

#include "shipped_fixture.h"

namespace {

using shipped_e2e::Shipped;
using shipped_e2e::U;

constexpr int kSettings = sim::DeviceModel::kSettings;

TEST_F(Shipped, ASettingTheDeviceCannotTakeIsMarkedAndNeverWritten) {
  StartAndRead();
  ClickNode("Настройки GSM");
  ui::StyledComboBox* attempts = ComboOffering("10");
  ASSERT_NE(attempts, nullptr);
  EXPECT_EQ(ComboOffering("Кириллица")->style(), ui::StyledComboBox::Style::kList);
  const uint8_t before = device().memory()[kSettings + 7];
  const int sessions = device().write_sessions();

  QLineEdit* edit = attempts->combo()->lineEdit();
  edit->selectAll();
  QTest::keyClicks(edit, "abc");  // letters do not go in
  EXPECT_EQ(attempts->Text(), QString::number(before));
  edit->selectAll();
  QTest::keyClicks(edit, "300");
  EXPECT_FALSE(attempts->Acceptable());
  EXPECT_EQ(program_->engine.Cell(7), "30");  // the last text the device takes, never 300 & 255
  EXPECT_EQ(LabelStarting("Неверное значение"),
            U("Неверное значение: Число попыток дозвона - нужно число от 0 до 255."));

  const QString refusal =
      U("Запись отменена: неверное значение (Число попыток дозвона), нужно число от 0 до 255.");
  form().Button17()->click();
  EXPECT_EQ(Status(), refusal);
  Click(Shown<QPushButton>("Записать в устройство"));
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(Status(), refusal);
  ASSERT_FALSE(dialogs_.warned.isEmpty());
  EXPECT_EQ(dialogs_.warned.last(), refusal);
  EXPECT_EQ(device().write_sessions(), sessions);

  edit->selectAll();
  QTest::keyClicks(edit, "30");
  EXPECT_TRUE(attempts->Acceptable());
  EXPECT_EQ(LabelStarting("Есть изменения"), U("Есть изменения, не записанные в устройство."));
  form().Button17()->click();
  ASSERT_TRUE(WaitStatus("Записано и проверено: настройки.")) << Status().toStdString();
  EXPECT_EQ(device().memory()[kSettings + 7], 30);
}

TEST_F(Shipped, AProfileLoadsOnlyWhatTheDeviceTakesAndSaysWhatItLeftOut) {
  StartAndRead();
  const std::string mode = program_->engine.Cell(0);
  const std::string attempts = program_->engine.Cell(7);
  const QString path = folder_.filePath("odd.ini");
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings]\r\nS0=5\r\nS1=2\r\nS7=999\r\nS8=24\r\n"
               "[Phones]\r\nCount=50\r\nPhone1=+7 (900) 555-12-34\r\nPhone2=12ab+34\r\nPhone3=112\r\n"
               "[Script]\r\nHex=58 3B \r\n");
  }
  ClickNode("Профили настроек");
  dialogs_.chosen_file = path;
  Click(Shown<QPushButton>("Загрузить профиль..."));
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(program_->engine.Cell(0), mode);
  EXPECT_EQ(program_->engine.Cell(1), "2");
  EXPECT_EQ(program_->engine.Cell(7), attempts);
  EXPECT_EQ(program_->engine.Cell(8), "24");
  const QString left_out = U("S0=5, S7=999, Count=50 (взяты первые 10 номеров), Phone2=12ab+34");
  EXPECT_TRUE(Status().endsWith(U(" Не взято из файла: ") + left_out + ".")) << Status().toStdString();
  ASSERT_FALSE(dialogs_.shown.isEmpty());
  EXPECT_TRUE(dialogs_.shown.last().contains(left_out)) << dialogs_.shown.last().toStdString();

  ClickNode("Телефонная книга");
  ASSERT_EQ(PhoneGrid()->model()->rowCount(), 2);
  EXPECT_EQ(Cell(PhoneGrid(), 0, 1), U("79005551234"));
  EXPECT_EQ(Cell(PhoneGrid(), 1, 1), U("112"));
}

}  // namespace
