// Settings files: every KEY% reloads the file and joins the chain, so a read
// must stay linear in the file (also for files of many tiny pieces); every
// KEY! rewrites the whole file beside it and syncs it. Byte files: one OS
// call per READFILE and one open/close per WRITEFILE.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine.h"
#include "file_words.h"
#include "long_value.h"
#include "settings_reader.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder, removed when the program ends.
struct ScratchFolder {
  ScratchFolder() {
    path = (fs::temp_directory_path() / "zelt-bench-files-XXXXXX").string();
    if (!mkdtemp(path.data())) std::abort();
  }
  ~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  std::string path;
};

const std::string& Folder() {
  static const ScratchFolder folder;
  return folder.path;
}

std::string WriteFile(const std::string& leaf, const std::string& bytes) {
  std::string path = Folder() + "/" + leaf;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  return path;
}

// A settings file of 100 ordinary keys and one long value of `size` bytes.
std::string SettingsFile(size_t size) {
  std::string path = Folder() + "/long" + std::to_string(size) + ".ini";
  std::string value(size, 'v');
  files::WriteLongValue(path, "Main", "Data", value);
  for (int i = 0; i < 100; ++i)
    files::WriteLongValue(path, "Main", "Key" + std::to_string(i), "value " + std::to_string(i));
  return path;
}

void BM_ReadLongValue(benchmark::State& state) {
  std::string path = SettingsFile(state.range(0));
  std::string buffer;
  for (auto _ : state)
    benchmark::DoNotOptimize(files::ReadLongValue(buffer, path, "Main", "Data"));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadLongValue)->Arg(2500)->Arg(100000)->Arg(480000)->Unit(benchmark::kMicrosecond);

// 500 kB of pieces of one character each: some 60000 lookups in one read.
void BM_JoinManyTinyPieces(benchmark::State& state) {
  std::string text = "[M]\r\nK=~a~\r\n";
  for (int n = 1; text.size() < files::kFileReadLimit - 20; ++n)
    text += "K_" + std::to_string(n) + "=a\r\n";
  int64_t pieces = 0;
  for (auto _ : state) {
    std::string value = files::JoinLongValue(text, "M", "K");
    pieces = static_cast<int64_t>(value.size());
    benchmark::DoNotOptimize(value);
  }
  state.counters["pieces"] = static_cast<double>(pieces);
}
BENCHMARK(BM_JoinManyTinyPieces)->Unit(benchmark::kMillisecond);

void BM_WriteLongValue(benchmark::State& state) {
  std::string path = SettingsFile(2500);
  std::string value(state.range(0), 'w');
  for (auto _ : state) files::WriteLongValue(path, "Main", "Data", value);
}
BENCHMARK(BM_WriteLongValue)->Arg(100)->Arg(2500)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_ReadFileByteByByte(benchmark::State& state) {
  std::string path = WriteFile("bytes.bin", std::string(state.range(0), 'b'));
  engine::Engine e;
  engine::RegisterCoreWords(e);
  files::FileWordsState file_state;
  files::RegisterFileWords(e, file_state);
  std::string line = "\"" + path + "\" OPENFILE DROP ";
  for (int i = 0; i < state.range(0); ++i) line += "READFILE DROP ";
  line += "CLOSEFILE";
  for (auto _ : state) e.ExecuteLine(line);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadFileByteByByte)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_WriteFileByteByByte(benchmark::State& state) {
  std::string path = Folder() + "/written.bin";
  engine::Engine e;
  engine::RegisterCoreWords(e);
  files::FileWordsState file_state;
  files::RegisterFileWords(e, file_state);
  std::string line;
  for (int i = 0; i < state.range(0); ++i) line += "65 \"" + path + "\" WRITEFILE ";
  for (auto _ : state) {
    e.ExecuteLine(line);
    state.PauseTiming();
    fs::remove(path);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteFileByteByByte)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
