// The navigation tree: building words, the display-order lookup, the
// expand-below-20 rule, and real mouse clicks with their leave, TREECLICK and
// click scripts.
#include <gtest/gtest.h>

#include <QTest>
#include <QTreeWidget>

#include "control_registers.h"
#include "cp1251.h"
#include "event_harness.h"
#include "event_router.h"
#include "page_model.h"
#include "tree_navigation.h"
#include "device_wait.h"

namespace {

class TreeTest : public ::testing::Test {
 protected:
  TreeTest()
      : wait_(engine_),
        router_(engine_, wait_, page_),
        tree_(engine_, router_, wait_, &view_, registers_) {
    engine::RegisterCoreWords(engine_);
    engine::AddWords(engine_, ui::kTreeWords, tree_);
    engine::AddWords(engine_, device::kWaitWords, wait_);
    ui_test::RegisterMark(engine_, trail_);
    folder_.Write(engine_, {{"TREECLICK", "`tc` MARK"},
                            {"WAIT", "`wait` MARK"},
                            {"MAIN", "`main` MARK"},
                            {"ONSTARTWAIT", ""},
                            {"ONSTOPWAIT", ""}});
    view_.resize(300, 400);
    view_.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view_));
  }

  // A node with caption `text`, click script "`c<text>` MARK " and leave
  // script "`l<text>` MARK ".
  void Add(const char* word, const std::string& text) {
    registers_.text = text;
    registers_.on_change = "`c" + text + "` MARK ";
    registers_.on_close = "`l" + text + "` MARK ";
    engine_.ExecuteLine(word);
  }

  void ClickOn(QTreeWidgetItem* item) {
    ASSERT_NE(item, nullptr);
    view_.scrollToItem(item);
    QTest::mouseClick(view_.viewport(), Qt::LeftButton, {}, view_.visualItemRect(item).center());
  }

  QTreeWidgetItem* Find(const QString& text) {
    auto found = view_.findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
  }

  std::string PopAll() {
    std::string values;
    while (engine_.Depth() > 0) values = engine_.Pop() + (values.empty() ? "" : " " + values);
    return values;
  }

  std::string Trail() const { return ui_test::Joined(trail_); }

  engine::Engine engine_;
  ui::PageModel page_;
  ui::ControlRegisters& registers_ = page_.registers();
  device::DeviceWait wait_;
  ui::EventRouter router_;
  QTreeWidget view_;
  ui::NavigationTree tree_;
  ui_test::ScriptFolder folder_;
  std::vector<std::string> trail_;
};

TEST_F(TreeTest, ChildDescendsAndAddChildAddsSiblings) {
  engine_.ExecuteLine("CLEARTREE");
  Add("ADDTREE", "T1");
  Add("CHILD", "T2");
  Add("CHILD", "T3");
  EXPECT_EQ(tree_.node_count(), 3);
  EXPECT_EQ(tree_.Node(1)->parent(), tree_.Node(0));
  EXPECT_EQ(tree_.Node(2)->parent(), tree_.Node(1));
  EXPECT_EQ(ui::NavigationTree::Depth(tree_.Node(2)), 2);
  EXPECT_EQ(tree_.click_script(2), "`cT3` MARK ");

  engine_.ExecuteLine("CLEARTREE");
  Add("ADDTREE", "T1");
  Add("ADDCHILD", "T2");
  Add("ADDCHILD", "T3");
  ASSERT_EQ(view_.topLevelItemCount(), 1);
  EXPECT_EQ(view_.topLevelItem(0)->childCount(), 2);
  ClickOn(Find("T3"));
  engine_.ExecuteLine("SINDEX LEVEL AINDEX NODE%");
  EXPECT_EQ(PopAll(), "1 1 2 3");

  engine_.ExecuteLine("0 NODE");
  Add("ADDCHILD", "T4");
  EXPECT_EQ(view_.topLevelItem(0)->child(2)->text(0), "T4");
}

TEST_F(TreeTest, NodeOfAnEmptyOrFarEntryAddsAtTopLevelAndBadNumberKeepsTheParent) {
  Add("ADDTREE", "T1");
  engine_.ExecuteLine("500 NODE");
  Add("ADDCHILD", "T2");
  EXPECT_EQ(view_.topLevelItemCount(), 2);
  engine_.ExecuteLine("0 NODE x NODE 99999 NODE");  // far number: no parent
  Add("ADDCHILD", "T3");
  EXPECT_EQ(view_.topLevelItemCount(), 3);
  engine_.ExecuteLine("0 NODE x NODE");  // no number: parent kept
  Add("ADDCHILD", "T4");
  EXPECT_EQ(tree_.Node(3)->parent(), tree_.Node(0));
}

TEST_F(TreeTest, ClickLooksScriptsUpByDisplayPosition) {
  Add("ADDTREE", "T1");
  Add("ADDTREE", "T2");
  engine_.ExecuteLine("0 NODE");
  Add("ADDCHILD", "T3");
  // Display order T1, T3, T2; creation order T1, T2, T3.
  ClickOn(Find("T3"));
  EXPECT_EQ(Trail(), "tc cT2");
  EXPECT_EQ(tree_.last_node(), 1);
  trail_.clear();
  ClickOn(Find("T2"));
  EXPECT_EQ(Trail(), "lT2 tc cT3");  // the leave script stored at position 1
}

TEST_F(TreeTest, FirstClickAfterClearTreeRunsNoLeaveScriptAndReclickRunsBoth) {
  Add("ADDTREE", "A");
  Add("ADDTREE", "B");
  ClickOn(Find("A"));
  engine_.ExecuteLine("CLEARTREE");
  EXPECT_EQ(tree_.last_node(), -1);
  trail_.clear();
  Add("ADDTREE", "C");
  ClickOn(Find("C"));
  EXPECT_EQ(Trail(), "tc cC");
  trail_.clear();
  ClickOn(Find("C"));
  EXPECT_EQ(Trail(), "lC tc cC");
}

TEST_F(TreeTest, KeyboardMovesRunNoScripts) {
  Add("ADDTREE", "A");
  Add("ADDTREE", "B");
  ClickOn(Find("A"));
  trail_.clear();
  view_.setFocus();
  QTest::keyClick(&view_, Qt::Key_Down);
  EXPECT_EQ(tree_.Selected(), Find("B"));
  EXPECT_TRUE(trail_.empty());
}

TEST_F(TreeTest, ClickDuringAWaitRunsOnlyWait) {
  Add("ADDTREE", "A");
  Add("ADDTREE", "B");
  ClickOn(Find("A"));
  trail_.clear();
  engine_.ExecuteLine("500 WAITREAD");
  ClickOn(Find("B"));
  EXPECT_EQ(Trail(), "wait");
  EXPECT_EQ(tree_.last_node(), 0);
}

TEST_F(TreeTest, ClickScriptRunsWaitWhenTreeclickArmedAWait) {
  folder_.Write(engine_, {{"TREECLICK", "`tc` MARK 500 WAITREAD"},
                          {"WAIT", "`wait` MARK"},
                          {"ONSTARTWAIT", ""}});
  Add("ADDTREE", "A");
  ClickOn(Find("A"));
  EXPECT_EQ(Trail(), "tc wait");
  EXPECT_EQ(tree_.last_node(), 0);
}

TEST_F(TreeTest, LeaveScriptThatClearsTheTreeLeadsToMain) {
  Add("ADDTREE", "A");
  registers_.text = "B";
  registers_.on_change = "`cB` MARK ";
  registers_.on_close = "CLEARTREE ";
  engine_.ExecuteLine("ADDTREE");
  ClickOn(Find("B"));
  trail_.clear();
  ClickOn(Find("A"));
  EXPECT_EQ(Trail(), "main");
  EXPECT_EQ(view_.topLevelItemCount(), 0);
}

TEST_F(TreeTest, SelectionWordsWithAndWithoutASelection) {
  engine_.ExecuteLine("SINDEX AINDEX LEVEL");
  EXPECT_EQ(PopAll(), "-1 -1");  // LEVEL faults and pushes nothing
  const std::string caption = engine::Cp1251("Настройки");
  Add("ADDTREE", caption);
  ClickOn(tree_.Node(0));
  engine_.ExecuteLine("CLEARTREE STEXT SINDEX");
  EXPECT_EQ(PopAll(), caption + " -1");
}

TEST_F(TreeTest, TwentiethNodeCollapsesTheTree) {
  Add("ADDTREE", "root");
  for (int i = 1; i < 19; ++i) Add("ADDCHILD", "n" + std::to_string(i));
  EXPECT_TRUE(tree_.Node(0)->isExpanded());
  Add("ADDCHILD", "n19");
  EXPECT_EQ(tree_.node_count(), 20);
  EXPECT_FALSE(tree_.Node(0)->isExpanded());
  // A node the operator opens, or a selection shows, closes at the next node
  // added, as every node did.
  tree_.Node(0)->setExpanded(true);
  Add("ADDTREE", "second");
  EXPECT_FALSE(tree_.Node(0)->isExpanded());
  tree_.view()->scrollToItem(tree_.Node(5));
  ASSERT_TRUE(tree_.Node(0)->isExpanded());
  Add("ADDCHILD", "n21");
  EXPECT_FALSE(tree_.Node(0)->isExpanded());
}

TEST_F(TreeTest, FullTableAddsAndStoresNothing) {
  Add("ADDTREE", "root");
  for (int i = 1; i < ui::NavigationTree::kNodes; ++i) Add("ADDCHILD", "n");
  EXPECT_EQ(tree_.node_count(), 1001);
  Add("ADDTREE", "late");
  Add("CHILD", "late");
  EXPECT_EQ(tree_.node_count(), 1001);
  EXPECT_EQ(view_.topLevelItemCount(), 1);
  EXPECT_EQ(Find("late"), nullptr);
  EXPECT_EQ(tree_.DisplayPosition(tree_.Node(1000)), 1000);
}

TEST_F(TreeTest, NodesCarryThePictureOfTheImageRegister) {
  for (int image = 0; image < 6; ++image) {
    registers_.image = image;
    Add("ADDTREE", "i" + std::to_string(image));
    EXPECT_FALSE(tree_.Node(image)->icon(0).isNull());
  }
  registers_.image = 6;
  Add("ADDTREE", "none");
  EXPECT_TRUE(tree_.Node(6)->icon(0).isNull());
}

}  // namespace

namespace {

TEST_F(TreeTest, ClickOnEmptySpaceActsOnTheSelectedNode) {
  Add("ADDTREE", "A");
  ClickOn(Find("A"));
  trail_.clear();
  QTest::mouseClick(view_.viewport(), Qt::LeftButton, {}, QPoint(50, view_.viewport()->height() - 5));
  EXPECT_EQ(tree_.Selected(), Find("A"));
  EXPECT_EQ(Trail(), "lA tc cA");
}

}  // namespace
