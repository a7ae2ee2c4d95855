// zelt --watch over the simulated device: the page author edits Setup.KVS
// while the program runs, and the page changes without losing the link or
// the values read.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>
#include <memory>
#include <string>

#include "program_fixture.h"
#include "script_watch.h"

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

const char kHooks[] =
    ":MAIN\r\n;\r\n:MAINS\r\n;\r\n:TREECLICK\r\n;\r\n:WAIT\r\n;\r\n"
    ":ONSTARTWAIT\r\n;\r\n:ONSTOPWAIT\r\n;\r\n:CLOSEQUERY\r\n 255\r\n;\r\n"
    ":ONCONNECT\r\n;\r\n:ONLINKLOST\r\n;\r\n:ONCANCEL\r\n DROP\r\n;\r\n";

// Two nodes; page B shows cell 5 followed by `suffix`, `extra_node` adds a third.
std::string Pages(const std::string& suffix, bool extra_node = false,
                  const std::string& extra_word = "") {
  return std::string(":START\r\n CLEARSTEK CLEARDATA TREE RUN PAGE_A RUN\r\n;\r\n") +
         ":TREE\r\n CLEARTREE \"A\" TEXT \"PAGE_A RUN\" ONCHANGE ADDTREE\r\n"
         " \"B\" TEXT \"PAGE_B RUN\" ONCHANGE ADDCHILD\r\n" +
         (extra_node ? " \"C\" TEXT \"PAGE_A RUN\" ONCHANGE ADDCHILD\r\n" : "") + ";\r\n" +
         ":PAGE_A\r\n SCLEAR 8 LEFT 8 TOP \"page A\" TEXT LABEL\r\n;\r\n"
         ":PAGE_B\r\n SCLEAR 8 LEFT 8 TOP 5 % \"" + suffix + "\" & TEXT LABEL " + extra_word +
         "\r\n;\r\n" + kHooks;
}

class Watch : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_folder_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder_.path()));
    Write(Pages(" (1)"));
    simulator_ = std::make_unique<sim::DeviceSimulator>(
        device_e2e::FastDevice(folder_.filePath("port")));
    ASSERT_TRUE(simulator_->Start(nullptr));
    program_ = std::make_unique<device_e2e::Program>(QStringList{simulator_->PortPath()},
                                                     folder_.filePath("Setup.KVS").toStdString());
    program_->form.show();
    ASSERT_TRUE(program_->events->StartUp({}));
    ASSERT_TRUE(device_e2e::WaitFor([&] { return program_->Connected(); }, 5000));
    watch_ = &program_->program->WatchScript();
    // A value "read from the device", then node B's page shows it.
    program_->engine.ExecuteLine("`read` 5 !");
    ClickNode("B");
    ASSERT_EQ(Shown(), U("read (1)"));
  }
  void TearDown() override {
    program_.reset();
    simulator_.reset();
    QDir::setCurrent(previous_folder_);
  }

  void Write(const std::string& text) {
    QFile file(folder_.filePath("Setup.KVS"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.data(), static_cast<qint64>(text.size()));
  }
  bool WaitReloads(int count) {
    return device_e2e::WaitFor([&] { return watch_->reloads() >= count; }, 5000);
  }
  void ClickNode(const char* caption) {
    QTreeWidget* tree = program_->form.TreeView();
    const QList<QTreeWidgetItem*> found =
        tree->findItems(U(caption), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1) << caption;
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(found[0]).center());
  }
  // The text of the first shown label of the page.
  QString Shown() {
    for (QLabel* label : program_->form.PanelSet()->findChildren<QLabel*>())
      if (label->isVisible()) return label->text();
    return QStringLiteral("<none>");
  }
  QString Status() { return program_->form.StatusText(); }

  QTemporaryDir folder_;
  QString previous_folder_;
  std::unique_ptr<sim::DeviceSimulator> simulator_;
  std::unique_ptr<device_e2e::Program> program_;
  zelt::ScriptWatch* watch_ = nullptr;
};

TEST_F(Watch, EditedPageRunsAgainOnTheSameNode) {
  Write(Pages(" (2)"));
  ASSERT_TRUE(WaitReloads(1));
  EXPECT_EQ(Shown(), U("read (2)"));
  EXPECT_EQ(Status(), U("Setup.KVS перечитан."));
  EXPECT_TRUE(program_->Connected());
  EXPECT_EQ(program_->form.TreeView()->currentItem()->text(0), U("B"));
}

TEST_F(Watch, ChangedTreeRunsStartAndKeepsTheValuesRead) {
  Write(Pages(" (3)", true));
  ASSERT_TRUE(WaitReloads(1));
  EXPECT_EQ(program_->form.TreeView()->topLevelItem(0)->childCount(), 2);
  // START cleared the cells; what was read is back, and node B shows it.
  EXPECT_EQ(Shown(), U("read (3)"));
  EXPECT_EQ(program_->form.TreeView()->currentItem()->text(0), U("B"));
  EXPECT_TRUE(program_->Connected());
}

TEST_F(Watch, FirstProblemInTheStatusLine) {
  Write(Pages(" (4)", false, "STAUTS"));
  ASSERT_TRUE(WaitReloads(1));
  EXPECT_EQ(Status(), U("Setup.KVS перечитан. Setup.KVS:12: error: PAGE_B: unknown word "
                        "STAUTS; did you mean STATUS?"));
  EXPECT_EQ(Shown(), U("read (4)"));
}

TEST_F(Watch, SameTextTwiceReloadsOnce) {
  Write(Pages(" (5)"));
  ASSERT_TRUE(WaitReloads(1));
  Write(Pages(" (5)"));
  QTest::qWait(400);
  EXPECT_EQ(watch_->reloads(), 1);
}

}  // namespace
