// The definitions the program runs by name beyond START and friends:
// ONCONNECT once per link whose device answers, CLOSEQUERY before the window
// closes.
#include <gtest/gtest.h>

#include <QFile>

#include "program_fixture.h"

namespace {

using device_e2e::FastDevice;
using device_e2e::Program;
using device_e2e::WaitFor;

// A Setup.KVS of the given definitions (name, body), CR LF as the program reads.
void WriteScript(const QString& path, const std::vector<std::pair<std::string, std::string>>& definitions) {
  std::string text;
  for (const auto& [name, body] : definitions) text += ":" + name + "\r\n " + body + "\r\n;\r\n";
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text.data(), static_cast<qint64>(text.size()));
}

class Hooks : public ::testing::Test {
 protected:
  void StartProgram(const std::vector<std::pair<std::string, std::string>>& definitions,
                    const QStringList& ports) {
    program = std::make_unique<Program>(ports);
    WriteScript(program->dir.filePath("Setup.KVS"), definitions);
    program->device->timer_com().setInterval(300);  // a quicker TimerCOM
    program->events->StartUp({});
  }
  QTemporaryDir folder;
  std::unique_ptr<Program> program;
};

TEST_F(Hooks, OnConnectRunsWhenTheDeviceAnswersAfterNoAnswer) {
  sim::DeviceSimulator simulator(FastDevice(folder.filePath("device")));
  simulator.device().SetSilent(true);
  ASSERT_TRUE(simulator.Start(nullptr));
  StartProgram({{"ONCONNECT", "DONE"}}, {folder.filePath("device")});
  QTest::qWait(300);
  EXPECT_EQ(program->done, 0);  // START ran; nobody has answered yet

  simulator.device().SetSilent(false);
  ASSERT_TRUE(WaitFor([&] { return program->done == 1; }, 5000));
  QTest::qWait(500);
  EXPECT_EQ(program->done, 1);  // every further frame keeps the connection

  // Silent long enough for the label to give up: the next answer, on this
  // link or on the one the supervision opens, runs ONCONNECT again.
  simulator.device().SetSilent(true);
  ASSERT_TRUE(WaitFor([&] { return !program->Connected(); }, 8000));
  simulator.device().SetSilent(false);
  ASSERT_TRUE(WaitFor([&] { return program->done == 2; }, 8000))
      << program->done << " " << program->Connected() << " " << program->form.LabelStatCon()->text().toStdString();
}

TEST_F(Hooks, OnConnectWaitsForARunningDeviceWait) {
  sim::DeviceSimulator simulator(FastDevice(folder.filePath("device")));
  simulator.device().SetSilent(true);
  ASSERT_TRUE(simulator.Start(nullptr));
  StartProgram({{"ONCONNECT", "DONE"}}, {folder.filePath("device")});
  program->engine.ExecuteLine("60000 WAITREAD");  // never ends by itself
  simulator.device().SetSilent(false);
  ASSERT_TRUE(WaitFor([&] { return program->Connected(); }, 5000));
  QTest::qWait(400);
  EXPECT_EQ(program->done, 0);
  program->engine.ExecuteLine("0 WAITREAD");
  ASSERT_TRUE(WaitFor([&] { return program->done == 1; }, 2000));
}

TEST_F(Hooks, CloseQueryKeepsTheWindowOpenOnlyOnItsOwnZero) {
  StartProgram({{"CLOSEQUERY", "7 %"}}, {});
  program->form.show();
  program->engine.ExecuteLine("0 7 !");
  program->form.close();  // the line left "0"
  EXPECT_TRUE(program->form.isVisible());
  EXPECT_EQ(program->engine.Depth(), 0);

  program->engine.ExecuteLine("255 7 !");
  program->form.close();
  EXPECT_FALSE(program->form.isVisible());
  EXPECT_EQ(program->engine.Depth(), 0);
}

TEST_F(Hooks, AZeroLeftByAnEarlierLineDoesNotHoldTheWindow) {
  StartProgram({{"CLOSEQUERY", "NIL"}}, {});
  program->form.show();
  program->engine.ExecuteLine("0");
  program->form.close();
  EXPECT_FALSE(program->form.isVisible());
  EXPECT_EQ(program->engine.Depth(), 1);
}

TEST_F(Hooks, WithoutCloseQueryTheWindowClosesAsBefore) {
  StartProgram({{"START", "NIL"}}, {});
  program->form.show();
  program->engine.ExecuteLine("0");
  program->form.close();
  EXPECT_FALSE(program->form.isVisible());
}

}  // namespace
