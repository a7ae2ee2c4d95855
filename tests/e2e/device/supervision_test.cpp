// Port supervision against the simulated device's lines (pseudo-terminals on
// Unix): moving on from a silent port, clearing the pages when the device's
// line goes, reconnecting.
#include <gtest/gtest.h>

#include <QTreeWidget>

#include "program_fixture.h"

namespace {

using device_e2e::FastDevice;
using device_e2e::SilentLine;
using device_e2e::Program;
using device_e2e::WaitFor;

class Supervision : public ::testing::Test {
 protected:
  // TimerCOM ticks every 3 s in the program; a shorter period keeps the test
  // short without changing what a tick does.
  static constexpr int kTickMs = 300;

  void StartProgram(const QStringList& ports) {
    program = std::make_unique<Program>(ports);
    program->device->timer_com().setInterval(kTickMs);
    started = program->events->StartUp({});
  }
  QString Status() const { return program->form.StatusText(); }

  QTemporaryDir folder;
  std::unique_ptr<Program> program;
  bool started = false;
};

TEST_F(Supervision, MovesFromASilentPortToTheDevice) {
  SilentLine silent(folder.filePath("silent"));  // a port where nothing ever answers
  ASSERT_TRUE(silent->Open());
  sim::DeviceSimulator simulator(FastDevice(folder.filePath("device")));
  ASSERT_TRUE(simulator.Start(nullptr));

  StartProgram({folder.filePath("silent"), folder.filePath("missing"), folder.filePath("device")});
  ASSERT_TRUE(started);
  QComboBox* ports = program->form.ComboBoxCom();
  ASSERT_EQ(ports->count(), 2);  // the missing port is not listed
  EXPECT_EQ(ports->currentText(), folder.filePath("silent"));
  EXPECT_EQ(Status(), QString::fromUtf8("Ожидание ответа оборудования."));
  QTest::qWait(kTickMs / 2);
  EXPECT_FALSE(program->Connected());

  ASSERT_TRUE(WaitFor([&] { return program->Connected(); }, 5000));
  EXPECT_EQ(ports->currentText(), folder.filePath("device"));
  EXPECT_EQ(program->device->supervision().cycle_index(), 1);
  // Connected, the supervision leaves the link alone.
  QTest::qWait(3 * kTickMs);
  EXPECT_EQ(ports->currentIndex(), 1);
  EXPECT_TRUE(program->Connected());

  // The operator's own choice moves the link at once.
  const zlink::RSThread* before = program->device->links().Current();
  ports->setCurrentIndex(0);
  ASSERT_NE(program->device->links().Current(), nullptr);
  EXPECT_NE(program->device->links().Current(), before);
  EXPECT_EQ(program->device->links().Current()->PortName(), folder.filePath("silent"));
  EXPECT_EQ(program->device->links().InSlot(1), program->device->links().Current());
}

TEST_F(Supervision, CyclesThroughPortsWhereNothingAnswers) {
  SilentLine first(folder.filePath("first")), second(folder.filePath("second"));
  ASSERT_TRUE(first->Open());
  ASSERT_TRUE(second->Open());
  StartProgram({folder.filePath("first"), folder.filePath("second")});
  std::vector<QString> opened{program->device->links().Current()->PortName()};
  std::vector<int> indexes{program->device->supervision().cycle_index()};
  while (opened.size() < 4 && WaitFor([&] { return program->device->links().Current() &&
                                                    program->device->links().Current()->PortName() != opened.back(); },
                                      3 * kTickMs)) {
    opened.push_back(program->device->links().Current()->PortName());
    indexes.push_back(program->device->supervision().cycle_index());
  }
  EXPECT_EQ(opened, (std::vector<QString>{folder.filePath("first"), folder.filePath("second"),
                                          folder.filePath("first"), folder.filePath("second")}));
  EXPECT_EQ(indexes, (std::vector<int>{0, 1, 0, 1}));
  EXPECT_EQ(program->form.ComboBoxCom()->currentIndex(), 1);
}

TEST_F(Supervision, ClearsThePagesWhenTheLineGoesAndReconnects) {
  sim::DeviceSimulator simulator(FastDevice(folder.filePath("device")));
  ASSERT_TRUE(simulator.Start(nullptr));
  StartProgram({folder.filePath("device")});
  ASSERT_TRUE(WaitFor([&] { return program->Connected(); }, 5000));

  program->engine.ExecuteLine("SCLEAR Seite TEXT 10 LEFT 10 TOP LABEL Knoten TEXT ADDTREE");
  QLabel* label = program->form.pool().Label(1);
  ASSERT_TRUE(label->isVisibleTo(&program->form));
  ASSERT_EQ(program->form.TreeView()->topLevelItemCount(), 1);
  program->engine.ExecuteLine("60000 WAITREAD DONE");  // a wait that is still armed
  ASSERT_TRUE(program->events->wait().Armed());

  simulator.Unplug();  // the adapter is pulled out under the open link
  ASSERT_TRUE(WaitFor([&] { return Status() == QString::fromUtf8("Не найдено портов!"); }, 9000));
  EXPECT_FALSE(label->isVisibleTo(&program->form));
  EXPECT_EQ(program->form.TreeView()->topLevelItemCount(), 0);
  EXPECT_EQ(program->form.ComboBoxCom()->count(), 0);
  EXPECT_EQ(program->device->links().Current(), nullptr);
  EXPECT_EQ(program->device->links().InSlot(1), nullptr);
  EXPECT_FALSE(program->events->wait().Armed());
  EXPECT_EQ(program->done, 0);

  ASSERT_TRUE(simulator.Plug());
  ASSERT_TRUE(WaitFor([&] { return program->Connected(); }, 5000));
  EXPECT_EQ(program->form.ComboBoxCom()->count(), 1);
  ASSERT_NE(program->device->links().InSlot(1), nullptr);
  // The new link carries records to the dispatcher again.
  program->engine.ExecuteLine("\"02 02 C0 \" 1 SENDCK");
  ASSERT_TRUE(WaitFor([&] { return !program->device->stores().Response(1, 2, 1)->empty(); }, 3000));
}

TEST_F(Supervision, NoPortAtStartUpThenOneAppears) {
  StartProgram({folder.filePath("device")});
  EXPECT_FALSE(started);
  EXPECT_EQ(Status(), QString::fromUtf8("Не найдено портов!"));
  EXPECT_EQ(program->form.ComboBoxCom()->count(), 0);

  sim::DeviceSimulator simulator(FastDevice(folder.filePath("device")));
  ASSERT_TRUE(simulator.Start(nullptr));
  ASSERT_TRUE(WaitFor([&] { return program->Connected(); }, 5000));
  EXPECT_EQ(program->form.ComboBoxCom()->currentText(), folder.filePath("device"));
}

}  // namespace
