// The tree from the keyboard, and clicks while the first read runs.
#include "shipped_fixture.h"

namespace {

using shipped_e2e::Shipped;
using shipped_e2e::U;

TEST_F(Shipped, ThePageFollowsTheTreeFromTheKeyboard) {
  StartAndRead();
  ClickNode("ZELT-2 GSM");
  QTreeWidget* tree = form().TreeView();
  tree->setFocus();
  QTest::keyClick(tree, Qt::Key_Down);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(program_->engine.Cell(200), "PAGE_DEVICE");
  QTest::keyClick(tree, Qt::Key_Down);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(program_->engine.Cell(200), "PAGE_GSM");
  EXPECT_NE(ComboOffering("Охрана"), nullptr);

  program_->engine.ExecuteLine(" `PAGE_HOME` RUN ");
  QTest::keyClick(tree, Qt::Key_Return);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(program_->engine.Cell(200), "PAGE_GSM");
}

TEST_F(Shipped, AClickDuringTheFirstReadLeavesTheHighlight) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(device_e2e::WaitFor([&] { return program_->engine.Cell(250) == "1" && !Idle(); }, 10000));
  QTreeWidget* tree = form().TreeView();
  QTreeWidgetItem* before = tree->currentItem();
  const QList<QTreeWidgetItem*> found = tree->findItems(U("Телефонная книга"), Qt::MatchExactly | Qt::MatchRecursive);
  ASSERT_EQ(found.size(), 1);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(found[0]).center());
  EXPECT_EQ(tree->currentItem(), before);
  EXPECT_EQ(Status(), U("Подождите: идёт обмен с устройством."));
  tree->setFocus();
  QTest::keyClick(tree, Qt::Key_Down);
  EXPECT_EQ(tree->currentItem(), before);
  ASSERT_TRUE(WaitTransferDone());
}

}  // namespace
