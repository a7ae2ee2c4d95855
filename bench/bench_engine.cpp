// The interpreter's cost per word: a FOR loop must scale linearly with its
// count (O(1) per consumed word, O(body) per insert), and RUN pays one text
// search in the cached script file per call.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine.h"

namespace {

void BM_ForSum(benchmark::State& state) {
  engine::Engine e;
  engine::RegisterCoreWords(e);
  const std::string line = "0 " + std::to_string(state.range(0)) + " \"+\" FOR";
  for (auto _ : state) {
    e.ClearStack();
    e.ExecuteLine(line);
    benchmark::DoNotOptimize(e.StackValue(1));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ForSum)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A script file the size of a real one (~120 kB of definitions) with the called
// definitions near its end, so every RUN searches most of the cache.
std::string WriteScriptFile() {
  std::string dir = (std::filesystem::temp_directory_path() / "zelt-bench-XXXXXX").string();
  if (!mkdtemp(dir.data())) std::abort();
  std::ofstream out(dir + "/Setup.KVS", std::ios::binary);
  for (int i = 0; i < 1500; ++i)
    out << ":PAGE" << i << "\r\n\"Label " << i << "\" 10 20 LABEL {page} 1 2 + DROP\r\n;\r\n";
  out << ":INC\r\n1 +\r\n;\r\n:STEP\r\nINC RUN DUP 2 DIV DROP\r\n;\r\n";
  return dir + "/Setup.KVS";
}

void BM_RunHeavy(benchmark::State& state) {
  static const std::string path = WriteScriptFile();
  engine::Engine e;
  engine::RegisterCoreWords(e);
  e.script_file().SetPath(path);
  const std::string line = "0 " + std::to_string(state.range(0)) + " \"DROP STEP RUN\" FOR";
  for (auto _ : state) {
    e.ClearStack();
    e.ExecuteLine(line);
    benchmark::DoNotOptimize(e.StackValue(1));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * 2);  // two RUNs each
}
BENCHMARK(BM_RunHeavy)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
