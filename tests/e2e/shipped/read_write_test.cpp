// "Чтение из устройства" puts the device's settings, phone book and script into
// the pages' controls; a setting changed through its control reaches the
// device's memory with "Запись в устройство".
#include <QComboBox>
#include <QLineEdit>

#include "shipped_fixture.h"

namespace {

using shipped_e2e::Shipped;
using shipped_e2e::U;

constexpr int kSettings = sim::DeviceModel::kSettings;

TEST_F(Shipped, ReadShowsTheDeviceAndWriteStoresTheOperatorsChanges) {
  // A device that differs from the factory image in every value shown.
  auto& memory = device().memory();
  const uint8_t settings[] = {1, 2, 0, 0, 1, 1, 0, 5, 12};
  for (size_t k = 0; k < sizeof settings; ++k) memory[kSettings + k] = settings[k];
  memory[kSettings + 40] = 0x5A;  // a byte no page shows: must survive the write
  device().SetPhone(sim::DeviceModel::kPhones, 1, "5551234");
  device().SetPhone(sim::DeviceModel::kPhones + 9, 0, "");
  device().SetPhone(sim::DeviceModel::kPhones + 18, 1, "89161112233");
  device().SetScript("IN3 ON -> SMS 2; TEST 12h;");
  device().signal_level = 41;
  const char name[] = "ZELT-2 TEST";
  std::copy(std::begin(name), std::end(name), memory.begin() + sim::DeviceModel::kName);

  StartAndRead();
  EXPECT_FALSE(form().MemoTerminal()->toPlainText().isEmpty());
  EXPECT_FALSE(form().MemoTerminalOut()->toPlainText().isEmpty());

  ClickNode("Устройство");
  EXPECT_EQ(ValueBeside("Название:"), U("ZELT-2 TEST"));
  EXPECT_EQ(ValueBeside("Уровень сигнала GSM:"), U("41 %"));

  ClickNode("Настройки GSM");
  ui::StyledComboBox* mode = ComboOffering("Охрана");
  ui::StyledComboBox* band = ComboOffering("GSM 1800");
  ui::StyledComboBox* attempts = ComboOffering("10");
  ui::StyledComboBox* period = ComboOffering("48");
  ui::StyledComboBox* sms = ComboOffering("Кириллица");
  ASSERT_TRUE(mode && band && attempts && period && sms);
  EXPECT_EQ(mode->Text(), U("Контроль"));
  EXPECT_EQ(band->Text(), U("GSM 1800"));
  EXPECT_EQ(attempts->Text(), U("5"));
  EXPECT_EQ(period->Text(), U("12"));
  EXPECT_EQ(sms->Text(), U("Латиница"));
  QCheckBox* sms_alarm = Shown<QCheckBox>("SMS при тревоге");
  QCheckBox* call_alarm = Shown<QCheckBox>("Звонок при тревоге");
  QCheckBox* sms_disarm = Shown<QCheckBox>("SMS о снятии с охраны");
  QCheckBox* power = Shown<QCheckBox>("Контроль питания");
  ASSERT_TRUE(sms_alarm && call_alarm && sms_disarm && power);
  EXPECT_FALSE(sms_alarm->isChecked());
  EXPECT_TRUE(call_alarm->isChecked());
  EXPECT_TRUE(sms_disarm->isChecked());
  EXPECT_FALSE(power->isChecked());

  ClickNode("Телефонная книга");
  QTableView* grid = PhoneGrid();
  ASSERT_TRUE(grid->isVisible());
  ASSERT_EQ(grid->model()->rowCount(), 2);
  EXPECT_EQ(Cell(grid, 0, 1), U("5551234"));
  EXPECT_EQ(Cell(grid, 1, 1), U("89161112233"));

  ClickNode("Скрипт устройства");
  ASSERT_TRUE(form().pool().Memo1()->isVisible());
  EXPECT_EQ(form().pool().Memo1()->toPlainText(), U("IN3 ON -> SMS 2; TEST 12h;"));

  // The operator changes one control of each kind.
  ClickNode("Настройки GSM");
  mode = ComboOffering("Охрана");
  sms = ComboOffering("Кириллица");
  attempts = ComboOffering("10");
  sms_alarm = Shown<QCheckBox>("SMS при тревоге");
  ASSERT_TRUE(mode && sms && attempts && sms_alarm);
  mode->combo()->setFocus();
  QTest::keyClick(mode->combo(), Qt::Key_Down);  // Контроль -> Сервис
  EXPECT_EQ(mode->Text(), U("Сервис"));
  QTest::mouseClick(sms_alarm, Qt::LeftButton, {}, {8, sms_alarm->height() / 2});  // the box
  sms->combo()->setFocus();
  QTest::keyClick(sms->combo(), Qt::Key_Down);  // Латиница -> Кириллица
  attempts->combo()->lineEdit()->selectAll();
  QTest::keyClicks(attempts->combo()->lineEdit(), "7");
  EXPECT_EQ(Status(), U("Есть изменения, не записанные в устройство: настройки."));

  const int sessions = device().write_sessions();
  form().Button17()->click();
  ASSERT_TRUE(WaitStatus("Записано и проверено: настройки.")) << Status().toStdString();
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(device().write_sessions(), sessions + 1);
  EXPECT_EQ(memory[kSettings + 0], 2);  // Сервис
  EXPECT_EQ(memory[kSettings + 1], 2);
  EXPECT_EQ(memory[kSettings + 2], 1);  // Кириллица
  EXPECT_EQ(memory[kSettings + 3], 1);  // SMS при тревоге
  EXPECT_EQ(memory[kSettings + 4], 1);
  EXPECT_EQ(memory[kSettings + 5], 1);
  EXPECT_EQ(memory[kSettings + 6], 0);
  EXPECT_EQ(memory[kSettings + 7], 7);
  EXPECT_EQ(memory[kSettings + 8], 12);
  EXPECT_EQ(memory[kSettings + 40], 0x5A);

  // Nothing changed since: a second click writes nothing.
  form().Button17()->click();
  EXPECT_EQ(Status(), U("Изменений нет: записывать нечего."));
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(device().write_sessions(), sessions + 1);
}

}  // namespace
