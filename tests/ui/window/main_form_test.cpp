// The window's layout, memos, status bar, level bar and start.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "device_session.h"
#include "event_system.h"
#include "level_image.h"
#include "queued_memo.h"
#include "tool_bar_row.h"
#include "window_harness.h"

namespace window_test {
namespace {

using ui::LevelImage;

// A tool-bar widget sits at its designed place unless the one before it has
// grown past that (a wider font than the designed one): then just after it.
void ExpectDesignedPlace(const QWidget* widget, QPoint designed, const QWidget* before) {
  const int after_before = before->geometry().right() + 1 + ui::ToolBarRow::kGap;
  EXPECT_EQ(widget->pos(), QPoint(std::max(designed.x(), after_before), designed.y()))
      << widget->objectName().toStdString();
}

TEST_F(WindowTest, TitleAndDesignedLayout) {
  EXPECT_EQ(form_.windowTitle(), QStringLiteral("Tavel Программтор ZELT-2 GSM V1.0.0.1"));
  form_.show();
  QApplication::processEvents();
  EXPECT_EQ(form_.PanelToolBar()->height(), 41);
  EXPECT_EQ(form_.PanelTree()->width(), 201);
  EXPECT_EQ(form_.PanelSet()->size(), QSize(578, 500));
  EXPECT_EQ(form_.PanelTit()->height(), 17);
  EXPECT_EQ(form_.PanelMonitor()->height(), 73);
  EXPECT_EQ(form_.StatusBar()->height(), 21);
  EXPECT_EQ(form_.MemoEV()->width(), 200);
  EXPECT_EQ(form_.MemoTerminal()->width(), 288);
  EXPECT_EQ(form_.MemoTerminal()->x(), 200);

  EXPECT_EQ(form_.Label41()->pos(), QPoint(8, 12));
  EXPECT_EQ(form_.Label41()->text(), QStringLiteral("Подключение к оборудованию через:"));
  ExpectDesignedPlace(form_.ComboBoxCom(), QPoint(216, 8), form_.Label41());
  EXPECT_EQ(form_.ComboBoxCom()->width(), 73);
  EXPECT_FALSE(form_.ComboBoxCom()->isEditable());
  ExpectDesignedPlace(form_.LabelStatCon(), QPoint(296, 12), form_.ComboBoxCom());
  EXPECT_EQ(form_.LabelStatCon()->text(), QStringLiteral("ZELT-2GSM - Нет подключения."));
  ExpectDesignedPlace(form_.Button16(), QPoint(472, 8), form_.LabelStatCon());
  EXPECT_EQ(form_.Button16()->size(), QSize(129, 25));
  // The first letters are underlined for Alt.
  EXPECT_EQ(form_.Button16()->text(), QStringLiteral("&Чтение из устройства"));
  ExpectDesignedPlace(form_.Button17(), QPoint(616, 8), form_.Button16());
  EXPECT_EQ(form_.Button17()->size(), QSize(129, 25));
  EXPECT_EQ(form_.Button17()->text(), QStringLiteral("&Запись в устройство"));
  EXPECT_EQ(form_.Button16()->toolTip(), QStringLiteral("Чтение из устройства (Ctrl+R)"));
  EXPECT_EQ(form_.Button17()->toolTip(), QStringLiteral("Запись в устройство (Ctrl+W)"));
  EXPECT_EQ(form_.LabelStat()->pos(), QPoint(64, 1));
  EXPECT_EQ(form_.LabelR()->pos(), QPoint(208, 1));
  EXPECT_EQ(form_.LabelFiltr()->text(), QStringLiteral("Фильтр: Все"));
  EXPECT_EQ(form_.LabelT()->text(), QStringLiteral("Передача"));
  EXPECT_EQ(form_.TreeView()->indentation(), 19);
  EXPECT_EQ(pool().Image1()->geometry(), QRect(264, 8, 185, 57));

  // The user widens the window: the page area takes the room.
  form_.resize(979, 700);
  QApplication::processEvents();
  EXPECT_EQ(form_.PanelTree()->width(), 201);
  EXPECT_EQ(form_.PanelSet()->width(), 778);
  EXPECT_EQ(form_.PanelMonitor()->height(), 73);
}

// A larger font and a long port name: the tool bar's widgets move right rather
// than cover one another, and the port box shows the whole name where there is
// room; in the narrowest window the name gives way to the buttons.
TEST_F(WindowTest, ToolBarMakesRoomForALargerFontAndALongPortName) {
  form_.show();
  form_.ComboBoxCom()->addItem(
      QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
  QApplication::processEvents();
  EXPECT_GT(form_.ComboBoxCom()->width(), 73);
  EXPECT_LE(form_.Button17()->geometry().right(), form_.PanelToolBar()->width());

  form_.ComboBoxCom()->clear();
  form_.resize(1100, form_.height());
  const QString port = QStringLiteral("/dev/ttyUSB10");
  form_.ComboBoxCom()->addItem(port);
  QFont font = form_.PanelToolBar()->font();
  font.setPointSizeF(font.pointSizeF() * 1.5);
  form_.PanelToolBar()->setFont(font);
  QApplication::processEvents();
  const QList<QWidget*> row{form_.Label41(), form_.ComboBoxCom(), form_.LabelStatCon(),
                            form_.Button16(), form_.Button17()};
  for (int i = 1; i < row.size(); ++i) {
    EXPECT_LT(row[i - 1]->geometry().right(), row[i]->x()) << i;
  }
  EXPECT_GE(form_.Label41()->width(), form_.Label41()->sizeHint().width());
  EXPECT_GT(form_.ComboBoxCom()->width(),
            form_.ComboBoxCom()->fontMetrics().horizontalAdvance(port) + 16);
}

// Event lines wrap in the narrow memo; the memo keeps showing the newest.
TEST_F(WindowTest, EventMemoFollowsItsWrappedLines) {
  form_.show();
  QApplication::processEvents();
  QScrollBar* bar = form_.MemoEV()->verticalScrollBar();
  for (int i = 1; i <= 12; ++i) {
    form_.AddMemoLine(engine::Memo::kEvents,
                      "the write was cut off: the link was lost during it " + std::to_string(i));
    if (i % 3) continue;  // lines come in bursts too
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), bar->maximum()) << i;
  }
  bar->setValue(0);  // the operator reads back: the memo stays there
  form_.AddMemoLine(engine::Memo::kEvents, "later");
  EXPECT_EQ(bar->value(), 0);
}

TEST_F(WindowTest, TerminalMemosStartAgainPastTwoHundredLines) {
  for (int i = 1; i <= 200; ++i) form_.AddMemoLine(engine::Memo::kReceived, "r " + std::to_string(i));
  EXPECT_EQ(form_.MemoTerminal()->document()->blockCount(), 200);
  form_.AddMemoLine(engine::Memo::kReceived, "r 201");
  EXPECT_TRUE(form_.MemoTerminal()->toPlainText().isEmpty());
  form_.AddMemoLine(engine::Memo::kReceived, "r 202");
  EXPECT_EQ(form_.MemoTerminal()->toPlainText(), "r 202");

  for (int i = 1; i <= 201; ++i) form_.MemoDebug()->appendPlainText("d");
  EXPECT_TRUE(form_.MemoDebug()->toPlainText().isEmpty());
  for (int i = 1; i <= 201; ++i) form_.AddMemoLine(engine::Memo::kSent, "s");
  EXPECT_TRUE(form_.MemoTerminalOut()->toPlainText().isEmpty());

  for (int i = 1; i <= 250; ++i) form_.AddMemoLine(engine::Memo::kEvents, "e");
  EXPECT_EQ(form_.MemoEV()->document()->blockCount(), 250);
}

// Lines queued for the link memo leave it as line-by-line appends would
// leave a capped memo (the terminal memo here), whatever the batches.
TEST_F(WindowTest, QueuedMemoLinesKeepTheirOrderAndTheCap) {
  const std::vector<std::vector<int>> batch_rows = {
      {1, 1, 1},  {199, 1, 1, 1},  {200, 1},   {201},  {250, 150},
      {402},      {3, 600},        {199, 2},   {401, 1, 199}};
  int serial = 0;
  for (const auto& batches : batch_rows) {
    form_.MemoDebug()->clear();
    form_.MemoTerminal()->clear();
    ui::QueuedMemo queued(form_.MemoDebug(), ui::TMainForm::kMemoLineCap);
    for (const int size : batches) {
      for (int i = 0; i < size; ++i) {
        const std::string line = "l " + std::to_string(++serial);
        queued.Append(QString::fromStdString(line));
        form_.AddMemoLine(engine::Memo::kReceived, line);
      }
      queued.Flush();
      EXPECT_EQ(form_.MemoDebug()->toPlainText(), form_.MemoTerminal()->toPlainText())
          << "after a batch of " << size;
    }
  }
  // Nothing is laid out until the tick.
  form_.MemoDebug()->clear();
  ui::QueuedMemo queued(form_.MemoDebug(), ui::TMainForm::kMemoLineCap);
  queued.Append(QStringLiteral("a"));
  queued.Append(QStringLiteral("b"));
  EXPECT_TRUE(form_.MemoDebug()->toPlainText().isEmpty());
  EXPECT_TRUE(QTest::qWaitFor([&] { return form_.MemoDebug()->toPlainText() == QStringLiteral("a\nb"); }));
}

TEST_F(WindowTest, StatusCursorIndicatorsAndSet) {
  form_.ShowStatus(engine::Cp1251("Ожидание ответа оборудования."));
  EXPECT_EQ(form_.StatusText(), QStringLiteral("Ожидание ответа оборудования."));
  form_.AddMemoLine(engine::Memo::kEvents, engine::Cp1251("Событие 01.02-03:04:05"));
  EXPECT_EQ(form_.MemoEV()->toPlainText(), QStringLiteral("Событие 01.02-03:04:05"));

  form_.ShowCursor(engine::Cursor::kHourglass);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  form_.ShowCursor(engine::Cursor::kArrow);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  form_.SetWaitIndicators(true);
  EXPECT_EQ(form_.LabelR()->palette().color(QPalette::Window), QColor(0, 255, 0));
  EXPECT_EQ(form_.LabelT()->palette().color(QPalette::Window), QColor(0, 255, 0));
  form_.SetWaitIndicators(false);
  EXPECT_EQ(form_.LabelT()->palette().color(QPalette::Window), LevelImage::FaceColor());

  form_.show();
  // A long text never widens the window past the screen.
  const int width = form_.width();
  form_.ShowStatus(std::string(3000, 'W'));
  QCoreApplication::processEvents();
  EXPECT_EQ(form_.width(), width);
  EXPECT_LE(form_.minimumSizeHint().width(), form_.screen()->availableGeometry().width());

  Run("0 SET");
  EXPECT_FALSE(form_.PanelSet()->isVisible());
  EXPECT_FALSE(form_.TreeView()->isEnabled());
  Run("1 SET");
  EXPECT_TRUE(form_.PanelSet()->isVisible());
  EXPECT_TRUE(form_.TreeView()->isEnabled());
}

// Pixels of the bar whose lowest row is y: column i is blue, grey or untouched.
void ExpectBar(const QImage& surface, int x, int y, int blue_columns) {
  const QRgb face = LevelImage::FaceColor().rgb();
  for (int i = 0; i < LevelImage::kColumns; ++i) {
    const int height = ui::LevelColumnHeight(i);
    const bool gap = ui::IsLevelGapColumn(i);
    const QRgb want = gap || height == 0 ? face
                      : i < blue_columns ? LevelImage::BarColor().rgb()
                                         : LevelImage::ShadowColor().rgb();
    for (int row = 0; row < height; ++row) {
      ASSERT_EQ(surface.pixel(x + i, y - row), want) << "column " << i << " row " << row;
    }
    ASSERT_EQ(surface.pixel(x + i, y - height), face) << "above column " << i;
  }
  EXPECT_EQ(ui::LevelColumnHeight(67), 13);
}

TEST_F(WindowTest, LevelBarPixels) {
  Run("SCLEAR 10 LEFT 40 TOP 50 INDLEVEL");
  EXPECT_TRUE(pool().Image1()->isVisibleTo(form_.PanelSet()));
  ExpectBar(pool().Image1()->surface(), 10, 40, 34);
  Run("100 INDLEVEL");
  ExpectBar(pool().Image1()->surface(), 10, 40, 68);
  Run("0 INDLEVEL");
  ExpectBar(pool().Image1()->surface(), 10, 40, 0);

  pool().Image1()->FillSurface();
  Run("44 INDLEVEL");
  const QImage level44 = pool().Image1()->surface();
  pool().Image1()->FillSurface();
  Run("300 INDLEVEL");
  EXPECT_EQ(pool().Image1()->surface(), level44);
  EXPECT_EQ(ui::LevelMark(44), 30);
  EXPECT_EQ(ui::LevelMark(1), 0);
  EXPECT_EQ(ui::LevelMark(5), 3);  // 3.5 goes to the even 4

  // No number: Image1 is shown and nothing is drawn; far-off marks are clipped.
  Run("SCLEAR");
  pool().Image1()->FillSurface();
  Run("-500 LEFT 99999 TOP abc INDLEVEL 100 INDLEVEL");
  EXPECT_TRUE(pool().Image1()->isVisibleTo(form_.PanelSet()));
  QImage blank(pool().Image1()->surface().size(), pool().Image1()->surface().format());
  blank.fill(LevelImage::FaceColor());
  EXPECT_EQ(pool().Image1()->surface(), blank);
}

// The start-up finds no port.
struct NoPort : ui::DeviceReach {
  bool StartFirstLink() override { return false; }
  std::string ToolBarRefusal() const override { return {}; }
};

class WindowStartTest : public WindowTest {
 protected:
  WindowStartTest()
      : session_(engine_),
        events_(form_, *form_.TreeView(), *form_.StatusBar(), engine_, session_.wait(),
                session_.links(), no_port_) {}
  void SetUp() override {
    saved_dir_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
  }
  void TearDown() override { QDir::setCurrent(saved_dir_); }

  QTemporaryDir dir_;
  QString saved_dir_;
  device::DeviceSession session_;
  NoPort no_port_;
  ui::EventSystem events_;
};

TEST_F(WindowStartTest, DebugShowsMemoDebug) {
  events_.StartUp(true);
  form_.show();
  EXPECT_TRUE(form_.MemoDebug()->isVisible());
}

TEST_F(WindowStartTest, WithoutDebugTheTreeFillsItsArea) {
  events_.StartUp(false);
  form_.show();
  QApplication::processEvents();
  EXPECT_FALSE(form_.MemoDebug()->isVisible());
  EXPECT_EQ(form_.TreeView()->height(), form_.PanelTree()->contentsRect().height());
}

}  // namespace
}  // namespace window_test
