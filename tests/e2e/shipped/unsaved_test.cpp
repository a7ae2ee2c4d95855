// Unsaved changes: one notion for settings, phone book and script; nothing is
// dropped by a read or by closing the window without the operator's "Да";
// the device is read as soon as it answers and nothing is written before.
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <iostream>
#include <random>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "shipped_fixture.h"

namespace {

using shipped_e2e::Shipped;
using shipped_e2e::U;

constexpr int kSettings = sim::DeviceModel::kSettings;

// The band box on the GSM page moved one item down.
void ChangeBand(ui::StyledComboBox* band) {
  ASSERT_NE(band, nullptr);
  band->combo()->setFocus();
  QTest::keyClick(band->combo(), Qt::Key_Down);
}

TEST_F(Shipped, AnEditSurvivesACancelledReadAndGoesOnlyAfterYes) {
  StartAndRead();
  ClickNode("Настройки GSM");
  ui::StyledComboBox* band = ComboOffering("GSM 1800");
  ASSERT_NO_FATAL_FAILURE(ChangeBand(band));
  const std::string edited = program_->engine.Cell(1);
  ASSERT_NE(edited, std::to_string(device().memory()[kSettings + 1]));

  dialogs_.answer_yes = false;
  form().Button16()->click();
  ASSERT_FALSE(dialogs_.shown.isEmpty());
  EXPECT_EQ(dialogs_.shown.last(),
            U("Есть изменения, не записанные в устройство (настройки). Прочитать устройство и потерять их?"));
  EXPECT_EQ(Status(), U("Чтение отменено: изменения не тронуты."));
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(program_->engine.Cell(1), edited);
  EXPECT_EQ(ComboOffering("GSM 1800")->ItemIndex(), std::stoi(edited));

  dialogs_.answer_yes = true;
  form().Button16()->click();
  ASSERT_TRUE(WaitTransferDone());
  EXPECT_EQ(Status(), U("Чтение из устройства завершено."));
  EXPECT_EQ(program_->engine.Cell(1), std::to_string(device().memory()[kSettings + 1]));
  EXPECT_EQ(ComboOffering("GSM 1800")->ItemIndex(), device().memory()[kSettings + 1]);
}

TEST_F(Shipped, ClosingAsksWhileChangesAreUnsaved) {
  StartAndRead();
  form().close();  // nothing unsaved: no question
  EXPECT_FALSE(form().isVisible());
  EXPECT_TRUE(dialogs_.shown.isEmpty());
  form().show();

  ClickNode("Телефонная книга");
  QTest::keyClicks(NumberField(), "5550001");
  Click(Shown<QPushButton>("Добавить"));
  dialogs_.answer_yes = false;
  form().close();
  EXPECT_TRUE(form().isVisible());
  ASSERT_FALSE(dialogs_.shown.isEmpty());
  EXPECT_EQ(dialogs_.shown.last(),
            U("Есть изменения, не записанные в устройство (телефонная книга). Закрыть программу и потерять их?"));
  EXPECT_EQ(program_->engine.Depth(), 0) << program_->engine.StackValue(1);  // the answer was taken off

  dialogs_.answer_yes = true;
  form().close();
  EXPECT_FALSE(form().isVisible());
}

TEST_F(Shipped, ThePhoneBookCountsForTheStatusBarAndTheToolBarWrite) {
  StartAndRead();
  ClickNode("Телефонная книга");
  QTest::keyClicks(NumberField(), "5550001");
  Click(Shown<QPushButton>("Добавить"));
  EXPECT_EQ(Status(), U("Есть изменения, не записанные в устройство: телефонная книга."));
  ClickNode("ZELT-2 GSM");
  EXPECT_EQ(ValueBeside("Телефонная книга:"), U("есть изменения, не записанные в устройство"));
  EXPECT_EQ(ValueBeside("Настройки:"), U("как в устройстве"));

  form().Button17()->click();
  ASSERT_TRUE(WaitTransferDone());
  EXPECT_EQ(Status(), U("Записано и проверено: телефонная книга."));
  EXPECT_EQ(device().memory()[sim::DeviceModel::kPhones + 18], 1);
  EXPECT_EQ(ValueBeside("Телефонная книга:"), U("как в устройстве"));
  form().Button17()->click();
  EXPECT_EQ(Status(), U("Изменений нет: записывать нечего."));
}

// A device that stops answering mid-read: within the link's time-out and the
// port supervision's next look the read ends, and the event memo says so (the
// status bar then says the program waits for the device).
TEST_F(Shipped, AReadFromADeviceThatFallsSilentEndsWithAMessage) {
  StartAndRead();
  simulator_->device().SetSilent(true);
  form().Button16()->click();
  ASSERT_TRUE(WaitTransferDone(15000)) << Status().toStdString();
  EXPECT_TRUE(form().MemoEV()->toPlainText().contains(U("Чтение прервано: связь прервана во время чтения")));
  simulator_->device().SetSilent(false);
}

TEST_F(Shipped, ReadsAsSoonAsTheDeviceAnswersAndWritesNothingBefore) {
  simulator_->device().SetSilent(true);
  ASSERT_NO_FATAL_FAILURE(Launch());
  EXPECT_EQ(ValueBeside("Настройки:"), U("не прочитано из устройства"));
  ClickNode("Настройки GSM");
  EXPECT_EQ(LabelStarting("Устройство ещё не прочитано"),
            U("Устройство ещё не прочитано: оно читается, как только ответит."));
  EXPECT_EQ(ComboOffering("Охрана"), nullptr);  // no values that are not the device's
  ClickNode("Телефонная книга");
  EXPECT_FALSE(PhoneGrid()->isVisible());
  // The tool-bar write (the window says there is no device yet), and the
  // pages' own write line, which says why it does nothing.
  form().Button17()->click();
  EXPECT_FALSE(Status().startsWith(U("Записано")));
  program_->engine.ExecuteLine(" `MAINS` RUN ");
  EXPECT_EQ(Status(), U("Запись недоступна: устройство ещё не прочитано."));

  auto before = device().memory();
  simulator_->device().SetSilent(false);
  ASSERT_TRUE(WaitStatus("Чтение из устройства завершено.", 30000)) << Status().toStdString();
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(device().write_sessions(), 0);
  auto after = device().memory();
  for (auto* memory : {&before, &after}) {  // the live signal level and clock
    std::fill(memory->begin() + 0x1530, memory->begin() + 0x1536, 0);
  }
  EXPECT_EQ(after, before);
  // The page shown was built again with what was read.
  ASSERT_TRUE(PhoneGrid()->isVisible());
  EXPECT_EQ(PhoneGrid()->model()->rowCount(), 2);
  ClickNode("Настройки GSM");
  ui::StyledComboBox* mode = ComboOffering("Охрана");
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->ItemIndex(), device().memory()[kSettings + 0]);
  EXPECT_TRUE(form().MemoEV()->toPlainText().contains(U("Устройство на связи")));
  EXPECT_FALSE(form().MemoEV()->toPlainText().contains(U("Настройки GSM")));  // visits are no events
}

// No port at start-up, so no START: the pages come with the device.
TEST_F(Shipped, APortThatComesLaterBringsThePagesAndTheRead) {
  simulator_->Unplug();
  ASSERT_NO_FATAL_FAILURE(Launch(false));
  EXPECT_EQ(form().TreeView()->topLevelItemCount(), 0);
  ASSERT_TRUE(simulator_->Plug());
  ASSERT_TRUE(WaitStatus("Чтение из устройства завершено.", 30000)) << Status().toStdString();
  EXPECT_EQ(form().TreeView()->topLevelItemCount(), 1);
  ClickNode("Телефонная книга");
  EXPECT_EQ(PhoneGrid()->model()->rowCount(), 2);
}

}  // namespace

namespace {

using shipped_e2e::Shipped;
using shipped_e2e::U;

TEST_F(Shipped, UndoStopsAtTheScriptAsReadAndAnEmptyScriptIsWrittenOnlyAfterYes) {
  StartAndRead();
  const std::string script = device().Script();
  ASSERT_FALSE(script.empty());
  ClickNode("Скрипт устройства");
  QPlainTextEdit* memo = form().pool().Memo1();
  const QString as_read = memo->toPlainText();
  memo->setFocus();
  QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(memo->toPlainText(), as_read);

  QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(memo, Qt::Key_Delete);
  ASSERT_EQ(program_->engine.Cell(65), "");
  const QString question =
      U("Скрипт пуст: запись сотрёт скрипт, который сейчас в устройстве. Записать пустой скрипт?");
  dialogs_.answer_yes = false;
  Click(Shown<QPushButton>("Записать"));
  ASSERT_FALSE(dialogs_.shown.isEmpty());
  EXPECT_EQ(dialogs_.shown.last(), question);
  form().Button17()->click();
  EXPECT_EQ(dialogs_.shown.size(), 2);
  EXPECT_EQ(Status(), U("Запись отменена: скрипт в устройстве не тронут."));
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(device().Script(), script);

  dialogs_.answer_yes = true;
  Click(Shown<QPushButton>("Записать"));
  ASSERT_TRUE(WaitTransferDone());
  EXPECT_EQ(Status(), U("Записано и проверено: скрипт."));
  EXPECT_EQ(device().Script(), "");
}

TEST_F(Shipped, LoadingAFileOrAProfileAsksBeforeReplacingUnsavedEdits) {
  StartAndRead();
  ClickNode("Скрипт устройства");
  QPlainTextEdit* memo = form().pool().Memo1();
  memo->selectAll();
  QTest::keyClicks(memo, "MINE;");
  const QString file = folder_.filePath("other.txt");
  const QString profile = folder_.filePath("p.ini");
  for (const auto& [path, bytes] : {std::pair{file, QByteArray("FROM FILE;")},
                                    std::pair{profile, QByteArray("[Settings]\r\nS0=1\r\n")}}) {
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
  }

  dialogs_.answer_yes = false;
  dialogs_.chosen_file = file;
  Click(Shown<QPushButton>("Из файла..."));
  ASSERT_FALSE(dialogs_.shown.isEmpty());
  EXPECT_EQ(dialogs_.shown.last(),
            U("Скрипт изменён и не записан в устройство. Загрузить скрипт из файла и потерять изменения?"));
  EXPECT_EQ(Status(), U("Загрузка отменена: изменения не тронуты."));
  EXPECT_EQ(form().pool().Memo1()->toPlainText(), U("MINE;"));

  ClickNode("Профили настроек");
  dialogs_.chosen_file = profile;
  Click(Shown<QPushButton>("Загрузить профиль..."));
  EXPECT_EQ(dialogs_.shown.last(),
            U("Есть изменения, не записанные в устройство (скрипт устройства). Загрузить профиль и потерять их?"));
  EXPECT_EQ(program_->engine.Cell(65), "MINE;");

  dialogs_.answer_yes = true;
  Click(Shown<QPushButton>("Загрузить профиль..."));
  EXPECT_EQ(program_->engine.Cell(0), "1");
  EXPECT_TRUE(Status().startsWith(U("Профиль загружен: "))) << Status().toStdString();
}

}  // namespace

namespace {

using shipped_e2e::Shipped;
using shipped_e2e::U;

TEST_F(Shipped, WhileATransferRunsThePageTakesNoEdits) {
  StartAndRead();
  ClickNode("Скрипт устройства");
  QPlainTextEdit* memo = form().pool().Memo1();
  device().SetScript("NEW;");
  Click(Shown<QPushButton>("Прочитать"));
  ASSERT_FALSE(Idle());  // the read is under way
  QTest::keyClicks(memo, "typed");
  EXPECT_FALSE(memo->toPlainText().contains(U("typed")));
  ASSERT_TRUE(WaitTransferDone());
  EXPECT_EQ(memo->toPlainText(), U("NEW;"));
  EXPECT_FALSE(memo->isReadOnly());

  ClickNode("Настройки GSM");
  QCheckBox* power = Shown<QCheckBox>("Контроль питания");
  ASSERT_NE(power, nullptr);
  QTest::mouseClick(power, Qt::LeftButton, {}, {8, power->height() / 2});
  form().Button17()->click();
  ASSERT_FALSE(Idle());
  EXPECT_FALSE(power->isEnabled());
  ASSERT_TRUE(WaitTransferDone());
  EXPECT_EQ(Status(), U("Записано и проверено: настройки."));
  EXPECT_TRUE(Shown<QCheckBox>("Контроль питания")->isEnabled());
}

#ifdef __linux__
// A file no one may write while this lives: root writes any file whatever its
// permissions, so for root it is made immutable.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const QString& path) : path_(path.toStdString()) {
    made_ = geteuid() == 0 ? Immutable(true) : chmod(path_.c_str(), 0444) == 0;
  }
  ~ReadOnlyFile() {
    if (made_ && geteuid() == 0) Immutable(false);
  }
  bool made() const { return made_; }

 private:
  bool Immutable(bool on) {
    const int fd = open(path_.c_str(), O_RDONLY);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
      flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
      done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    return done;
  }
  std::string path_;
  bool made_ = false;
};

// A Tables.db the program cannot use: the device is read without a question
// about changes there are none of, and the pages say why the phone book and
// the journal are out of use.
TEST_F(Shipped, PagesWorkWithoutAUsableTablesDb) {
  const QString path = folder_.filePath("Tables.db");
  for (const char* why : {"Tables.db повреждена", "Tables.db только для чтения"}) {
    SCOPED_TRACE(why);
    QFile::remove(path);
    QFile::remove(path + "-held");
    std::unique_ptr<ReadOnlyFile> read_only;
    if (U(why).endsWith(U("повреждена"))) {
      std::mt19937 random(7);
      QByteArray bytes(16384, 0);
      for (char& byte : bytes) byte = static_cast<char>(random());
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(bytes);
    } else {
      {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "made-before");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(QSqlQuery(db).exec("CREATE TABLE other (a TEXT)"));
        db.close();
      }
      QSqlDatabase::removeDatabase("made-before");
      read_only = std::make_unique<ReadOnlyFile>(path);
      // Root without the right to set the immutable flag (a container) cannot
      // make any file read-only to itself.
      if (!read_only->made()) {
        std::cerr << "skipped: Tables.db could not be made read-only here\n";
        continue;
      }
    }
    ASSERT_NO_FATAL_FAILURE(StartAndRead());
    EXPECT_TRUE(dialogs_.shown.isEmpty()) << dialogs_.shown.join(U(" | ")).toStdString();
    EXPECT_TRUE(form().MemoEV()->toPlainText().contains(U(why)))
        << form().MemoEV()->toPlainText().toStdString();
    ClickNode("Журнал событий");
    EXPECT_TRUE(LabelStarting("Tables.db").startsWith(U(why)));
    ClickNode("Телефонная книга");
    EXPECT_TRUE(LabelStarting("Tables.db").startsWith(U(why)));
    EXPECT_FALSE(PhoneGrid()->isVisible());
    ClickNode("ZELT-2 GSM");
    EXPECT_EQ(ValueBeside("Настройки:"), U("как в устройстве"));
    EXPECT_EQ(program_->engine.Depth(), 0) << program_->engine.StackValue(1);
    program_.reset();
  }
}
#endif

}  // namespace
