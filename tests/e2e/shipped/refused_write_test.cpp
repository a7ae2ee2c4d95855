// Writes through the pages against a device that refuses a share of the
// commands: whatever the pages show as written is what the device holds, and
// everything else is reported as failed and stays an unsaved change.
#include <QRegularExpression>
#include <tuple>
#include <utility>

#include "rs.h"
#include "shipped_fixture.h"

namespace {

using shipped_e2e::Shipped;
using shipped_e2e::U;

constexpr int kSettings = sim::DeviceModel::kSettings;
constexpr int kPhones = sim::DeviceModel::kPhones;

// Pages with a change of each part, made through the controls.
class ChangedParts : public Shipped {
 protected:
  void ChangePowerPhoneAndScript(const char* phone, const char* script) {
    ClickNode("Настройки GSM");
    QCheckBox* power = Shown<QCheckBox>("Контроль питания");
    ASSERT_NE(power, nullptr);
    QTest::mouseClick(power, Qt::LeftButton, {}, {8, power->height() / 2});
    ClickNode("Телефонная книга");
    QTest::keyClicks(NumberField(), phone);
    Click(Shown<QPushButton>("Добавить"));
    ClickNode("Скрипт устройства");
    form().pool().Memo1()->selectAll();
    QTest::keyClicks(form().pool().Memo1(), script);
  }
};

class RefusedWrite : public ChangedParts,
                     public ::testing::WithParamInterface<std::tuple<double, quint32>> {
 protected:
  RefusedWrite() { seed_ = std::get<1>(GetParam()); }

  bool Pending(const std::string& dirty_definition) {
    return program_->Pushed(dirty_definition + " RUN") != "0";
  }
  std::string DevicePhone(int k) {
    const int address = kPhones + 9 * (k - 1);
    std::string digits;
    for (int j = 1; j <= 8; ++j) {
      const uint8_t b = device().memory()[address + j];
      for (uint8_t nibble : {uint8_t(b & 15), uint8_t(b >> 4)}) {
        if (nibble != 15) digits += char('0' + nibble);
      }
    }
    return digits;
  }
};

TEST_P(RefusedWrite, TheDeviceHoldsWhatThePagesCallWritten) {
  StartAndRead();
  // One change of each part, through the controls.
  ClickNode("Настройки GSM");
  ui::StyledComboBox* mode = ComboOffering("Охрана");
  ASSERT_NE(mode, nullptr);
  mode->combo()->setFocus();
  QTest::keyClick(mode->combo(), Qt::Key_Down);
  ui::StyledComboBox* attempts = ComboOffering("10");
  attempts->combo()->lineEdit()->selectAll();
  QTest::keyClicks(attempts->combo()->lineEdit(), "7");
  ASSERT_NO_FATAL_FAILURE(ChangePowerPhoneAndScript("89035550101", "IN2 ON -> CALL 1;"));
  ASSERT_TRUE(Pending("DIRTY_SET") && Pending("DIRTY_PHONES") && Pending("DIRTY_SCRIPT"));

  simulator_->SetRefuseRate(std::get<0>(GetParam()));
  form().Button17()->click();
  ASSERT_TRUE(WaitTransferDone(100000)) << Status().toStdString();
  simulator_->SetRefuseRate(0);
  const QString status = Status();
  const bool written = status.startsWith(U("Записано и проверено: "));
  if (!written) {
    EXPECT_TRUE(status.startsWith(U("Запись не удалась: "))) << status.toStdString();
    ASSERT_FALSE(dialogs_.warned.isEmpty());
    EXPECT_EQ(dialogs_.warned.last(), status);
    EXPECT_TRUE(Pending("ANY_DIRTY")) << status.toStdString();
  }
  // A part the report names as failed stays an unsaved change, even when it
  // reads back right (a refused close of the write session).
  const std::pair<const char*, const char*> parts[] = {
      {"настройки: ", "DIRTY_SET"}, {"телефонная книга: ", "DIRTY_PHONES"}, {"скрипт: ", "DIRTY_SCRIPT"}};
  for (const auto& [name, dirty] : parts) {
    if (status.contains(U(name))) {
      EXPECT_TRUE(Pending(dirty)) << name << status.toStdString();
    }
  }
  RecordProperty("refused", simulator_->refused());
  RecordProperty("outcome", status.toStdString());

  // Settings: every byte not pending is the device's; a listed address differs.
  for (int k = 0; k < 64; ++k) {
    const std::string shown = program_->engine.Cell(k);
    if (shown == program_->engine.saved_cells()[k]) {
      EXPECT_EQ(shown, std::to_string(device().memory()[kSettings + k])) << k << " " << status.toStdString();
    }
  }
  const QRegularExpression address(QStringLiteral("(14[0-3][0-9A-F])h"));
  for (auto match = address.globalMatch(status); match.hasNext();) {
    const int a = match.next().captured(1).toInt(nullptr, 16);
    EXPECT_NE(program_->engine.Cell(a - 0x1400), std::to_string(device().memory()[a])) << a;
  }

  // Phone book: when not pending, the device's records are the grid's rows.
  if (!Pending("DIRTY_PHONES")) {
    ClickNode("Телефонная книга");
    QTableView* grid = PhoneGrid();
    ASSERT_TRUE(grid->isVisible());
    const int rows = grid->model()->rowCount();
    ASSERT_EQ(rows, 3);
    for (int k = 1; k <= 10; ++k) {
      if (k <= rows) {
        EXPECT_EQ(device().memory()[kPhones + 9 * (k - 1)], 1) << k;
        EXPECT_EQ(QString::fromStdString(DevicePhone(k)), Cell(grid, k - 1, 1)) << k;
      } else {
        EXPECT_EQ(device().memory()[kPhones + 9 * (k - 1)], 0) << k;
      }
    }
  } else {
    EXPECT_FALSE(written);
    EXPECT_TRUE(status.contains(U("телефонная книга"))) << status.toStdString();
  }

  // Script: when not pending, the device holds it.
  if (!Pending("DIRTY_SCRIPT")) {
    EXPECT_EQ(device().Script(), program_->engine.Cell(65));
  } else {
    EXPECT_FALSE(written);
    EXPECT_TRUE(status.contains(U("скрипт"))) << status.toStdString();
  }
  if (written) {
    EXPECT_EQ(device().Script(), "IN2 ON -> CALL 1;");
  }
}

// Reads ask again for what the device refused: at a refusal rate of 0.3 the
// read on connect still completes, and the pages hold the device's values.
class RefusedRead : public Shipped, public ::testing::WithParamInterface<quint32> {
 protected:
  RefusedRead() { seed_ = GetParam(); }
};

TEST_P(RefusedRead, TheReadOnConnectCompletes) {
  simulator_->SetRefuseRate(0.3);
  device().SetScript("IN1 ON -> SMS 1;");
  ASSERT_NO_FATAL_FAILURE(StartAndRead());
  EXPECT_GT(simulator_->refused(), 0);
  for (int k = 0; k < 64; ++k) {
    EXPECT_EQ(program_->engine.Cell(k), std::to_string(device().memory()[kSettings + k])) << k;
  }
  EXPECT_EQ(program_->engine.Cell(65), "IN1 ON -> SMS 1;");
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusedRead, ::testing::Values(1u, 7u, 20261207u));

// The device takes every byte but refuses to close the write session: what
// reads back right is still not called written, and a second write mends it.
TEST_F(ChangedParts, ARefusedCloseLeavesEveryPartPending) {
  StartAndRead();
  ASSERT_NO_FATAL_FAILURE(ChangePowerPhoneAndScript("5550001", "IN1 ON -> SMS 1;"));

  simulator_->SetRefusedCode(0xB1);
  form().Button17()->click();
  ASSERT_TRUE(WaitTransferDone(100000)) << Status().toStdString();
  EXPECT_TRUE(Status().startsWith(U("Запись не удалась: настройки: "))) << Status().toStdString();
  ClickNode("ZELT-2 GSM");
  for (const char* part : {"Настройки:", "Телефонная книга:", "Скрипт устройства:"}) {
    EXPECT_EQ(ValueBeside(part), U("есть изменения, не записанные в устройство")) << part;
  }

  simulator_->SetRefusedCode(-1);
  form().Button17()->click();
  ASSERT_TRUE(WaitTransferDone(100000)) << Status().toStdString();
  EXPECT_TRUE(Status().startsWith(U("Записано и проверено: "))) << Status().toStdString();
  for (const char* part : {"Настройки:", "Телефонная книга:", "Скрипт устройства:"}) {
    EXPECT_EQ(ValueBeside(part), U("как в устройстве")) << part;
  }
}

// The device is pulled out mid-write (the simulator killed) and comes back (a
// new one on the same port): the cut-off write says so and stays unsaved,
// nothing of it reaches the device that came back, and the next write is
// reported once.
TEST_F(ChangedParts, AWriteCutOffByAnUnplugNeverGoesOnLater) {
  StartAndRead();
  program_->device->timer_com().setInterval(300);  // TimerCOM's 3 s, shortened
  ASSERT_NO_FATAL_FAILURE(ChangePowerPhoneAndScript("5550001", "x"));
  const QString script(1500, QLatin1Char('w'));  // some ten seconds of block writes
  form().pool().Memo1()->setPlainText(script);

  form().Button17()->click();
  ASSERT_TRUE(WaitStatus("Запись скрипта...", 20000)) << Status().toStdString();
  QTest::qWait(500);
  simulator_.reset();
  const QString cut = U("Запись прервана: связь прервана во время записи");
  ASSERT_TRUE(device_e2e::WaitFor([&] { return Status().startsWith(cut); }, 15000))
      << Status().toStdString();
  EXPECT_TRUE(Status().contains(U(", не записано "))) << Status().toStdString();
  EXPECT_TRUE(Status().endsWith(U("; записано и проверено: настройки, телефонная книга. "
                                  "Незаписанные изменения сохранены.")))
      << Status().toStdString();
  EXPECT_TRUE(form().MemoEV()->toPlainText().contains(cut));
  EXPECT_TRUE(Idle());
  EXPECT_EQ(program_->Pushed("DIRTY_SCRIPT RUN"), "255");

  ASSERT_TRUE(WaitStatus("Не найдено портов!", 15000)) << Status().toStdString();
  simulator_ = std::make_unique<sim::DeviceSimulator>(device_e2e::FastDevice(folder_.filePath("port")));
  ASSERT_TRUE(simulator_->Start(nullptr));
  dialogs_.answer_yes = false;  // not read: the changes stay
  ASSERT_TRUE(WaitStatus("Устройство на связи; изменения не записаны.", 15000))
      << Status().toStdString();
  QTest::qWait(1500);
  EXPECT_TRUE(Idle());
  EXPECT_EQ(device().write_sessions(), 0);

  form().Button17()->click();
  ASSERT_TRUE(WaitTransferDone()) << Status().toStdString();
  EXPECT_EQ(Status(), U("Записано и проверено: скрипт."));
  EXPECT_EQ(QString::fromLatin1(device().Script()), script);
}

// Esc mid-write ends the transfer at once: what had not gone stays unsaved,
// the device's write session is closed, and the next write goes through.
TEST_F(ChangedParts, AWriteCancelledWithEscEndsCleanlyAndStaysUnsaved) {
  StartAndRead();
  ASSERT_NO_FATAL_FAILURE(ChangePowerPhoneAndScript("5550001", "x"));
  const QString script(1500, QLatin1Char('w'));
  form().pool().Memo1()->setPlainText(script);
  form().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));

  form().Button17()->click();
  ASSERT_TRUE(WaitStatus("Запись скрипта...", 20000)) << Status().toStdString();
  QPushButton* cancel = program_->events->progress().CancelButton();
  ASSERT_TRUE(device_e2e::WaitFor([&] { return cancel->isVisible(); }, 2000));
  QTest::qWait(500);
  QTest::keyClick(form().windowHandle(), Qt::Key_Escape);
  const QString status = Status();
  EXPECT_TRUE(status.startsWith(U("Запись отменена, не записано "))) << status.toStdString();
  EXPECT_TRUE(status.endsWith(U("; записано и проверено: настройки, телефонная книга. "
                                "Незаписанные изменения сохранены.")))
      << status.toStdString();
  EXPECT_TRUE(form().MemoEV()->toPlainText().contains(U("Запись отменена")));
  EXPECT_TRUE(Idle());
  EXPECT_EQ(program_->engine.Cell(250), "0");
  EXPECT_EQ(program_->Pushed("DIRTY_SCRIPT RUN"), "255");
  zlink::RSThread* link = links().InSlot(1);
  ASSERT_TRUE(device_e2e::WaitFor(
      [&] { return link->SendQueue().empty() && !link->WriteSessionOpen(); }, 5000));
  QTest::qWait(300);
  EXPECT_FALSE(cancel->isVisible());

  form().Button17()->click();
  ASSERT_TRUE(WaitTransferDone()) << Status().toStdString();
  EXPECT_EQ(Status(), U("Записано и проверено: скрипт."));
  EXPECT_EQ(QString::fromLatin1(device().Script()), script);
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusedWrite,
                         ::testing::Combine(::testing::Values(0.3, 0.6),
                                            ::testing::Values(1u, 7u, 20261207u)),
                         [](const auto& info) {
                           return "Rate" + std::to_string(int(std::get<0>(info.param) * 10)) +
                                  "Seed" + std::to_string(std::get<1>(info.param));
                         });

}  // namespace
