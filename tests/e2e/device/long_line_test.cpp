// Long script lines in the real program against the simulated device on a
// pseudo-terminal: the link keeps answering polls while a line runs for
// seconds, the operator can stop the line (START too), and no other line runs
// inside it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QStatusBar>
#include <QWindow>
#include <chrono>

#include "cp1251.h"
#include "program_fixture.h"

namespace {

using device_e2e::FastDevice;
using device_e2e::Program;

// MAIN records its run; the nested FORs of LONG run about 10^9 words.
const char kScript[] =
    ":MAIN\r\nNEST \r\n;\r\n"
    ":INNER\r\nDROP 1000 \"DROP\" FOR \r\n;\r\n"
    ":MIDDLE\r\nDROP 1000 \"INNER RUN\" FOR \r\n;\r\n"
    ":LONG\r\n1000 \"MIDDLE RUN\" FOR \r\n;\r\n";

const char kRunning[] = "Выполняется строка скрипта. Остановить: Esc или «Прервать».";

class LongLine : public ::testing::Test, protected device_e2e::DeviceSession {
 protected:
  void SetUp() override {
    Begin(kScript);
    ASSERT_TRUE(Connect());
    program->form.show();
  }
  void Begin(const std::string& setup_kvs) {
    // A closed window must not end the event loops the tests still run.
    qApp->setQuitOnLastWindowClosed(false);
    ASSERT_TRUE(StartDevice(FastDevice()));
    QFile script(program->dir.filePath("Setup.KVS"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(setup_kvs.c_str());
    script.close();

    engine::Engine& e = program->engine;
    // A word that keeps the processor busy for a few microseconds, as a
    // word that works on a file or a table does.
    e.Register("TICK", [](engine::Engine& e, engine::Frame&) {
      e.Pop();
      const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(5);
      while (std::chrono::steady_clock::now() < until) {
      }
    });
    e.Register("OVER", [this](engine::Engine&, engine::Frame&) { line_over = true; });
    e.Register("NEST", [this](engine::Engine& e, engine::Frame&) {
      runs.push_back({e.nesting(), line_over});
    });
    e.Register("HOOKED", [this](engine::Engine& e, engine::Frame&) {
      hooked.push_back(e.Pop());
      runs.push_back({e.nesting(), line_over});
    });
  }
  void TearDown() override { StopDevice(); }

  // The status bar's "Прервать".
  QPushButton* StopButton() {
    for (QPushButton* button : program->form.StatusBar()->findChildren<QPushButton*>()) {
      if (button->text() == QString::fromUtf8("Прервать")) return button;
    }
    return &missing_button;
  }
  // A press and a release as the mouse gives them: to the window first, which
  // hands them to the widget under the pointer.
  void Click(QWidget* widget) {
    QTest::mouseClick(program->form.windowHandle(), Qt::LeftButton, {},
                      widget->mapTo(&program->form, widget->rect().center()));
  }
  std::string Status() { return program->form.StatusText().toStdString(); }
  // Runs the line and returns how long it took, in milliseconds.
  qint64 Timed(const std::string& line) {
    QElapsedTimer clock;
    clock.start();
    program->engine.ExecuteLine(line);
    return clock.elapsed();
  }

  struct Run {
    int nesting;
    bool after_line;
  };

  QPushButton missing_button;
  bool line_over = false;
  std::vector<Run> runs;
  std::vector<std::string> hooked;
};

TEST_F(LongLine, TheLinkAnswersPollsMeanwhileAndRecordsReachScriptsAfterTheLine) {
  program->engine.ExecuteLine("\"HOOKED\" 1 ONREADCK");
  const zsim::DeviceStats before = simulator->device().stats();
  const size_t commands_before = simulator->device().commands().size();
  bool button_shown = false;
  QTimer::singleShot(800, [&] { button_shown = StopButton()->isVisible(); });

  const qint64 ms = Timed("\"03 02 AD 03 \" 1 SENDCK \"02 02 C0 \" 1 SENDCK "
                          "300000 \"TICK\" FOR OVER");
  ASSERT_GT(ms, 1000) << "the line must run long for the test to mean anything";
  const zsim::DeviceStats& after = simulator->device().stats();
  // Polls kept coming and were answered all through the line. The simulated
  // device runs on this thread too, so it moves only when the window handles
  // events: a few exchanges a second at the least.
  EXPECT_GT(after.poll_replies - before.poll_replies, ms / 500);
  ASSERT_EQ(simulator->device().commands().size(), commands_before + 2);
  EXPECT_TRUE(button_shown);
  EXPECT_FALSE(StopButton()->isVisible());
  // Both answers arrived during the line; the hook saw them after it, in order.
  ASSERT_EQ(hooked.size(), 2u);
  EXPECT_EQ(hooked[0].substr(0, 17), "09 02 AC 03 80 00");
  EXPECT_EQ(hooked[1].substr(0, 8), "0F 02 C1");
  for (const Run& run : runs) {
    EXPECT_EQ(run.nesting, 1);
    EXPECT_TRUE(run.after_line);
  }
}

TEST_F(LongLine, EscOrTheStopButtonEndsTheLineAndNothingElse) {
  program->form.ShowStatus(engine::Cp1251("Выполнение строки прервано."));
  for (const bool by_button : {false, true}) {
    program->engine.ClearStack();
    program->engine.Push("kept");
    std::string status_meanwhile;
    QTimer::singleShot(700, [&] {
      status_meanwhile = Status();
      if (by_button) {
        Click(StopButton());
      } else {
        QTest::keyClick(program->form.windowHandle(), Qt::Key_Escape);
      }
    });
    const qint64 ms = Timed("DROP 1 2 + \"ran\" 9 ! LONG RUN 5 OVER");
    EXPECT_LT(ms, 5000) << by_button;
    EXPECT_FALSE(line_over);
    // The stores keep what the words before the stop did; the stack is as
    // the line found it, and the rest of the line did not run.
    EXPECT_EQ(program->engine.Cell(9), "ran");
    ASSERT_EQ(program->engine.Depth(), 1);
    EXPECT_EQ(program->engine.StackValue(1), "kept");
    EXPECT_EQ(status_meanwhile, kRunning);
    EXPECT_EQ(Status(), "Выполнение строки прервано.");
    EXPECT_FALSE(StopButton()->isVisible());
    EXPECT_FALSE(program->engine.busy());
    // The next line runs as ever.
    EXPECT_EQ(program->Pushed("2 3 +"), "5");
  }
}

TEST_F(LongLine, ALongLineThatEndsLeavesItsOwnStatusNotTheHint) {
  program->engine.ExecuteLine("100000 \"TICK\" FOR");
  EXPECT_EQ(Status(), "");
  program->engine.Register("SAY", [](engine::Engine& e, engine::Frame&) { e.ShowStatus("own"); });
  program->engine.ExecuteLine("100000 \"TICK\" FOR SAY");
  EXPECT_EQ(Status(), "own");
}

TEST_F(LongLine, NoLineRunsInsideALongOne) {
  // A timer, the record hook and a click on the tool-bar button all come
  // while the line runs.
  program->engine.ExecuteLine("\"NEST\" 100 STARTTIMER1 \"NEST\" 1 ONREADCK");
  QTimer::singleShot(600, [&] { QTest::mouseClick(program->form.Button16(), Qt::LeftButton); });
  bool closed = true;
  std::string status_after_close;
  QTimer::singleShot(700, [&] {
    closed = program->form.close();
    status_after_close = Status();
  });
  const qint64 ms = Timed("\"02 02 C0 \" 1 SENDCK 300000 \"TICK\" FOR OVER");
  ASSERT_GT(ms, 1000);
  // The timer's line and the hook's ran once the line was over, each on its
  // own; the click that came during the line was not taken.
  ASSERT_EQ(runs.size(), 2u);
  for (const Run& run : runs) {
    EXPECT_EQ(run.nesting, 1);
    EXPECT_TRUE(run.after_line);
  }
  // The window stayed while the line ran, said so, and closes after it.
  EXPECT_FALSE(closed);
  EXPECT_EQ(status_after_close,
            "Окно закроется, когда строка закончится. Остановить её: Esc или «Прервать».");
  EXPECT_TRUE(program->form.isVisible());
  // After the line, the button works again.
  Click(program->form.Button16());
  EXPECT_EQ(runs.size(), 3u);
  EXPECT_TRUE(device_e2e::WaitFor([&] { return !program->form.isVisible(); }, 2000));
}

class LongStart : public LongLine {
 protected:
  void SetUp() override {
    Begin(std::string(kScript) + ":START\r\n1 2 + LONG RUN OVER\r\n;\r\n");
    program->program->StartOnFirstShow({});
  }
};

TEST_F(LongStart, TheWindowIsOnScreenAndTheLineCanBeStopped) {
  bool exposed = false;
  std::string status_meanwhile;
  QTimer::singleShot(700, [&] {
    exposed = program->form.windowHandle()->isExposed();
    status_meanwhile = Status();
    Click(StopButton());
  });
  QElapsedTimer clock;
  clock.start();
  program->form.show();
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_TRUE(exposed);
  EXPECT_EQ(status_meanwhile, kRunning);
  EXPECT_FALSE(line_over);
  EXPECT_EQ(Status(), "Выполнение строки прервано.");
  EXPECT_EQ(program->engine.Depth(), 0);
}

}  // namespace
