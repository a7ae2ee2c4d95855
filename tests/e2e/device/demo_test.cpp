// What a newcomer sees with `zelt --demo`: the shipped Setup.KVS against the
// simulated device. "Чтение из устройства" reads settings, information
// blocks, phone book and script, and the traffic memos fill.
#include <gtest/gtest.h>

#include <QDir>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "program_fixture.h"

namespace {

using device_e2e::FastDevice;
using device_e2e::Program;
using device_e2e::WaitFor;

TEST(Demo, ShippedScriptReadsTheSimulatedDevice) {
  QTemporaryDir folder;  // the working folder: Tables.db and the like go here
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(folder.path()));
  {
    sim::DeviceSimulator simulator(FastDevice(folder.filePath("port")));
    ASSERT_TRUE(simulator.Start(nullptr));
    Program program({simulator.PortPath()}, ZELT_SHIPPED_SCRIPT);
    ASSERT_TRUE(program.events->StartUp({}));
    ASSERT_TRUE(WaitFor([&] { return program.Connected(); }, 5000));
    EXPECT_GT(program.form.TreeView()->topLevelItemCount(), 0);

    // The shipped pages read the device as soon as it answers.
    ASSERT_TRUE(WaitFor([&] {
      return program.form.StatusText() == QString::fromUtf8("Чтение из устройства завершено.");
    }, 60000));
    EXPECT_FALSE(program.form.MemoTerminal()->toPlainText().isEmpty());
    EXPECT_FALSE(program.form.MemoTerminalOut()->toPlainText().isEmpty());
    // The settings and the script came from the device's memory.
    EXPECT_EQ(program.engine.Cell(7), "3");    // dialling attempts
    EXPECT_EQ(program.engine.Cell(8), "24");   // test call period
    EXPECT_EQ(program.Pushed("RSCRIPT"), simulator.model().Script());
    EXPECT_EQ(program.engine.Cell(65), simulator.model().Script());  // what the script page shows
    EXPECT_NE(program.engine.Cell(140).find("AC 00 15 5A 45 4C 54"), std::string::npos);  // "ZELT"
  }
  QDir::setCurrent(previous);
}

// Where there are no pseudo-terminals the demo's device sits behind a memory
// line; the same read goes through it with noise on the line.
TEST(Demo, TheMemoryLineCarriesTheReadThroughNoise) {
  QTemporaryDir folder;
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(folder.path()));
  {
    sim::SimulatorOptions options = FastDevice(QStringLiteral("DEMO-TEST"));
    options.line_kind = sim::LineKind::kMemory;
    options.noise_rate = 0.05;
    sim::DeviceSimulator simulator(options);
    ASSERT_TRUE(simulator.Start(nullptr));
    Program program({simulator.PortPath()}, ZELT_SHIPPED_SCRIPT);
    ASSERT_TRUE(program.events->StartUp({}));
    ASSERT_TRUE(WaitFor([&] { return program.Connected(); }, 5000));
    // The read on connect. A click here would come before the connect hook's
    // turn, and the hook would read the device again once that read ended.
    ASSERT_TRUE(WaitFor([&] {
      return program.form.StatusText() == QString::fromUtf8("Чтение из устройства завершено.");
    }, 60000));
    EXPECT_EQ(program.Pushed("RSCRIPT"), simulator.model().Script());
    EXPECT_GT(simulator.device().stats().data_resends + simulator.device().stats().poll_repeats, 0);
  }
  QDir::setCurrent(previous);
}

}  // namespace
