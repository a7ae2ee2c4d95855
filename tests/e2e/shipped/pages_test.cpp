// The buttons of the shipped pages, pressed as an operator presses them, with
// their effect looked for in the device, the files and the window.
#include <QFile>
#include <QLineEdit>
#include <QTextStream>
#include <algorithm>
#include <cstdlib>

#include "control_pool.h"
#include "level_image.h"
#include "rs.h"
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
  EXPECT_EQ(Status(), U("Время устройства установлено."));
  EXPECT_TRUE(form().MemoEV()->toPlainText().contains(U("Время устройства установлено: Время: ")));
  const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yy"));
  EXPECT_TRUE(ValueBeside("Часы устройства:").contains(today)) << ValueBeside("Часы устройства:").toStdString();

  device().signal_level = 63;
  Click(Shown<QPushButton>("Обновить"));
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(ValueBeside("Уровень сигнала GSM:"), U("63 %"));
  EXPECT_EQ(Status(), U("Сведения об устройстве обновлены."));

  // The clock shown goes on by itself, without asking the device.
  const uint64_t sent = links().InSlot(1)->RecordsSent();
  const QString clock = ValueBeside("Часы устройства:");
  EXPECT_TRUE(device_e2e::WaitFor([&] { return ValueBeside("Часы устройства:") != clock; }, 2500));
  EXPECT_EQ(links().InSlot(1)->RecordsSent(), sent);

  // Refreshed by itself every five seconds while the box is ticked.
  QCheckBox* every = Shown<QCheckBox>("Обновлять каждые 5 секунд");
  ASSERT_NE(every, nullptr);
  QTest::mouseClick(every, Qt::LeftButton, {}, {8, every->height() / 2});
  device().signal_level = 18;
  EXPECT_TRUE(device_e2e::WaitFor([&] { return ValueBeside("Уровень сигнала GSM:") == U("18 %"); },
                                  8000));
  EXPECT_TRUE(Shown<QCheckBox>("Обновлять каждые 5 секунд")->isChecked());
}

// A name with a line break stays on its row; the level bar is drawn just
// under its caption.
TEST_F(Shipped, DevicePageKeepsEachValueBesideItsCaption) {
  const char name[] = "ZELT\r\nTWO";
  std::copy(name, name + sizeof name, device().memory().begin() + sim::DeviceModel::kName);
  StartAndRead();
  ClickNode("Устройство");
  EXPECT_EQ(ValueBeside("Название:"), U("ZELT  TWO"));

  const ui::LevelImage* image = form().pool().Image1();
  QRect bar;
  for (int y = 0; y < image->surface().height(); ++y) {
    for (int x = 0; x < image->surface().width(); ++x) {
      if (image->surface().pixelColor(x, y) == ui::LevelImage::BarColor()) bar |= QRect(x, y, 1, 1);
    }
  }
  ASSERT_FALSE(bar.isEmpty());
  bar.translate(image->pos());
  const QLabel* caption = Shown<QLabel>("Уровень сигнала GSM:");
  ASSERT_NE(caption, nullptr);
  EXPECT_LE(std::abs(bar.left() - caption->x()), 8) << bar.left() << " " << caption->x();
  EXPECT_GE(bar.bottom(), caption->geometry().bottom());
  EXPECT_LE(bar.top(), caption->geometry().bottom() + 16) << bar.top();
}

TEST_F(Shipped, PhoneBookAddsEditsDeletesAndWrites) {
  StartAndRead();  // the factory book: 79001234567 and 112
  ClickNode("Телефонная книга");
  QTableView* grid = PhoneGrid();
  ASSERT_TRUE(grid->isVisible());
  ASSERT_EQ(grid->model()->rowCount(), 2);
  EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), U("Номер"));
  EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), U("Состояние"));
  EXPECT_EQ(Cell(grid, 0, 2), U("в устройстве"));

  QLineEdit* number = NumberField();
  ASSERT_NE(number, nullptr);
  QTest::keyClicks(number, "333-4x");
  Click(Shown<QPushButton>("Добавить"));
  EXPECT_EQ(PhoneGrid()->model()->rowCount(), 2);
  ASSERT_FALSE(dialogs_.shown.isEmpty());
  EXPECT_EQ(dialogs_.shown.last(),
            U("Номер телефона - от 1 до 16 цифр; пробелы, скобки, дефисы и + в начале не в счёт."));
  number = NumberField();
  number->selectAll();
  QTest::keyClicks(number, "3334445");
  QTest::keyClick(number, Qt::Key_Return);  // Enter adds
  grid = PhoneGrid();
  ASSERT_EQ(grid->model()->rowCount(), 3);
  EXPECT_EQ(Cell(grid, 2, 1), U("3334445"));
  EXPECT_EQ(Cell(grid, 2, 2), U("не записан"));
  EXPECT_EQ(Status(), U("Есть изменения, не записанные в устройство: телефонная книга."));
  EXPECT_TRUE(NumberField()->text().isEmpty());

  // A row chosen in the grid comes into the field and is changed there.
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualRect(grid->model()->index(1, 1)).center());
  ASSERT_TRUE(WaitIdle());
  number = NumberField();
  EXPECT_EQ(number->text(), U("112"));
  number->selectAll();
  QTest::keyClicks(number, "113");
  Click(Shown<QPushButton>("Изменить"));
  grid = PhoneGrid();
  EXPECT_EQ(Cell(grid, 1, 1), U("113"));

  // The first row chosen, then deleted.
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualRect(grid->model()->index(0, 0)).center());
  Click(Shown<QPushButton>("Удалить"));
  grid = PhoneGrid();
  ASSERT_EQ(grid->model()->rowCount(), 2);
  EXPECT_EQ(Cell(grid, 0, 1), U("113"));

  const int shown = dialogs_.shown.size();
  Click(Shown<QPushButton>("Записать в устройство"));  // read before: no question
  ASSERT_TRUE(WaitTransferDone());
  EXPECT_EQ(Status(), U("Записано и проверено: телефонная книга."));
  EXPECT_EQ(dialogs_.shown.size(), shown);
  EXPECT_EQ(device().memory()[PhoneRecord(1)], 1);
  EXPECT_EQ(PhoneDigits(device(), PhoneRecord(1)), "113");
  EXPECT_EQ(device().memory()[PhoneRecord(2)], 1);
  EXPECT_EQ(PhoneDigits(device(), PhoneRecord(2)), "3334445");
  for (int k = 3; k <= 10; ++k) EXPECT_EQ(device().memory()[PhoneRecord(k)], 0) << k;
  EXPECT_EQ(Cell(PhoneGrid(), 1, 2), U("в устройстве"));
}

TEST_F(Shipped, PhoneBookActsOnTheRowTheOperatorSees) {
  StartAndRead();  // the factory book: 79001234567 and 112
  ClickNode("Телефонная книга");
  QTest::keyClicks(NumberField(), "+7 (900) 555-12-34");
  Click(Shown<QPushButton>("Добавить"));
  QTableView* grid = PhoneGrid();
  ASSERT_EQ(grid->model()->rowCount(), 3);
  EXPECT_EQ(Cell(grid, 2, 1), U("79005551234"));
  EXPECT_EQ(grid->currentIndex().row(), 2);

  QTest::keyClicks(NumberField(), "112");
  Click(Shown<QPushButton>("Добавить"));
  EXPECT_EQ(dialogs_.shown.last(), U("Номер 112 уже есть в телефонной книге."));
  EXPECT_EQ(PhoneGrid()->model()->rowCount(), 3);

  // The field follows the keys as it follows clicks.
  grid = PhoneGrid();
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Up);
  QTest::keyClick(grid, Qt::Key_Up);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(NumberField()->text(), U("79001234567"));
  QTest::keyClick(PhoneGrid(), Qt::Key_Down);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(NumberField()->text(), U("112"));

  QLineEdit* number = NumberField();
  number->selectAll();
  QTest::keyClicks(number, "113");
  Click(Shown<QPushButton>("Изменить"));
  grid = PhoneGrid();
  EXPECT_EQ(Cell(grid, 1, 1), U("113"));
  EXPECT_EQ(grid->currentIndex().row(), 1);

  dialogs_.answer_yes = false;
  Click(Shown<QPushButton>("Удалить"));
  EXPECT_EQ(dialogs_.shown.last(), U("Удалить номер 113 из телефонной книги?"));
  EXPECT_EQ(PhoneGrid()->model()->rowCount(), 3);
  dialogs_.answer_yes = true;
  Click(Shown<QPushButton>("Удалить"));
  grid = PhoneGrid();
  ASSERT_EQ(grid->model()->rowCount(), 2);
  EXPECT_EQ(Cell(grid, 1, 1), U("79005551234"));
  EXPECT_EQ(grid->currentIndex().row(), 1);
  EXPECT_EQ(NumberField()->text(), U("79005551234"));
}

TEST_F(Shipped, ScriptPageWritesReadsSavesAndLoads) {
  StartAndRead();
  ClickNode("Скрипт устройства");
  QPlainTextEdit* memo = form().pool().Memo1();
  memo->selectAll();
  QTest::keyClicks(memo, "IN1 OFF -> SMS 3;");
  EXPECT_EQ(LabelStarting("Длина скрипта"), U("Длина скрипта: 17 из 4855 байт; не записан в устройство"));
  Click(Shown<QPushButton>("Записать"));
  ASSERT_TRUE(WaitTransferDone());
  EXPECT_EQ(Status(), U("Записано и проверено: скрипт."));
  EXPECT_EQ(device().Script(), "IN1 OFF -> SMS 3;");
  EXPECT_EQ(LabelStarting("Длина скрипта"), U("Длина скрипта: 17 из 4855 байт"));

  device().SetScript("READ BACK;");
  Click(Shown<QPushButton>("Прочитать"));
  ASSERT_TRUE(WaitTransferDone());
  EXPECT_EQ(Status(), U("Скрипт прочитан из устройства."));
  EXPECT_EQ(form().pool().Memo1()->toPlainText(), U("READ BACK;"));

  dialogs_.chosen_file = folder_.filePath("saved.txt");
  Click(Shown<QPushButton>("В файл..."));
  EXPECT_EQ(ReadFile(dialogs_.chosen_file), QStringLiteral("READ BACK;"));

  const QString other = folder_.filePath("other.txt");
  ASSERT_TRUE(WriteFile(other, "FROM FILE;\nLINE 2;"));
  dialogs_.chosen_file = other;
  Click(Shown<QPushButton>("Из файла..."));
  EXPECT_EQ(form().pool().Memo1()->toPlainText(), U("FROM FILE;\nLINE 2;"));
  // A line end counts as when typed.
  EXPECT_EQ(program_->engine.Cell(65), "FROM FILE;\r\nLINE 2;");
  EXPECT_EQ(LabelStarting("Длина скрипта"), U("Длина скрипта: 19 из 4855 байт; не записан в устройство"));
  EXPECT_EQ(Status(), U("Скрипт загружен из файла: ") + other);
}

// Text files of device scripts are UTF-8; Windows-1251 ones still load.
TEST_F(Shipped, ScriptFilesInUtf8) {
  StartAndRead();
  if (!program_->engine.HasWord(">UTF8")) GTEST_SKIP() << "the program has no UTF-8 words";
  ClickNode("Скрипт устройства");
  const QString utf8 = folder_.filePath("utf8.txt");
  ASSERT_TRUE(WriteFile(utf8, QStringLiteral("ВХОД1 -> СМС «тревога»;\nконец").toUtf8()));
  dialogs_.chosen_file = utf8;
  Click(Shown<QPushButton>("Из файла..."));
  EXPECT_EQ(form().pool().Memo1()->toPlainText(), U("ВХОД1 -> СМС «тревога»;\nконец"));

  const QString saved = folder_.filePath("saved.txt");
  dialogs_.chosen_file = saved;
  Click(Shown<QPushButton>("В файл..."));
  QFile file(saved);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_EQ(QString::fromUtf8(bytes).remove('\r'), U("ВХОД1 -> СМС «тревога»;\nконец"));

  const QString cp1251 = folder_.filePath("cp1251.txt");
  ASSERT_TRUE(WriteFile(cp1251, QByteArray("\xC2\xD5\xCE\xC4 1;")));  // ВХОД 1;
  dialogs_.chosen_file = cp1251;
  Click(Shown<QPushButton>("Из файла..."));
  EXPECT_EQ(form().pool().Memo1()->toPlainText(), U("ВХОД 1;"));
}

// The script area ends where the device keeps its settings and identity.
TEST_F(Shipped, AScriptLongerThanTheDeviceHoldsIsNotWritten) {
  StartAndRead();
  ClickNode("Скрипт устройства");
  const std::string before = device().Script();
  EXPECT_EQ(LabelStarting("Длина скрипта:"),
            U("Длина скрипта: %1 из 4855 байт").arg(before.size()));
  QPlainTextEdit* memo = form().pool().Memo1();
  memo->setFocus();
  memo->setPlainText(QString(6250, QLatin1Char('z')));  // pasted
  EXPECT_EQ(LabelStarting("Длина скрипта:"),
            U("Длина скрипта: 6250 из 4855 байт; не помещается в память устройства, запись невозможна"));

  Click(Shown<QPushButton>("Записать"));
  ASSERT_TRUE(WaitTransferDone());
  const QString why = U("Запись не удалась: скрипт: скрипт длиннее памяти устройства (6250 из 4855 "
                        "байт). Незаписанные изменения сохранены.");
  EXPECT_EQ(Status(), why);
  ASSERT_FALSE(dialogs_.warned.isEmpty());
  EXPECT_EQ(dialogs_.warned.last(), why);
  EXPECT_EQ(device().write_sessions(), 0);
  EXPECT_EQ(device().Script(), before);
  EXPECT_EQ(program_->engine.Cell(65), std::string(6250, 'z'));  // still the operator's
}

// A spreadsheet's export: UTF-8 with a byte order mark, ";" between fields
// and a row of column names.
TEST_F(Shipped, ImportTakesASpreadsheetsCsvWithItsColumnNames) {
  StartAndRead();
  ClickNode("Журнал событий");
  const QString csv = folder_.filePath("book.csv");
  ASSERT_TRUE(WriteFile(csv, "\xEF\xBB\xBFИмя;Телефон;Заметка\r\nИванов, Пётр;+7 900 555-12-34;дом, кв. 5\r\n"));
  dialogs_.chosen_file = csv;
  Click(Shown<QPushButton>("Импорт CSV..."));
  EXPECT_EQ(dialogs_.shown.last(),
            U("Первая строка файла похожа на названия столбцов: «Имя», «Телефон», «Заметка». Взять "
              "их как названия столбцов? «Да» - строка не импортируется, «Нет» - импортировать её "
              "как данные."));
  QTableView* grid = Tables().DBGrid(1);
  ASSERT_EQ(grid->model()->rowCount(), 1);
  EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), U("Телефон"));
  EXPECT_EQ(Cell(grid, 0, 0), U("Иванов, Пётр"));
  EXPECT_EQ(Cell(grid, 0, 2), U("дом, кв. 5"));
  EXPECT_EQ(Status(), U("Импорт: добавлено строк 1. Названия столбцов взяты из первой строки."));

  // Cancel at the replace question changes nothing.
  dialogs_.cancel = true;
  Click(Shown<QPushButton>("Импорт CSV..."));
  EXPECT_TRUE(dialogs_.shown.last().startsWith(U("В таблице импорта уже есть строки: 1.")));
  EXPECT_EQ(Status(), U("Импорт отменён: таблица импорта не изменена."));
  grid = Tables().DBGrid(1);
  EXPECT_EQ(grid->model()->rowCount(), 1);
  EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), U("Имя"));
}

TEST_F(Shipped, JournalCountsFiltersImportsAndClearsTheShownTab) {
  StartAndRead();
  ClickNode("Журнал событий");
  QTableView* grid = Tables().DBGrid(1);
  ASSERT_TRUE(grid->isVisible());
  while (grid->model()->canFetchMore(QModelIndex())) grid->model()->fetchMore(QModelIndex());
  const int rows = grid->model()->rowCount();
  EXPECT_GT(rows, 18);  // settings, information and phone reads at least
  EXPECT_EQ(grid->model()->headerData(3, Qt::Horizontal).toString(), U("Ответ"));
  EXPECT_EQ(grid->model()->headerData(4, Qt::Horizontal).toString(), U("Запись"));
  EXPECT_EQ(Cell(grid, 0, 3), U("да"));  // the newest record, a read answer

  // Counting leaves the grid's row where it was.
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualRect(grid->model()->index(2, 0)).center());
  const int before = grid->currentIndex().row();
  Click(Shown<QPushButton>("Подсчитать"));
  ASSERT_FALSE(dialogs_.shown.isEmpty());
  EXPECT_TRUE(dialogs_.shown.last().startsWith(U("Записей в таблице: ")));
  EXPECT_GE(dialogs_.shown.last().mid(19).toInt(), rows);
  EXPECT_EQ(Tables().DBGrid(1)->currentIndex().row(), before);

  // The filter's words are the caption's; the traffic shown stays.
  const QString traffic = form().MemoTerminal()->toPlainText();
  ASSERT_FALSE(traffic.isEmpty());
  ui::StyledComboBox* filter = ComboOffering("СК-1 Адр.-2");
  ASSERT_NE(filter, nullptr);
  filter->combo()->setFocus();
  QTest::keyClick(filter->combo(), Qt::Key_Down);
  EXPECT_EQ(filter->Text(), U("СК-1"));
  EXPECT_EQ(form().LabelFiltr()->text(), U("Фильтр: СК-1"));
  EXPECT_EQ(form().MemoTerminal()->toPlainText(), traffic);

  const QString csv = folder_.filePath("import.csv");
  ASSERT_TRUE(WriteFile(csv, "1,2,3\r\n4,5,6\r\n"));
  dialogs_.chosen_file = csv;
  Click(Shown<QPushButton>("Импорт CSV..."));
  grid = Tables().DBGrid(1);
  ASSERT_EQ(grid->model()->rowCount(), 2);
  EXPECT_EQ(Cell(grid, 1, 2), QStringLiteral("6"));
  EXPECT_EQ(Status(), U("Импорт: добавлено строк 2."));
  // Imported again: "Нет" adds to the earlier rows.
  dialogs_.answer_yes = false;
  Click(Shown<QPushButton>("Импорт CSV..."));
  EXPECT_EQ(dialogs_.shown.last(), U("В таблице импорта уже есть строки: 2. Заменить их? «Нет» - добавить к ним."));
  EXPECT_EQ(Tables().DBGrid(1)->model()->rowCount(), 4);
  dialogs_.answer_yes = true;
  // "Да" replaces them; a line that does not go in is named.
  if (program_->engine.HasWord("BDIMPORTED")) {
    const QString broken = folder_.filePath("broken.csv");
    ASSERT_TRUE(WriteFile(broken, "7,8\r\n\"x,5,6\r\n"));
    dialogs_.chosen_file = broken;
    Click(Shown<QPushButton>("Импорт CSV..."));
    EXPECT_EQ(Status(), U("Импорт: добавлено строк 1 (с недостающими полями: 1); строка 2 файла не импортирована, импорт остановлен на ней."));
    EXPECT_EQ(Tables().DBGrid(1)->model()->rowCount(), 1);
  }
  const int imported = Tables().DBGrid(1)->model()->rowCount();

  // Clear on the import tab empties the import table, not the journal.
  auto* tabs = Tables().TabControl1();
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->CurrentIndex(), 2);  // Импорт
  Click(Shown<QPushButton>("Очистить"));
  EXPECT_EQ(dialogs_.shown.last(), U("Удалить все строки импорта (%1)?").arg(imported));
  EXPECT_EQ(Tables().DBGrid(1)->model()->rowCount(), 0);
  EXPECT_EQ(Status(), U("Удалено записей: %1.").arg(imported));
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->TabRect(0).center());
  grid = Tables().DBGrid(1);
  while (grid->model()->canFetchMore(QModelIndex())) grid->model()->fetchMore(QModelIndex());
  EXPECT_GE(grid->model()->rowCount(), rows);

  // On the journal's tab it empties the journal, and numbering starts again.
  Click(Shown<QPushButton>("Очистить"));
  EXPECT_TRUE(dialogs_.shown.last().startsWith(U("Удалить все записи журнала (")));
  EXPECT_EQ(Tables().DBGrid(1)->model()->rowCount(), 0);
  program_->engine.ExecuteLine("\"AC 00\" JOURNAL_ADD RUN");
  ClickNode("Журнал событий");
  grid = Tables().DBGrid(1);
  ASSERT_GE(grid->model()->rowCount(), 1);
  EXPECT_EQ(Cell(grid, grid->model()->rowCount() - 1, 0), QStringLiteral("1"));
}

TEST_F(Shipped, ProfileCarriesSettingsPhoneBookAndScript) {
  const std::string script = "IN1 ON -> SMS 1;\r\n\xCA\xCE\xCD\xC5\xD6";  // a line break, then КОНЕЦ
  device().SetScript(script);
  device().memory()[sim::DeviceModel::kSettings + 0] = 2;  // Сервис
  StartAndRead();
  ClickNode("Скрипт устройства");  // its memo stays behind the profile page

  ClickNode("Профили настроек");
  // A settings file that is no profile changes nothing; a missing one says so.
  const QString other = folder_.filePath("other.ini");
  ASSERT_TRUE(WriteFile(other, "[Программа]\r\nLastProfile=x\r\n"));
  dialogs_.chosen_file = other;
  Click(Shown<QPushButton>("Загрузить профиль..."));
  ASSERT_FALSE(dialogs_.warned.isEmpty());
  EXPECT_EQ(dialogs_.warned.last(), U("В файле нет настроек устройства: это не профиль."));
  dialogs_.chosen_file = folder_.filePath("missing.ini");
  Click(Shown<QPushButton>("Загрузить профиль..."));
  EXPECT_EQ(dialogs_.warned.last(), U("Не удалось прочитать файл: ") + dialogs_.chosen_file);
  EXPECT_EQ(program_->engine.Cell(0), "2");
  EXPECT_EQ(ValueBeside("Последний профиль:"), U("нет"));

  const QString profile = folder_.filePath("profile.ini");
  dialogs_.chosen_file = profile;
  Click(Shown<QPushButton>("Сохранить профиль..."));
  EXPECT_EQ(Status(), U("Профиль сохранён: ") + profile);
  EXPECT_EQ(program_->engine.Cell(65), script);  // saving changes nothing on the pages
  // A file that cannot be written is reported, right after a good save too.
  const QString nowhere = folder_.filePath("missing/profile.ini");
  dialogs_.chosen_file = nowhere;
  Click(Shown<QPushButton>("Сохранить профиль..."));
  EXPECT_EQ(dialogs_.warned.last(), U("Не удалось записать профиль в файл: ") + nowhere + U(". Файл не создан."));
  dialogs_.chosen_file = profile;
  EXPECT_EQ(ValueBeside("Последний профиль:"), profile);
  QFile saved(profile);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const QByteArray text = saved.readAll();
  EXPECT_TRUE(text.contains("Phone1=79001234567\r\n")) << text.toStdString();
  if (program_->engine.HasWord(">UTF8")) {
    EXPECT_TRUE(text.contains(QStringLiteral("Режим работы=Сервис").toUtf8())) << text.toStdString();
  }

  // Edited after saving: the mode, the book and the script.
  ClickNode("Настройки GSM");
  ui::StyledComboBox* mode = ComboOffering("Охрана");
  ASSERT_NE(mode, nullptr);
  mode->combo()->setFocus();
  QTest::keyClick(mode->combo(), Qt::Key_Up);
  EXPECT_EQ(program_->engine.Cell(0), "1");
  ClickNode("Телефонная книга");
  QTest::mouseClick(PhoneGrid()->viewport(), Qt::LeftButton, {},
                    PhoneGrid()->visualRect(PhoneGrid()->model()->index(0, 0)).center());
  Click(Shown<QPushButton>("Удалить"));
  ASSERT_EQ(PhoneGrid()->model()->rowCount(), 1);
  ClickNode("Скрипт устройства");
  QTest::keyClicks(form().pool().Memo1(), "X");
  EXPECT_EQ(Status(), U("Есть изменения, не записанные в устройство: настройки, телефонная книга, скрипт устройства."));

  ClickNode("Профили настроек");
  Click(Shown<QPushButton>("Загрузить профиль..."));
  EXPECT_EQ(Status(), U("Профиль загружен: ") + profile + U(". Он не отличается от устройства."));
  EXPECT_EQ(program_->engine.Cell(0), "2");
  EXPECT_EQ(program_->engine.Cell(65), script);
  ClickNode("Телефонная книга");
  ASSERT_EQ(PhoneGrid()->model()->rowCount(), 2);
  EXPECT_EQ(Cell(PhoneGrid(), 0, 1), U("79001234567"));

  // A profile of the earlier pages: settings and script in section Настройки.
  const QString old = folder_.filePath("old.ini");
  ASSERT_TRUE(WriteFile(old, QByteArray("[\xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8]\r\nS0=1\r\nS1=2\r\nScript=OLD;\r\n")));
  dialogs_.chosen_file = old;
  ClickNode("Профили настроек");
  Click(Shown<QPushButton>("Загрузить профиль..."));
  EXPECT_EQ(program_->engine.Cell(0), "1");
  EXPECT_EQ(program_->engine.Cell(1), "2");
  EXPECT_EQ(program_->engine.Cell(65), "OLD;");
  EXPECT_EQ(Status(), U("Профиль загружен: ") + old +
                          U(". Изменения записываются кнопкой «Запись в устройство»."));

  // The profile loads when zelt.ini cannot take its name, and the status says so.
  ASSERT_TRUE(QFile::remove(folder_.filePath("zelt.ini")));
  ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("zelt.ini")));
  dialogs_.chosen_file = profile;
  Click(Shown<QPushButton>("Загрузить профиль..."));
  EXPECT_EQ(program_->engine.Cell(0), "2");
  EXPECT_EQ(Status(), U("Профиль загружен: ") + profile +
                          U("; последний профиль не запомнен: не удалось записать zelt.ini. "
                            "Он не отличается от устройства."));
}

}  // namespace
