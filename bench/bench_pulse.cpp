// What the long-line pulse costs a running line: the engine counts words and
// calls the pulse every kPulseWords; the window's pulse reads a clock and,
// once the line has run long, lets the window handle its events every 15 ms.
// Compared here: no pulse, and a pulse that only reads the clock.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "engine.h"

namespace {

class ClockPulse : public engine::LinePulse {
 public:
  void Pulse() override {
    benchmark::DoNotOptimize(std::chrono::steady_clock::now());
  }
  void Hold(std::string) override {}
  void LinesEnded() override {}
};

void ForSum(benchmark::State& state, engine::LinePulse* pulse) {
  engine::Engine e;
  engine::RegisterCoreWords(e);
  e.SetPulse(pulse);
  const std::string line = "0 " + std::to_string(state.range(0)) + " \"+\" FOR";
  for (auto _ : state) {
    e.ClearStack();
    e.ExecuteLine(line);
    benchmark::DoNotOptimize(e.StackValue(1));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ForSumNoPulse(benchmark::State& state) { ForSum(state, nullptr); }
void BM_ForSumClockPulse(benchmark::State& state) {
  ClockPulse pulse;
  ForSum(state, &pulse);
}
BENCHMARK(BM_ForSumNoPulse)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ForSumClockPulse)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
