// The routing of real pool controls placed by the real control words: busy
// flag, last event tag, WAIT while a device wait is armed, the tool-bar
// buttons and the start-up on the window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <set>

#include "combo_box.h"
#include "control_pool.h"
#include "control_words.h"
#include "cp1251.h"
#include "device_session.h"
#include "directory_edit.h"
#include "event_harness.h"
#include "event_system.h"
#include "main_form.h"

namespace {

// A device side whose first link starts when the test says so; the tool bar
// is never refused for want of a port.
struct FakeDevice : ui::DeviceReach {
  bool StartFirstLink() override { return links; }
  std::string ToolBarRefusal() const override { return {}; }
  bool links = false;
};

class RoutingTest : public ::testing::Test {
 protected:
  RoutingTest()
      : engine_(&form_),
        session_(engine_),
        events_(form_, *form_.TreeView(), *form_.StatusBar(), engine_, session_.wait(),
                session_.links(), device_) {
    engine::RegisterCoreWords(engine_);
    ui::RegisterControlWords(engine_, form_);
    ui::RegisterEventWords(engine_, events_);
    ui_test::RegisterMark(engine_, trail_);
    folder_.Write(engine_, {{"WAIT", "`wait` MARK"},
                            {"MAIN", "`main` MARK"},
                            {"MAINS", "`mains` MARK"},
                            {"ONSTARTWAIT", ""},
                            {"ONSTOPWAIT", ""},
                            {"TREECLICK", ""}});
    form_.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form_));
  }

  std::string Trail() const { return ui_test::Joined(trail_); }
  ui::ControlPool& pool() { return form_.pool(); }

  ui::TMainForm form_;
  engine::Engine engine_;
  device::DeviceSession session_;
  FakeDevice device_;
  ui::EventSystem events_;
  ui_test::ScriptFolder folder_;
  std::vector<std::string> trail_;
};

TEST_F(RoutingTest, CheckBoxPlacedAsControlSevenRunsItsScriptAndSeesTheTick) {
  engine_.ExecuteLine(
      "SCLEAR 10 WIDTH `x` TEXT CHECK CHECK 7 ID \"CHECKED MARK \" ONCHANGE 80 WIDTH `seven` "
      "TEXT CHECK");
  QCheckBox* box = pool().CheckBox(3);
  ASSERT_TRUE(box->isVisible());
  EXPECT_EQ(ui::Tag(box), 7);
  EXPECT_TRUE(trail_.empty());

  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  EXPECT_TRUE(box->isChecked());
  EXPECT_EQ(Trail(), "255");
  EXPECT_EQ(form_.registers().last_event_tag, 7);
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  EXPECT_EQ(Trail(), "255 0");
}

TEST_F(RoutingTest, TicksSetByWordsRunNoScriptsButATickSetOutsideALineDoes) {
  engine_.ExecuteLine("SCLEAR \"`ran` MARK \" ONCHANGE 1 CHECKS CHECK");
  QCheckBox* box = pool().CheckBox(1);
  EXPECT_TRUE(box->isChecked());
  engine_.ExecuteLine("SCLEAR");
  EXPECT_FALSE(box->isChecked());
  EXPECT_TRUE(trail_.empty());
  // No line runs now: a change of the tick is routed like a click.
  box->setChecked(true);
  EXPECT_EQ(Trail(), "ran");
}

TEST_F(RoutingTest, CheckBoxesAbove32RouteNothing) {
  engine_.ExecuteLine("SCLEAR 33 ID \"`ran` MARK \" ONCHANGE");
  for (int i = 0; i < 33; ++i) engine_.ExecuteLine("CHECK");
  QCheckBox* box = pool().CheckBox(33);
  ASSERT_TRUE(box->isVisible());
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  EXPECT_TRUE(box->isChecked());
  EXPECT_TRUE(trail_.empty());
}

TEST_F(RoutingTest, ButtonDuringAWaitRunsWaitAndTheToolBarWaitsForTheTransfer) {
  engine_.ExecuteLine("SCLEAR 3 ID \"`own` MARK \" ONCHANGE 80 WIDTH 25 HEIGHT `go` TEXT BUTTON");
  QPushButton* button = pool().Button(1);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(Trail(), "own");
  EXPECT_EQ(form_.registers().last_event_tag, 3);

  engine_.ExecuteLine("500 WAITREAD");
  ASSERT_TRUE(events_.wait().Armed());
  EXPECT_TRUE(form_.WaitIndicatorsOn());
  trail_.clear();
  QTest::mouseClick(button, Qt::LeftButton);
  QTest::mouseClick(form_.Button16(), Qt::LeftButton);
  QTest::mouseClick(form_.Button17(), Qt::LeftButton);
  // A transfer is running: the tool-bar buttons start no second one.
  EXPECT_EQ(Trail(), "wait");
  EXPECT_EQ(form_.StatusText(), QString::fromUtf8("Идёт обмен с устройством: дождитесь его окончания."));
  engine_.ExecuteLine("0 WAITREAD");
  EXPECT_FALSE(form_.WaitIndicatorsOn());
  trail_.clear();
  QTest::mouseClick(form_.Button16(), Qt::LeftButton);
  QTest::mouseClick(form_.Button17(), Qt::LeftButton);
  EXPECT_EQ(Trail(), "main mains");
}

TEST_F(RoutingTest, ControlWithTagZeroRunsTheEmptyScriptAndRecordsTheTag) {
  engine_.ExecuteLine("SCLEAR 4 ID \"`own` MARK \" ONCHANGE 80 WIDTH 25 HEIGHT BUTTON");
  QTest::mouseClick(pool().Button(1), Qt::LeftButton);
  QPushButton* unplaced = pool().Button(2);
  ASSERT_EQ(ui::Tag(unplaced), 0);
  unplaced->click();
  EXPECT_EQ(Trail(), "own");
  EXPECT_EQ(form_.registers().last_event_tag, 0);
}

TEST_F(RoutingTest, ComboChangeByTheOperatorRunsOnceAndIsIgnoredWhileBusy) {
  engine_.ExecuteLine(
      "SCLEAR 5 ID CLEARITEMS a ADDITEMS b ADDITEMS c ADDITEMS `LIST` STYLE 0 INDEX "
      "\"SELECTED MARK ETEXT MARK \" ONCHANGE 80 WIDTH 21 HEIGHT COMBO");
  ui::StyledComboBox* combo = pool().ComboBox(1);
  EXPECT_TRUE(trail_.empty());
  QComboBox* inner = combo->combo();
  inner->setFocus();
  QTest::keyClick(inner, Qt::Key_Down);
  EXPECT_EQ(Trail(), "1 b");
  EXPECT_EQ(form_.registers().last_event_tag, 5);

  trail_.clear();
  engine_.set_busy(true);  // as while a line runs
  QTest::keyClick(inner, Qt::Key_Down);
  engine_.set_busy(false);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_TRUE(trail_.empty());  // lost, not queued
  QTest::qWait(20);
  EXPECT_TRUE(trail_.empty());
}

TEST_F(RoutingTest, DirectoryFieldRoutesWithoutRecordingTheTag) {
  engine_.ExecuteLine("SCLEAR 9 ID \"EDIR MARK \" ONCHANGE `/tmp` TEXT DIR");
  EXPECT_TRUE(trail_.empty());  // DIR's own text is set while the line runs
  engine_.ExecuteLine("SCLEAR 2 ID \"`b` MARK \" ONCHANGE 80 WIDTH 25 HEIGHT BUTTON");
  QTest::mouseClick(pool().Button(1), Qt::LeftButton);
  ui::DirectoryEdit* dir = pool().DirectoryEdit1();
  dir->show();
  QTest::keyClick(dir->edit(), Qt::Key_X);
  EXPECT_EQ(Trail(), "b /tmpx\\");
  EXPECT_EQ(form_.registers().last_event_tag, 2);
}

TEST_F(RoutingTest, MemoRoutesTheOperatorsEditsButNotMemosOwnWriting) {
  engine_.ExecuteLine(
      "SCLEAR 6 ID \"`memo` MARK \" ONCHANGE 100 WIDTH 50 HEIGHT `first` TEXT MEMO");
  QPlainTextEdit* memo = pool().Memo1();
  ASSERT_TRUE(memo->isVisible());
  EXPECT_TRUE(trail_.empty());
  memo->setFocus();
  QTest::keyClick(memo, Qt::Key_A);
  EXPECT_EQ(Trail(), "memo");
  EXPECT_EQ(form_.registers().last_event_tag, 6);
}

TEST_F(RoutingTest, TreeNodesTakeTheControlRegistersAndClickThroughTheWindow) {
  engine_.ExecuteLine(
      "CLEARTREE `Main` TEXT 1 IMAGE \"`page1` MARK \" ONCHANGE \"`left1` MARK \" ONCLOSE ADDTREE "
      "`Sub` TEXT 4 IMAGE \"`page2` MARK \" ONCHANGE \"\" ONCLOSE CHILD");
  QTreeWidget* view = form_.TreeView();
  QTreeWidgetItem* main_node = view->topLevelItem(0);
  ASSERT_NE(main_node, nullptr);
  QTreeWidgetItem* sub = main_node->child(0);
  ASSERT_NE(sub, nullptr);
  EXPECT_FALSE(sub->icon(0).isNull());
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(main_node).center());
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(sub).center());
  EXPECT_EQ(Trail(), "page1 left1 page2");
  engine_.ExecuteLine("STEXT MARK LEVEL MARK");
  EXPECT_EQ(Trail(), "page1 left1 page2 Sub 1");
}

TEST_F(RoutingTest, StartUpWithoutPortRunsSclearAndNotStart) {
  folder_.Write(engine_, {{"START", "`start` MARK"}});
  const QString saved_dir = QDir::currentPath();  // the start-up deletes KVSmon.Log here
  QDir::setCurrent(folder_.Dir());
  engine_.ExecuteLine("SCLEAR `shown` TEXT LABEL");
  ASSERT_TRUE(pool().Label(1)->isVisible());
  engine_.Push("left over");
  EXPECT_FALSE(events_.StartUp(false));
  EXPECT_FALSE(pool().Label(1)->isVisible());
  EXPECT_FALSE(form_.MemoDebug()->isVisible());
  EXPECT_EQ(engine_.Depth(), 0);
  EXPECT_TRUE(trail_.empty());

  device_.links = true;
  EXPECT_TRUE(events_.StartUp(true));
  EXPECT_TRUE(form_.MemoDebug()->isVisible());
  EXPECT_EQ(Trail(), "start");
  QDir::setCurrent(saved_dir);
}

}  // namespace

namespace {

// The screenshot demo: START builds the tree, a click builds the node's page.
TEST_F(RoutingTest, DemoScriptBuildsTheTreeAndTreeclickBuildsPages) {
  engine_.script_file().SetPath(ZELT_EVENTS_DEMO_DIR "/Setup.KVS");
  engine_.script_file().Reset();
  engine_.ExecuteLine("START RUN");
  QTreeWidget* view = form_.TreeView();
  EXPECT_EQ(events_.tree().node_count(), 13);
  EXPECT_EQ(view->topLevelItemCount(), 4);
  EXPECT_TRUE(view->topLevelItem(1)->isExpanded());
  std::set<int> images;
  for (int n = 0; n < events_.tree().node_count(); ++n) {
    QTreeWidgetItem* node = events_.tree().Node(n);
    EXPECT_FALSE(node->icon(0).isNull());
    images.insert(ui::NavigationTree::ImageOf(node));
  }
  EXPECT_EQ(images, (std::set<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(pool().Label(1)->text(), QStringLiteral("Основные параметры"));

  QTreeWidgetItem* phones = view->topLevelItem(1)->child(0);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(phones).center());
  EXPECT_EQ(pool().Label(1)->text(), QStringLiteral("Телефоны"));
  EXPECT_EQ(pool().Label(2)->text(), QStringLiteral("Телефон дежурного:"));
  EXPECT_TRUE(pool().ComboBox(1)->isVisible());
  EXPECT_FALSE(pool().CheckBox(1)->isVisible());
}

}  // namespace
