// The start-up sequence: its order, START only with a link, the link memo, the trace log, the script cache, the stack and Timer1.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <fstream>

#include "event_harness.h"
#include "startup.h"
#include "timers.h"

namespace {

class RecordingWindow : public ui::StartUpWindow {
 public:
  explicit RecordingWindow(std::vector<std::string>& trail) : trail_(trail) {}
  void SetMemoDebugVisible(bool visible) override {
    trail_.push_back(visible ? "show-debug" : "hide-debug");
  }
  bool StartFirstLink() override {
    trail_.push_back("link");
    return link;
  }
  void ResizeToScreen() override { trail_.push_back("resize"); }
  void HideSingleControls() override { trail_.push_back("hide-singles"); }
  void PaintImage1() override { trail_.push_back("image1"); }
  bool link = false;

 private:
  std::vector<std::string>& trail_;
};

class StartUpTest : public ::testing::Test {
 protected:
  StartUpTest() : timer1_(engine_), window_(trail_) {
    engine::RegisterCoreWords(engine_);
    ui_test::RegisterMark(engine_, trail_);
    // SCLEAR belongs to the control words; here it only shows when it ran.
    engine_.Register("SCLEAR", [this](engine::Engine&, engine::Frame&) {
      trail_.push_back("SCLEAR");
    });
    folder_.Write(engine_, {{"START", "`START` MARK"}});
    saved_dir_ = QDir::currentPath();
    QDir::setCurrent(folder_.Dir());
  }
  ~StartUpTest() override { QDir::setCurrent(saved_dir_); }

  engine::Engine engine_;
  ui::DelayedScript timer1_;
  std::vector<std::string> trail_;
  RecordingWindow window_;
  ui_test::ScriptFolder folder_;
  QString saved_dir_;
};

TEST_F(StartUpTest, WithoutPortRunsSclearButNotStart) {
  EXPECT_FALSE(ui::RunStartUp(engine_, window_, false, timer1_));
  EXPECT_EQ(ui_test::Joined(trail_),
            "hide-debug link resize hide-singles SCLEAR image1");
}

TEST_F(StartUpTest, WithLinkRunsStartLastAfterSclearAndTheImagePaint) {
  window_.link = true;
  EXPECT_TRUE(ui::RunStartUp(engine_, window_, true, timer1_));
  EXPECT_EQ(ui_test::Joined(trail_),
            "show-debug link resize hide-singles SCLEAR image1 START");
}

TEST_F(StartUpTest, DelayedScriptStartedByStartSurvivesTheStartUp) {
  folder_.Write(engine_, {{"START", "\"`late` MARK \" 100000 STARTTIMER1"}});
  engine::AddWords(engine_, ui::kTimerWords, timer1_);
  window_.link = true;
  ui::RunStartUp(engine_, window_, false, timer1_);
  EXPECT_TRUE(timer1_.timer().isActive());
}

TEST_F(StartUpTest, ResetsEngineStateBeforeTheFirstLine) {
  // A trace log from an earlier run, a cached script file, values on the stack,
  // the hourglass as rest cursor and Timer1 running.
  std::ofstream(engine_.TraceLogPath()) << "old";
  engine_.ExecuteLine("START RUN");
  ASSERT_EQ(ui_test::Joined(trail_), "START");
  // Rewritten behind the cache's back: only the start-up's reset shows it.
  std::ofstream(engine_.script_file().path(), std::ios::binary) << ":START\r\n`NEW` MARK\r\n;\r\n";
  engine_.ExecuteLine("START RUN");
  ASSERT_EQ(ui_test::Joined(trail_), "START START");
  engine_.Push("left over");
  engine_.set_rest_cursor(engine::Cursor::kHourglass);
  timer1_.Start("`late` MARK ", 100000);
  trail_.clear();

  window_.link = true;
  ui::RunStartUp(engine_, window_, true, timer1_);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(engine_.TraceLogPath())));
  EXPECT_EQ(engine_.Depth(), 0);
  EXPECT_EQ(engine_.rest_cursor(), engine::Cursor::kArrow);
  EXPECT_FALSE(timer1_.timer().isActive());
  EXPECT_NE(ui_test::Joined(trail_).find("NEW"), std::string::npos);
}

}  // namespace
