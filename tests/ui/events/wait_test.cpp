// The device wait: WAITREAD holding back and releasing the rest of a line,
// the WaitTimer tick's idle test, MAXWAIT and the keep-alive restart.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <stdexcept>

#include "device_link.h"
#include "event_harness.h"
#include "device_wait.h"

namespace {

class FakeSlots : public device::LinkTable, public device::LinkEnd {
 public:
  device::LinkEnd* Slot(int number) override { return number == 1 && linked ? this : nullptr; }
  bool Idle() const override {
    if (throws) throw std::runtime_error("link gone");
    return idle;
  }
  bool Open() const override { return open; }
  bool Answered() const override { return true; }
  void AppendToQueue(const std::string&) override {}
  std::string LastCommand() const override { return {}; }
  void SetLastCommand(const std::string&) override {}
  void SetPacing(bool) override {}

  bool linked = true;
  bool idle = false;
  bool throws = false;
  bool open = true;
};

class CursorHost : public engine::Host {
 public:
  void ShowCursor(engine::Cursor cursor) override { shown = cursor; }
  engine::Cursor shown = engine::Cursor::kArrow;
};

class WaitTest : public ::testing::Test {
 protected:
  WaitTest() : engine_(&host_), wait_(engine_) {
    engine::RegisterCoreWords(engine_);
    engine::AddWords(engine_, device::kWaitWords, wait_);
    ui_test::RegisterMark(engine_, trail_);
    wait_.SetLinks(&slots_);
    QObject::connect(&wait_, &device::DeviceWait::IndicatorsChanged,
                     [this](bool on) { indicators_ = on; });
    folder_.Write(engine_, {{"ONSTARTWAIT", "`start` MARK"},
                            {"ONSTOPWAIT", "`stop` MARK"},
                            {"ONLINKLOST", "`lost` MARK"}});
  }

  std::string Trail() const { return ui_test::Joined(trail_); }

  CursorHost host_;
  engine::Engine engine_;
  device::DeviceWait wait_;
  FakeSlots slots_;
  ui_test::ScriptFolder folder_;
  std::vector<std::string> trail_;
  bool indicators_ = false;
};

TEST_F(WaitTest, ZeroMidLineRunsStopThenHeldBackThenRestAtOnce) {
  engine_.ExecuteLine("`a` MARK 500 WAITREAD `held` MARK");
  EXPECT_EQ(Trail(), "a start");
  EXPECT_TRUE(wait_.Armed());

  engine_.ExecuteLine("`x` MARK 0 WAITREAD `y` MARK");
  EXPECT_EQ(Trail(), "a start x stop held y");
  EXPECT_FALSE(wait_.Armed());
  EXPECT_TRUE(wait_.pending_script().empty());
  EXPECT_FALSE(indicators_);
  EXPECT_EQ(engine_.rest_cursor(), engine::Cursor::kArrow);
  EXPECT_EQ(host_.shown, engine::Cursor::kArrow);
  EXPECT_EQ(wait_.interval(), 0);

  // The phone read's answer ends a wait the same way, with no line of its own.
  engine_.ExecuteLine("500 WAITREAD `held2` MARK");
  wait_.End();
  EXPECT_EQ(Trail(), "a start x stop held y start stop held2");
  EXPECT_FALSE(wait_.Armed());
  EXPECT_FALSE(indicators_);
  EXPECT_EQ(host_.shown, engine::Cursor::kArrow);
}

TEST_F(WaitTest, PositiveIntervalEndsLineAndRestRunsAfterFirstIdleTick) {
  engine_.ExecuteLine("`a` MARK 500 WAITREAD `b` MARK");
  EXPECT_EQ(Trail(), "a start");
  EXPECT_TRUE(wait_.Armed());
  EXPECT_TRUE(indicators_);
  EXPECT_EQ(engine_.rest_cursor(), engine::Cursor::kHourglass);
  EXPECT_EQ(host_.shown, engine::Cursor::kHourglass);  // stays between lines
  EXPECT_EQ(wait_.timer().interval(), 500);

  wait_.Tick();  // link busy: polled again
  EXPECT_EQ(Trail(), "a start");
  EXPECT_TRUE(wait_.Armed());

  slots_.idle = true;
  wait_.Tick();
  EXPECT_EQ(Trail(), "a start stop b");
  EXPECT_FALSE(wait_.Armed());
  EXPECT_FALSE(indicators_);
  EXPECT_EQ(engine_.rest_cursor(), engine::Cursor::kArrow);
  EXPECT_EQ(host_.shown, engine::Cursor::kArrow);
  EXPECT_EQ(wait_.interval(), 500);  // not reset when the wait ends
}

TEST_F(WaitTest, RealTimerEndsTheWaitOnceTheLinkFallsIdle) {
  engine_.ExecuteLine("20 WAITREAD `done` MARK");
  QTest::qWait(120);
  EXPECT_EQ(Trail(), "start");  // several ticks found the link busy
  EXPECT_TRUE(wait_.Armed());
  slots_.idle = true;
  EXPECT_TRUE(QTest::qWaitFor([&] { return trail_.size() == 3; }, 2000));
  EXPECT_EQ(Trail(), "start stop done");
  QTest::qWait(60);
  EXPECT_EQ(trail_.size(), 3u);  // ran once
}

TEST_F(WaitTest, TwoHeldBackRestsAreJoinedInOrder) {
  engine_.ExecuteLine("500 WAITREAD `r1` MARK");
  engine_.ExecuteLine("700 WAITREAD `r2` MARK");
  EXPECT_EQ(wait_.pending_script(), "`r1` MARK `r2` MARK");
  EXPECT_EQ(wait_.timer().interval(), 700);
  slots_.idle = true;
  wait_.Tick();
  EXPECT_EQ(Trail(), "start start stop r1 r2");
}

TEST_F(WaitTest, WithoutLinkOrWithFailingIdleTestTheWaitNeverEndsByItself) {
  slots_.linked = false;
  engine_.ExecuteLine("500 WAITREAD `r` MARK");
  wait_.Tick();
  EXPECT_TRUE(wait_.Armed());
  slots_.linked = true;
  slots_.throws = true;
  wait_.Tick();
  EXPECT_TRUE(wait_.Armed());
  wait_.SetLinks(nullptr);
  wait_.Tick();
  EXPECT_TRUE(wait_.Armed());
  EXPECT_EQ(Trail(), "start");
  engine_.ExecuteLine("0 WAITREAD");  // what the dispatcher runs
  EXPECT_EQ(Trail(), "start stop r");
}

// A transfer cut off by a lost link never goes on against a device that comes
// back: its held-back words are dropped, wherever the loss is noticed.
TEST_F(WaitTest, ALostLinkEndsTheWaitAndDropsItsHeldBackWords) {
  int told = 0;
  wait_.SetOnLinkLost([&] { ++told; });
  engine_.ExecuteLine("500 WAITREAD `old` MARK");
  wait_.Tick();
  slots_.open = false;  // the port closed under the link
  wait_.Tick();
  EXPECT_FALSE(wait_.Armed());
  EXPECT_TRUE(wait_.pending_script().empty());
  EXPECT_FALSE(indicators_);
  EXPECT_EQ(engine_.rest_cursor(), engine::Cursor::kArrow);
  EXPECT_EQ(told, 1);

  slots_.open = true;
  engine_.ExecuteLine("500 WAITREAD `old` MARK");
  wait_.LinkLost();  // the supervision stops the link
  wait_.LinkLost();  // and again: no wait now
  EXPECT_EQ(told, 3);
  engine_.ExecuteLine("500 WAITREAD `new` MARK");
  slots_.idle = true;
  wait_.Tick();
  EXPECT_EQ(Trail(), "start stop lost start stop lost start stop new");
}

TEST_F(WaitTest, AWaitGivenUpDropsItsHeldBackWordsAndTellsTheScriptWhy) {
  using Abandoned = device::DeviceWait::Abandoned;
  int dropped = 0;
  wait_.SetOnAbandon([&] { ++dropped; });
  wait_.Abandon(Abandoned::kByOperator);  // no wait: nothing to give up
  engine_.ExecuteLine("500 WAITREAD `old` MARK");
  wait_.Abandon(Abandoned::kByOperator);
  EXPECT_FALSE(wait_.Armed());
  EXPECT_TRUE(wait_.pending_script().empty());
  EXPECT_FALSE(indicators_);
  EXPECT_EQ(dropped, 1);
  EXPECT_EQ(engine_.Depth(), 0);  // no ONCANCEL: no reason left behind

  folder_.Write(engine_, {{"ONSTOPWAIT", "`stop` MARK"}, {"ONCANCEL", "MARK"}});
  engine_.ExecuteLine("500 WAITREAD `old` MARK");
  wait_.Abandon(Abandoned::kByOperator);
  EXPECT_EQ(Trail(), "start stop stop 1");
}

TEST_F(WaitTest, WaitArmedAgainByHeldBackWordsKeepsItsHourglass) {
  engine_.ExecuteLine("500 WAITREAD 300 WAITREAD `last` MARK");
  slots_.idle = true;
  wait_.Tick();  // the held-back words arm a second wait
  EXPECT_TRUE(wait_.Armed());
  EXPECT_EQ(engine_.rest_cursor(), engine::Cursor::kHourglass);
  EXPECT_TRUE(indicators_);
  wait_.Tick();
  EXPECT_EQ(Trail(), "start stop start stop last");
}

TEST_F(WaitTest, MaxWaitHoldsTheKeepAliveAndTheEndOfAWaitClearsIt) {
  engine_.ExecuteLine("10000 WAITREAD");
  QTest::qWait(300);
  wait_.KeepAlive();
  EXPECT_GT(wait_.timer().remainingTime(), 9850);  // restarted in full

  engine_.ExecuteLine("1 MAXWAIT");
  EXPECT_EQ(wait_.max_wait(), 1);
  QTest::qWait(300);
  wait_.KeepAlive();
  EXPECT_LT(wait_.timer().remainingTime(), 9800);  // left running

  engine_.ExecuteLine("abc MAXWAIT");  // no number: unchanged
  EXPECT_EQ(wait_.max_wait(), 1);
  slots_.idle = true;
  wait_.Tick();
  EXPECT_EQ(wait_.max_wait(), 0);

  wait_.KeepAlive();  // no wait running: nothing starts
  EXPECT_FALSE(wait_.timer().isActive());
}

TEST_F(WaitTest, WaitReadWithoutNumberChangesNothing) {
  engine_.ExecuteLine("500 WAITREAD");
  engine_.ExecuteLine("`x` WAITREAD `after` MARK");
  EXPECT_EQ(Trail(), "start after");
  EXPECT_EQ(wait_.interval(), 500);
  EXPECT_TRUE(wait_.Armed());
}

}  // namespace
