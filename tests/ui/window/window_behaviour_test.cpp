// What the window does for the operator beyond the designed layout: the first
// size on small screens, the scrolling page area and the monitor's divider,
// the keyboard, the memos' menus and the command line.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "../../support/small_disk.h"
#include "combo_box.h"
#include "first_size.h"
#include "memo_menu.h"
#include "page_area.h"
#include "window_harness.h"
#include "window_place.h"

namespace window_test {
namespace {

using ui::ChooseFirstSize;

TEST(FirstSize, DesignedClientAreaWhereFourSixthsIsLess) {
  const QSize designed(779, 652);
  const QSize frame(2, 30);
  // 1366 x 768: four sixths is 910 x 512; the height rises to the design.
  ui::FirstSize first = ChooseFirstSize({1366, 768}, {1366, 740}, designed, frame);
  EXPECT_FALSE(first.maximised);
  EXPECT_EQ(first.client, QSize(908, 652));
  // 1024 x 768: the designed area in both directions.
  first = ChooseFirstSize({1024, 768}, {1024, 740}, designed, frame);
  EXPECT_EQ(first.client, QSize(779, 652));
  // 1920 x 1080: four sixths gives more, as ever.
  first = ChooseFirstSize({1920, 1080}, {1920, 1050}, designed, frame);
  EXPECT_EQ(first.client, QSize(1278, 690));
  // 800 x 600: the designed window does not fit; maximised to the available area.
  first = ChooseFirstSize({800, 600}, {800, 570}, designed, frame);
  EXPECT_TRUE(first.maximised);
  EXPECT_EQ(first.client, QSize(798, 540));
}

TEST(WindowPlace, SecondWindowComesBackWhereTheFirstWasClosed) {
  QTemporaryDir dir;
  const QString ini = dir.filePath("zelt.ini");
  // The scripts' last profile, in Windows-1251 as an older run wrote it.
  const QByteArray scripts_keys("[\xcf\xee\xf1\xeb\xe5\xe4\xed\xe8\xe9]\r\nLastProfile=\xe4\xee\xec.ini\r\n");
  QFile file(ini);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(scripts_keys);
  file.close();

  QRect closed_at;
  int monitor = 0;
  {
    ui::TMainForm first;
    first.SetPlaceFile(ini);
    first.show();
    first.ResizeToScreen();
    first.setGeometry(40, 30, 700, 520);
    QApplication::processEvents();
    first.MonitorDivider()->setSizes({300, 160});
    QApplication::processEvents();
    closed_at = first.geometry();
    monitor = first.MonitorDivider()->sizes().value(1);
    ASSERT_NE(monitor, 73);
    EXPECT_TRUE(first.close());
  }
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().startsWith(scripts_keys));
  file.close();
  {
    ui::TMainForm second;
    second.SetPlaceFile(ini);
    second.show();
    second.ResizeToScreen();
    QApplication::processEvents();
    EXPECT_EQ(second.geometry(), closed_at);
    EXPECT_EQ(second.MonitorDivider()->sizes().value(1), monitor);
  }
  // A place off the screens there are now is not taken.
  ASSERT_TRUE(ui::WriteWindowPlace(ini, {QRect(4000, 3000, 700, 520), false, 160}));
  ui::TMainForm third;
  third.SetPlaceFile(ini);
  third.show();
  third.ResizeToScreen();
  QApplication::processEvents();
  EXPECT_TRUE(third.screen()->geometry().intersects(third.geometry()));
  EXPECT_NE(third.geometry().topLeft(), QPoint(4000, 3000));
}

TEST(WindowPlace, OnScreens) {
  const QList<QRect> screens{QRect(0, 0, 1366, 768), QRect(1366, 0, 1920, 1080)};
  EXPECT_TRUE(ui::OnScreens(QRect(100, 50, 900, 650), screens));
  EXPECT_TRUE(ui::OnScreens(QRect(1500, 100, 1200, 900), screens));  // the second screen
  EXPECT_FALSE(ui::OnScreens(QRect(1500, 100, 1200, 900), {screens[0]}));  // it is gone
  EXPECT_FALSE(ui::OnScreens(QRect(-600, 50, 900, 650), screens));
  EXPECT_FALSE(ui::OnScreens(QRect(0, 0, 1366, 800), screens));  // taller than the screen now
  EXPECT_FALSE(ui::OnScreens(QRect(100, 50, 0, 650), screens));
}

TEST_F(WindowTest, PageAreaGrowsToHoldItsControlsAndScrolls) {
  form_.resize(779, 652);
  form_.show();
  Run("SCLEAR 1 ID `far` TEXT 900 LEFT 700 TOP 80 WIDTH 25 HEIGHT BUTTON");
  QApplication::processEvents();
  QPushButton* far = pool().Button(1);
  ASSERT_TRUE(far->isVisible());
  ui::PageScrollArea* scroll = form_.PageScroll();
  EXPECT_GE(form_.PanelSet()->width(), 980);
  EXPECT_GE(form_.PanelSet()->height(), 725);
  scroll->ensureWidgetVisible(far);
  QApplication::processEvents();
  const QRect shown(QPoint(scroll->horizontalScrollBar()->value(), scroll->verticalScrollBar()->value()),
                    scroll->viewport()->size());
  EXPECT_TRUE(shown.contains(far->geometry())) << shown.x() << "," << shown.y();
  // Once the page is cleared, nothing is left to scroll to.
  Run("SCLEAR");
  QApplication::processEvents();
  EXPECT_EQ(form_.PanelSet()->size(), scroll->viewport()->size());
}

TEST_F(WindowTest, MaximisingGivesThePageAreaTheRoomAndTheDividerMoves) {
  form_.resize(779, 652);
  form_.show();
  QApplication::processEvents();
  EXPECT_EQ(form_.PanelSet()->size(), QSize(578, 500));
  form_.resize(1400, 1000);
  QApplication::processEvents();
  EXPECT_EQ(form_.PanelMonitor()->height(), 73);
  EXPECT_EQ(form_.PanelSet()->height(), 848);
  EXPECT_EQ(form_.MemoTerminalOut()->width(), 1400 - 200 - 288);
  // The operator drags the title row up: the memos get the room.
  QSplitter* divider = form_.MonitorDivider();
  divider->setSizes({500, 421});
  QApplication::processEvents();
  EXPECT_EQ(form_.PanelMonitor()->height(), 421);
  EXPECT_EQ(form_.PanelTit()->height(), 17);
  EXPECT_EQ(form_.PanelTit()->parentWidget(), divider->handle(1));
}

class KeyboardTest : public WindowTest {
 protected:
  void SetUp() override {
    form_.show();
    QApplication::setActiveWindow(&form_);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
  }
  QWidget* Tab(bool back = false) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
    return QApplication::focusWidget();
  }
};

TEST_F(KeyboardTest, TabGoesThroughTreePageInPlacingOrderAndToolBar) {
  // A button placed before a combo box and a memo, against their pool order.
  Run("SCLEAR 1 ID `go` TEXT 10 LEFT 10 TOP 80 WIDTH 25 HEIGHT BUTTON "
      "2 ID 10 LEFT 50 TOP 100 WIDTH COMBO "
      "3 ID `text` TEXT 10 LEFT 90 TOP 200 WIDTH 60 HEIGHT MEMO");
  form_.TreeView()->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), form_.TreeView());
  QStringList order;
  for (int i = 0; i < 7; ++i) {
    QWidget* focus = Tab();
    // The combo box's own edit field stands for the combo box.
    while (focus && focus->objectName().isEmpty()) focus = focus->parentWidget();
    order << (focus ? focus->objectName() : QStringLiteral("none"));
  }
  EXPECT_EQ(order.join(' ').toStdString(),
            "Button1 ComboBox1 Memo1 ComboBoxCom Button16 Button17 TreeView");
  // Tab left the memo instead of typing a tab character.
  EXPECT_FALSE(pool().Memo1()->toPlainText().contains(QLatin1Char('\t')));
  EXPECT_EQ(Tab(true), form_.Button17());
}

TEST_F(KeyboardTest, EnterAndSpacePressAFocusedButtonShortcutsTheToolBar) {
  Run("SCLEAR 1 ID `go` TEXT 10 LEFT 10 TOP 80 WIDTH 25 HEIGHT BUTTON");
  int clicks = 0;
  QObject::connect(pool().Button(1), &QPushButton::clicked, [&] { ++clicks; });
  pool().Button(1)->setFocus();
  QTest::keyClick(pool().Button(1), Qt::Key_Return);
  QTest::keyClick(pool().Button(1), Qt::Key_Enter);
  QTest::keyClick(pool().Button(1), Qt::Key_Space);
  EXPECT_EQ(clicks, 3);

  int reads = 0, writes = 0;
  QObject::connect(form_.Button16(), &QPushButton::clicked, [&] { ++reads; });
  QObject::connect(form_.Button17(), &QPushButton::clicked, [&] { ++writes; });
  QTest::keyClick(&form_, Qt::Key_R, Qt::ControlModifier);
  QTest::keyClick(&form_, Qt::Key_W, Qt::ControlModifier);
  QTest::keyClick(&form_, Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(writes, 2);
  // Their captions read as designed; Alt with the first letter presses them too.
  EXPECT_EQ(form_.Button16()->text().remove(QLatin1Char('&')), QStringLiteral("Чтение из устройства"));
  EXPECT_EQ(form_.Button16()->shortcut(), QKeySequence::mnemonic(form_.Button16()->text()));
}

TEST_F(WindowTest, TrafficMemosTakeNoTypingTheLinkMemoDoes) {
  EXPECT_TRUE(form_.MemoEV()->isReadOnly());
  EXPECT_TRUE(form_.MemoTerminal()->isReadOnly());
  EXPECT_TRUE(form_.MemoTerminalOut()->isReadOnly());
  EXPECT_FALSE(form_.MemoDebug()->isReadOnly());
  for (QPlainTextEdit* memo : {form_.MemoEV(), form_.MemoTerminal(), form_.MemoTerminalOut(), form_.MemoDebug()}) {
    EXPECT_FALSE(memo->focusPolicy() & Qt::TabFocus) << memo->objectName().toStdString();
    EXPECT_TRUE(memo->tabChangesFocus());
  }
}

TEST_F(WindowTest, MemoMenuSavesUtf8AndClears) {
  QTemporaryDir dir;
  form_.AddMemoLine(engine::Memo::kReceived, engine::Cp1251("Приём 01 02"));
  form_.AddMemoLine(engine::Memo::kReceived, "03 04");
  std::unique_ptr<QMenu> menu(ui::MakeMemoMenu(form_.MemoTerminal()));
  QAction* save = menu->findChild<QAction*>(QStringLiteral("SaveAs"));
  QAction* clear = menu->findChild<QAction*>(QStringLiteral("Clear"));
  ASSERT_TRUE(save && clear);
  EXPECT_EQ(save->text(), QStringLiteral("Сохранить как..."));
  EXPECT_EQ(clear->text(), QStringLiteral("Очистить"));
  // Qt's own entries are there as well, in Russian with Qt's translations.
  QStringList texts;
  for (QAction* action : menu->actions()) texts << action->text().remove(QLatin1Char('&'));
  EXPECT_TRUE(texts.join(' ').contains(QStringLiteral("Копировать"))) << texts.join('|').toStdString();

  dialogs_.chosen_file = dir.filePath("traffic.txt");
  save->trigger();
  EXPECT_EQ(dialogs_.initial_names.value(0), QStringLiteral("MemoTerminal.txt"));
  QFile saved(dialogs_.chosen_file);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
#ifdef _WIN32
  const QString eol = QStringLiteral("\r\n");  // a text file as Windows writes one
#else
  const QString eol = QStringLiteral("\n");
#endif
  EXPECT_EQ(QString::fromUtf8(saved.readAll()), QStringLiteral("Приём 01 02") + eol + "03 04" + eol);
  EXPECT_TRUE(form_.StatusText().contains(QStringLiteral("traffic.txt")));

  clear->trigger();
  EXPECT_TRUE(form_.MemoTerminal()->toPlainText().isEmpty());
  // A file that cannot be written is said so.
  form_.AddMemoLine(engine::Memo::kReceived, "x");
  dialogs_.chosen_file = dir.filePath("no/such/folder/t.txt");
  std::unique_ptr<QMenu>(ui::MakeMemoMenu(form_.MemoTerminal()))
      ->findChild<QAction*>(QStringLiteral("SaveAs"))->trigger();
  EXPECT_TRUE(form_.StatusText().startsWith(QStringLiteral("Не удалось сохранить")));
}

// A file that a full disk cannot take stays as it was, and the status says so.
TEST_F(WindowTest, MemoSavedOnAFullDiskLeavesTheOldFile) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has neither a tmpfs to mount nor a file-size limit";
#else
  QTemporaryDir dir;
  form_.AddMemoLine(engine::Memo::kReceived, std::string(6000, 'x'));
  const QString old_file = dir.filePath("old.txt");
  const QString new_file = dir.filePath("new.txt");
  auto save_to = [&](const QString& file) {
    dialogs_.chosen_file = file;
    std::unique_ptr<QMenu>(ui::MakeMemoMenu(form_.MemoTerminal()))
        ->findChild<QAction*>(QStringLiteral("SaveAs"))->trigger();
    return form_.StatusText();
  };
  const std::string answer = test_support::OnSmallDisk(
      dir.path().toStdString(), [&](test_support::SmallDisk& disk) {
        QFile old(old_file);
        if (!old.open(QIODevice::WriteOnly) || old.write("old\n") != 4) return std::string("setup");
        old.close();
        disk.Fill(0);
        std::string found;
        if (save_to(old_file) != QStringLiteral("Не удалось сохранить: ") + old_file +
                                     QStringLiteral(" (файл остался прежним)"))
          found += "old file's status: " + form_.StatusText().toStdString() + "; ";
        if (!old.open(QIODevice::ReadOnly) || old.readAll() != "old\n") found += "old file changed; ";
        if (save_to(new_file) != QStringLiteral("Не удалось сохранить: ") + new_file +
                                     QStringLiteral(" (файл не создан)"))
          found += "new file's status: " + form_.StatusText().toStdString() + "; ";
        if (QFile::exists(new_file)) found += "new file left; ";
        return found;
      });
  EXPECT_TRUE(answer.ends_with(": ok")) << answer;
#endif
}

}  // namespace
}  // namespace window_test
