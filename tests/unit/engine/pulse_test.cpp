// Long lines: the engine's pulse every kPulseWords words, stopping the running
// lines from it, and lines entered from inside the pulse held back.
#include <functional>
#include <string>
#include <vector>

#include "engine_test_support.h"

namespace {

using engine_test::EngineTest;

class RecordingPulse : public engine::LinePulse {
 public:
  explicit RecordingPulse(engine::Engine& engine) : engine_(engine) { engine_.SetPulse(this); }
  ~RecordingPulse() override { engine_.SetPulse(nullptr); }

  void Pulse() override {
    ++pulses;
    serials.push_back(engine_.line_serial());
    if (on_pulse) on_pulse();
  }
  void Hold(std::string line) override { held.push_back(std::move(line)); }
  void LinesEnded() override { ++ended; }

  engine::Engine& engine_;
  std::function<void()> on_pulse;
  int pulses = 0;
  int ended = 0;
  std::vector<uint32_t> serials;
  std::vector<std::string> held;
};

TEST_F(EngineTest, APulseComesEveryFewHundredWordsOfARunningLine) {
  RecordingPulse pulse(e_);
  Run("1 2 +");
  EXPECT_EQ(pulse.pulses, 0);
  EXPECT_EQ(pulse.ended, 0);  // no pulse, no end notice
  Run("10000 \"DROP\" FOR");  // 20000 words
  EXPECT_NEAR(pulse.pulses, 20000 / engine::Engine::kPulseWords, 2);
  EXPECT_EQ(pulse.ended, 1);
  // One serial for the whole line; the next line has the next one.
  EXPECT_EQ(pulse.serials.front(), pulse.serials.back());
  Run("1000 \"DROP\" FOR");
  EXPECT_EQ(pulse.serials.back(), pulse.serials.front() + 1);
  EXPECT_EQ(Stack(), std::vector<std::string>{"3"});
}

TEST_F(EngineTest, StoppingEndsEveryRunningLineAtItsNextWord) {
  RecordingPulse pulse(e_);
  e_.Register("INNER", [](engine::Engine& e, engine::Frame&) {
    e.ExecuteLine("\"inner\" 6 ! 100000 \"DROP\" FOR");
    e.Push("inner went on");
    e.ExecuteLine("\"inner after\" 6 !");
  });
  pulse.on_pulse = [&] {
    if (pulse.pulses % 3 == 0) e_.StopLines();
  };
  Run("long-text-of-the-bottom-value 12");
  // Each stop: the stores keep what the words wrote before it, nothing after
  // it runs in either line, and the stack is as the line found it, values it
  // had taken off included; stop after stop, nothing piles up.
  for (int stop = 1; stop <= 25; ++stop) {
    Run("DROP DROP 1 2 + \"before\" 5 ! INNER \"after\" 5 !");
    ASSERT_EQ(Stack(), (std::vector<std::string>{"long-text-of-the-bottom-value", "12"})) << stop;
    EXPECT_EQ(e_.Cell(5), "before");
    EXPECT_EQ(e_.Cell(6), "inner");
  }
  EXPECT_EQ(pulse.pulses, 75);
  EXPECT_EQ(pulse.ended, 25);
  EXPECT_FALSE(e_.busy());
  EXPECT_FALSE(e_.stopping());
  // The stop is over with the line: the next line runs whole.
  Run("CLEARSTEK 1 2 +");
  EXPECT_EQ(Stack(), std::vector<std::string>{"3"});
  // A stop while no line runs changes nothing.
  e_.StopLines();
  Run("4");
  EXPECT_EQ(Stack(), (std::vector<std::string>{"3", "4"}));
}

TEST_F(EngineTest, ALineEnteredFromThePulseIsHeldNotRun) {
  RecordingPulse pulse(e_);
  pulse.on_pulse = [&] {
    if (pulse.pulses == 1) e_.ExecuteLine("\"held\" 5 !");
  };
  Run("1000 \"DROP\" FOR");
  EXPECT_EQ(pulse.held, std::vector<std::string>{"\"held\" 5 !"});
  EXPECT_EQ(e_.Cell(5), "");
  // Lines nested by the words themselves still run (FORQUERY1, dialogs).
  e_.Register("NESTED", [](engine::Engine& e, engine::Frame&) { e.ExecuteLine("\"ran\" 6 !"); });
  Run("NESTED");
  EXPECT_EQ(e_.Cell(6), "ran");
}

}  // namespace
