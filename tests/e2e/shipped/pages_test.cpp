// The buttons of the shipped pages, pressed as an operator presses them, with
// their effect looked for in the device, the files and the window.
#include <QFile>
#include <QLineEdit>
#include <QTextStream>
#include <cstdlib>

#include "shipped_fixture.h"
#include "db_check_box.h"
#include "tab_strip.h"

namespace {

using shipped_e2e::Shipped;
using shipped_e2e::U;

// The digits of the phone record at `address`, as the device keeps them.
std::string PhoneDigits(const sim::DeviceModel& device, int address) {
  std::string digits;
  for (int k = 1; k <= 8; ++k) {
    const uint8_t b = device.memory()[address + k];
    for (uint8_t nibble : {uint8_t(b & 15), uint8_t(b >> 4)}) {
      if (nibble > 9) return digits;
      digits += char('0' + nibble);
    }
  }
  return digits;
}

int PhoneRecord(int k) { return sim::DeviceModel::kPhones + 9 * (k - 1); }

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("<missing>");
  return QString::fromLatin1(file.readAll());
}

TEST_F(Shipped, DevicePageSetsTheClockAndRefreshes) {
  device().clock_offset = -3 * 24 * 3600 - 1234;
  StartAndRead();
  ClickNode("Устройство");
  Click(Shown<QPushButton>("Установить время компьютера"));
  ASSERT_TRUE(WaitIdle());
  EXPECT_LE(std::labs(static_cast<long>(device().clock_offset)), 2L);
  EXPECT_TRUE(form().MemoEV()->toPlainText().contains(U("Время устройства установлено: Время: ")));
  const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yy"));
  EXPECT_TRUE(ValueBeside("Часы устройства:").contains(today)) << ValueBeside("Часы устройства:").toStdString();

  device().signal_level = 63;
  Click(Shown<QPushButton>("Обновить"));
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(ValueBeside("Уровень сигнала GSM:"), U("63 %"));

  // Refreshed by itself every five seconds while the box is ticked.
  QCheckBox* every = Shown<QCheckBox>("Обновлять каждые 5 секунд");
  ASSERT_NE(every, nullptr);
  QTest::mouseClick(every, Qt::LeftButton, {}, {8, every->height() / 2});
  device().signal_level = 18;
  EXPECT_TRUE(device_e2e::WaitFor([&] { return ValueBeside("Уровень сигнала GSM:") == U("18 %"); },
                                  8000));
  EXPECT_TRUE(Shown<QCheckBox>("Обновлять каждые 5 секунд")->isChecked());
}

TEST_F(Shipped, PhoneBookAddsDeletesAndWrites) {
  StartAndRead();  // the factory book: 79001234567 and 112
  ClickNode("Телефонная книга");
  QTableView* grid = PhoneGrid();
  ASSERT_EQ(grid->model()->rowCount(), 2);

  ui::StyledComboBox* number = nullptr;
  for (auto* box : form().PanelSet()->findChildren<ui::StyledComboBox*>()) {
    if (box->isVisible()) number = box;
  }
  ASSERT_NE(number, nullptr);
  QTest::keyClicks(number->combo()->lineEdit(), "333-44");
  Click(Shown<QPushButton>("Добавить"));
  EXPECT_EQ(grid->model()->rowCount(), 2);
  ASSERT_FALSE(dialogs_.shown.isEmpty());
  EXPECT_EQ(dialogs_.shown.last(), U("Номер телефона - от 1 до 16 цифр, без пробелов и знаков."));
  number->combo()->lineEdit()->selectAll();
  QTest::keyClicks(number->combo()->lineEdit(), "3334445");
  Click(Shown<QPushButton>("Добавить"));
  ASSERT_EQ(grid->model()->rowCount(), 3);
  EXPECT_EQ(Cell(grid, 2, 0), U("3334445"));

  // The first row chosen in the grid, then deleted.
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualRect(grid->model()->index(0, 0)).center());
  Click(Shown<QPushButton>("Удалить"));
  ASSERT_EQ(grid->model()->rowCount(), 2);
  EXPECT_EQ(Cell(grid, 0, 0), U("112"));

  Click(Shown<QPushButton>("Записать в устройство"));
  ASSERT_TRUE(WaitStatus("Телефонная книга записана в устройство."));
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(device().memory()[PhoneRecord(1)], 1);
  EXPECT_EQ(PhoneDigits(device(), PhoneRecord(1)), "112");
  EXPECT_EQ(device().memory()[PhoneRecord(2)], 1);
  EXPECT_EQ(PhoneDigits(device(), PhoneRecord(2)), "3334445");
  for (int k = 3; k <= 10; ++k) EXPECT_EQ(device().memory()[PhoneRecord(k)], 0) << k;
}

TEST_F(Shipped, PhoneBookNotReadIsNeverWritten) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const auto before = device().memory();
  ClickNode("Телефонная книга");
  Click(Shown<QPushButton>("Записать в устройство"));
  Click(Shown<QPushButton>("Добавить"));
  ASSERT_EQ(dialogs_.shown.size(), 2);
  EXPECT_EQ(dialogs_.shown[0], U("Сначала прочитайте телефонную книгу кнопкой «Чтение из устройства»."));
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(device().write_sessions(), 0);
  EXPECT_EQ(device().memory(), before);
}

TEST_F(Shipped, ScriptPageWritesReadsSavesAndLoads) {
  StartAndRead();
  ClickNode("Скрипт устройства");
  QPlainTextEdit* memo = form().pool().Memo1();
  memo->selectAll();
  QTest::keyClicks(memo, "IN1 OFF -> SMS 3;");
  Click(Shown<QPushButton>("Записать"));
  ASSERT_TRUE(WaitStatus("Скрипт записан в устройство."));
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(device().Script(), "IN1 OFF -> SMS 3;");

  device().SetScript("READ BACK;");
  Click(Shown<QPushButton>("Прочитать"));
  ASSERT_TRUE(WaitStatus("Скрипт прочитан из устройства."));
  EXPECT_EQ(form().pool().Memo1()->toPlainText(), U("READ BACK;"));

  dialogs_.chosen_file = folder_.filePath("saved.txt");
  Click(Shown<QPushButton>("В файл..."));
  EXPECT_EQ(ReadFile(dialogs_.chosen_file), QStringLiteral("READ BACK;"));

  const QString other = folder_.filePath("other.txt");
  ASSERT_TRUE(WriteFile(other, "FROM FILE;"));
  dialogs_.chosen_file = other;
  Click(Shown<QPushButton>("Из файла..."));
  EXPECT_EQ(form().pool().Memo1()->toPlainText(), U("FROM FILE;"));
  EXPECT_EQ(program_->Pushed("RSCRIPT"), "FROM FILE;");
}

TEST_F(Shipped, JournalCountsFiltersImportsAndClears) {
  StartAndRead();
  ClickNode("Журнал событий");
  QTableView* grid = form().pool().DBGrid(1);
  ASSERT_TRUE(grid->isVisible());
  while (grid->model()->canFetchMore(QModelIndex())) grid->model()->fetchMore(QModelIndex());
  const int rows = grid->model()->rowCount();
  EXPECT_GT(rows, 18);  // settings, information and phone reads at least
  EXPECT_EQ(grid->model()->headerData(4, Qt::Horizontal).toString(), U("Запись"));
  // The newest record, a read answer, is current: its box is ticked.
  ASSERT_TRUE(form().pool().DBCheckBox(1)->isVisible());
  EXPECT_TRUE(form().pool().DBCheckBox(1)->isChecked());

  Click(Shown<QPushButton>("Подсчитать"));
  ASSERT_FALSE(dialogs_.shown.isEmpty());
  EXPECT_EQ(dialogs_.shown.last(), U("Записей в таблице: ") + QString::number(rows));

  ui::StyledComboBox* filter = ComboOffering("Канал 1, адрес 2");
  ASSERT_NE(filter, nullptr);
  filter->combo()->setFocus();
  QTest::keyClick(filter->combo(), Qt::Key_Down);
  EXPECT_EQ(form().LabelFiltr()->text(), U("Фильтр: СК-1"));

  const QString csv = folder_.filePath("import.csv");
  ASSERT_TRUE(WriteFile(csv, "1,2,3\r\n4,5,6\r\n"));
  dialogs_.chosen_file = csv;
  Click(Shown<QPushButton>("Импорт CSV..."));
  grid = form().pool().DBGrid(1);
  ASSERT_EQ(grid->model()->rowCount(), 2);
  EXPECT_EQ(Cell(grid, 1, 2), QStringLiteral("6"));

  // Back to all records through the tab, then cleared.
  auto* tabs = qobject_cast<tables::TabStrip*>(form().pool().TabControl1());
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->CurrentIndex(), 2);  // Импорт
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->TabRect(0).center());
  EXPECT_GT(form().pool().DBGrid(1)->model()->rowCount(), 0);
  Click(Shown<QPushButton>("Очистить"));
  EXPECT_EQ(form().pool().DBGrid(1)->model()->rowCount(), 0);
}

TEST_F(Shipped, ProfileSavedAndLoadedBack) {
  // A script longer than one settings-file line holds.
  std::string long_script;
  for (int i = 0; long_script.size() < 2500; ++i) {
    long_script += "IN" + std::to_string(i % 8 + 1) + " ON -> SMS " + std::to_string(i % 10) + "; ";
  }
  device().SetScript(long_script);
  device().memory()[sim::DeviceModel::kSettings + 0] = 2;  // Сервис
  StartAndRead();

  ClickNode("Профили настроек");
  // A settings file that is no profile changes nothing.
  const QString other = folder_.filePath("other.ini");
  ASSERT_TRUE(WriteFile(other, "[Программа]\r\nLastProfile=x\r\n"));
  dialogs_.chosen_file = other;
  Click(Shown<QPushButton>("Загрузить профиль..."));
  ASSERT_FALSE(dialogs_.shown.isEmpty());
  EXPECT_EQ(dialogs_.shown.last(), U("В файле нет настроек устройства: это не профиль."));
  EXPECT_EQ(program_->engine.Cell(0), "2");
  EXPECT_EQ(ValueBeside("Последний профиль:"), U("нет"));

  const QString profile = folder_.filePath("profile.ini");
  dialogs_.chosen_file = profile;
  Click(Shown<QPushButton>("Сохранить профиль..."));
  EXPECT_EQ(Status(), U("Профиль сохранён."));
  EXPECT_EQ(ValueBeside("Последний профиль:"), profile);

  // Edited after saving: the mode and the script.
  ClickNode("Настройки GSM");
  ui::StyledComboBox* mode = ComboOffering("Охрана");
  ASSERT_NE(mode, nullptr);
  mode->combo()->setFocus();
  QTest::keyClick(mode->combo(), Qt::Key_Up);
  EXPECT_EQ(program_->engine.Cell(0), "1");
  Click(Shown<QPushButton>("Отменить изменения"));
  EXPECT_EQ(ComboOffering("Охрана")->Text(), U("Сервис"));
  EXPECT_EQ(Status(), U("Изменений нет."));
  mode->combo()->setFocus();
  QTest::keyClick(mode->combo(), Qt::Key_Up);
  EXPECT_EQ(program_->engine.Cell(0), "1");
  program_->engine.ExecuteLine("`short` SSCRIPT");

  ClickNode("Профили настроек");
  Click(Shown<QPushButton>("Загрузить профиль..."));
  EXPECT_EQ(Status(), U("Изменений нет."));
  EXPECT_EQ(program_->Pushed("RSCRIPT"), long_script);
  ClickNode("Настройки GSM");
  EXPECT_EQ(ComboOffering("Охрана")->Text(), U("Сервис"));
}

}  // namespace
