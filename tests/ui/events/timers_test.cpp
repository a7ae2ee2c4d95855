// Timer1 with STARTTIMER1.
#include <gtest/gtest.h>

#include <QTest>

#include "event_harness.h"
#include "timers.h"

namespace {

class TimersTest : public ::testing::Test {
 protected:
  TimersTest() : timer1_(engine_) {
    engine::RegisterCoreWords(engine_);
    engine::AddWords(engine_, ui::kTimerWords, timer1_);
    ui_test::RegisterMark(engine_, trail_);
  }
  engine::Engine engine_;
  ui::DelayedScript timer1_;
  std::vector<std::string> trail_;
};

TEST_F(TimersTest, StartTimer1RunsItsScriptOnce) {
  engine_.ExecuteLine("\"`fired` MARK \" 40 STARTTIMER1");
  EXPECT_TRUE(timer1_.timer().isActive());
  EXPECT_EQ(timer1_.timer().interval(), 40);
  EXPECT_TRUE(trail_.empty());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !trail_.empty(); }, 2000));
  QTest::qWait(150);
  EXPECT_EQ(ui_test::Joined(trail_), "fired");
  EXPECT_FALSE(timer1_.timer().isActive());
}

TEST_F(TimersTest, SecondStartBeforeTheTickReplacesScriptAndPeriod) {
  engine_.ExecuteLine("\"`first` MARK \" 30 STARTTIMER1");
  engine_.ExecuteLine("\"`second` MARK \" 60 STARTTIMER1");
  EXPECT_EQ(timer1_.timer().interval(), 60);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !trail_.empty(); }, 2000));
  QTest::qWait(120);
  EXPECT_EQ(ui_test::Joined(trail_), "second");
}

TEST_F(TimersTest, EmptyScriptTickOnlyStopsTheTimer) {
  engine_.ExecuteLine("\"\" 20 STARTTIMER1");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !timer1_.timer().isActive(); }, 2000));
  EXPECT_TRUE(trail_.empty());
  EXPECT_EQ(engine_.Depth(), 0);
}

TEST_F(TimersTest, FailingPeriodKeepsTheScriptAndLeavesTheTimerAsItWas) {
  engine_.ExecuteLine("\"`one` MARK \" 5000 STARTTIMER1");
  engine_.ExecuteLine("\"`two` MARK \" soon STARTTIMER1");
  EXPECT_EQ(timer1_.script(), "`two` MARK ");
  EXPECT_TRUE(timer1_.timer().isActive());
  EXPECT_EQ(timer1_.timer().interval(), 5000);
  EXPECT_EQ(engine_.Depth(), 0);
}

TEST_F(TimersTest, NonPositivePeriodNeverFires) {
  engine_.ExecuteLine("\"`never` MARK \" 0 STARTTIMER1");
  EXPECT_FALSE(timer1_.timer().isActive());
  QTest::qWait(50);
  EXPECT_TRUE(trail_.empty());
}

}  // namespace
