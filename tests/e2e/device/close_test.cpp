// Closing the window while a device write is unfinished asks first; closing
// at any other time does not. The real program over a pseudo-terminal.
#include <gtest/gtest.h>

#include <QApplication>

#include "dialogs.h"
#include "link_registry.h"
#include "program_fixture.h"

namespace {

using device_e2e::FastDevice;
using device_e2e::Program;

const char kQuestion[] = "Запись в устройство не завершена. Закрыть?";

class Answers : public ui::Dialogs {
 public:
  void Message(const QString& text) override { asked << text; }
  bool MessageDlg(const QString& text) override {
    asked << text;
    return yes;
  }
  QString OpenDialog(const QString&) override { return {}; }
  QString SaveDialog(const QString&) override { return {}; }
  QString ChooseFolder(const QString&) override { return {}; }

  bool yes = false;
  QStringList asked;
};

class CloseDuringWrite : public ::testing::Test, protected device_e2e::DeviceSession {
 protected:
  void SetUp() override {
    // A closed window must not end the event loops the tests still run.
    qApp->setQuitOnLastWindowClosed(false);
    ASSERT_TRUE(StartDevice(FastDevice()));
    program->form.SetDialogs(&answers);
    ASSERT_TRUE(Connect());
    program->form.show();
  }
  void TearDown() override {
    program->form.SetDialogs(nullptr);
    StopDevice();
  }
  bool QueueEmpty() {
    return device_e2e::WaitFor(
        [&] { return program->device->links().InSlot(1) && program->device->links().InSlot(1)->SendQueue().empty(); }, 5000);
  }

  Answers answers;
};

TEST_F(CloseDuringWrite, QueuedRecordsAskAndNoKeepsTheWindowOpen) {
  program->engine.ExecuteLine(
      "\"02 02 B0 \" 1 SENDCK \"05 02 6F 00 14 07 \" 1 SENDCK \"02 02 B1 \" 1 SENDCK");
  EXPECT_FALSE(program->form.close());
  ASSERT_EQ(answers.asked.join(" | ").toStdString(), kQuestion);
  EXPECT_TRUE(program->form.isVisible());
  // The write goes on to its end; then the window closes without a word.
  ASSERT_TRUE(QueueEmpty());
  ASSERT_TRUE(device_e2e::WaitFor([&] { return simulator->model().write_sessions() == 1; }, 5000));
  EXPECT_TRUE(program->form.close());
  EXPECT_EQ(answers.asked.size(), 1);
}

TEST_F(CloseDuringWrite, AnOpenWriteSessionAsksAndYesCloses) {
  program->engine.ExecuteLine("\"02 02 B0 \" 1 SENDCK \"05 02 6F 00 14 07 \" 1 SENDCK");
  ASSERT_TRUE(QueueEmpty());
  // Nothing is queued, but the device's write session is still open.
  answers.yes = true;
  EXPECT_TRUE(program->form.close());
  EXPECT_EQ(answers.asked.join(" | ").toStdString(), kQuestion);
  EXPECT_FALSE(program->form.isVisible());
}

TEST_F(CloseDuringWrite, ClosingAtAnyOtherTimeAsksNothing) {
  // Reads leave nothing unfinished once they are sent.
  program->engine.ExecuteLine("\"03 02 AD 03 \" 1 SENDCK");
  ASSERT_TRUE(QueueEmpty());
  EXPECT_TRUE(program->form.close());
  EXPECT_TRUE(answers.asked.isEmpty());
}

}  // namespace
