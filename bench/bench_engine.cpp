// The interpreter's cost per word: a FOR loop must scale linearly with its
// count (O(1) per consumed word, O(body) per insert), and RUN pays one lookup
// in the cached script file per call. Also what the long-line pulse costs a
// running line: the engine counts words and calls the pulse every
// kPulseWords; the window's pulse reads a clock there.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine.h"

namespace {

class ClockPulse : public engine::LinePulse {
 public:
  void Pulse() override { benchmark::DoNotOptimize(std::chrono::steady_clock::now()); }
  void Hold(std::string) override {}
  void LinesEnded() override {}
};

// Runs `body` as a FOR loop of state.range(0) iterations on a fresh engine.
void Loop(benchmark::State& state, const std::string& body, engine::LinePulse* pulse = nullptr,
          const std::string& script_path = "") {
  engine::Engine e;
  engine::RegisterCoreWords(e);
  e.SetPulse(pulse);
  if (!script_path.empty()) e.script_file().SetPath(script_path);
  const std::string line = "0 " + std::to_string(state.range(0)) + " \"" + body + "\" FOR";
  for (auto _ : state) {
    e.ClearStack();
    e.ExecuteLine(line);
    benchmark::DoNotOptimize(e.StackValue(1));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ForSum(benchmark::State& state) { Loop(state, "+"); }
BENCHMARK(BM_ForSum)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond);

void BM_ForSumClockPulse(benchmark::State& state) {
  ClockPulse pulse;
  Loop(state, "+", &pulse);
}
BENCHMARK(BM_ForSumClockPulse)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A body that is not split into words once (a quoted group in it).
void BM_ForSumQuoted(benchmark::State& state) { Loop(state, "`1` DROP +"); }
BENCHMARK(BM_ForSumQuoted)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A script file the size of a real one (~120 kB of definitions) with the called
// definitions near its end.
std::string WriteScriptFile() {
  std::string dir = (std::filesystem::temp_directory_path() / "zelt-bench-XXXXXX").string();
  if (!mkdtemp(dir.data())) std::abort();
  std::ofstream out(dir + "/Setup.KVS", std::ios::binary);
  for (int i = 0; i < 1500; ++i)
    out << ":PAGE" << i << "\r\n\"Label " << i << "\" 10 20 LABEL {page} 1 2 + DROP\r\n;\r\n";
  out << ":INC\r\n1 +\r\n;\r\n:STEP\r\nINC RUN DUP 2 DIV DROP\r\n;\r\n";
  return dir + "/Setup.KVS";
}

// Two RUNs an iteration.
void BM_RunHeavy(benchmark::State& state) {
  static const std::string path = WriteScriptFile();
  Loop(state, "DROP STEP RUN", nullptr, path);
}
BENCHMARK(BM_RunHeavy)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
