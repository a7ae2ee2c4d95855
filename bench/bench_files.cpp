// Settings files: a KEY% reads the file only when it changed, and joins the
// chain, so a read must stay linear in the file (also for files of many tiny
// pieces); loading a 17 MB profile shows the slowest single word; every
// KEY! rewrites the whole file beside it and syncs it. Byte files: one OS
// call per READFILE and one open/close per WRITEFILE.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

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

// A profile of 17 MB: the shipped pages' sections behind a section of notes
// that holds a long value of 17 MB.
const std::string& BigProfile() {
  static const std::string path = [] {
    std::string text = "[Notes]\r\n";
    const std::string piece(1000, 'n');
    text += "Text=~" + piece + "~\r\n";
    for (int n = 1; n < 17000; ++n) text += "Text_" + std::to_string(n) + "=~" + piece + "~\r\n";
    text += "[Settings]\r\n";
    for (int i = 0; i < 64; ++i) text += "S" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    text += "[Phones]\r\nCount=10\r\n";
    for (int i = 1; i <= 10; ++i) text += "Phone" + std::to_string(i) + "=7900555000" + std::to_string(i) + "\r\n";
    text += "[Script]\r\nHex=" + std::string(2000, 'A') + "\r\n";
    return WriteFile("profile17.ini", text);
  }();
  return path;
}

// The keys the shipped pages read to load a profile, one KEY% each.
std::vector<std::pair<std::string, std::string>> ProfileKeys() {
  std::vector<std::pair<std::string, std::string>> keys;
  for (int i = 0; i < 64; ++i) keys.emplace_back("Settings", "S" + std::to_string(i));
  keys.emplace_back("Phones", "Count");
  for (int i = 1; i <= 10; ++i) keys.emplace_back("Phones", "Phone" + std::to_string(i));
  keys.emplace_back("Script", "Hex");
  return keys;
}

double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The slowest single KEY% of a load is what the link waits for.
template <typename ReadOne>
void LoadProfile(benchmark::State& state, ReadOne read_one) {
  const auto keys = ProfileKeys();
  double slowest = 0;
  double slowest_cpu = 0;
  for (auto _ : state) {
    for (const auto& [section, key] : keys) {
      const auto start = std::chrono::steady_clock::now();
      const double start_cpu = ThreadCpuMs();
      benchmark::DoNotOptimize(read_one(section, key));
      slowest_cpu = std::max(slowest_cpu, ThreadCpuMs() - start_cpu);
      slowest = std::max(slowest, std::chrono::duration<double, std::milli>(
                                      std::chrono::steady_clock::now() - start).count());
    }
  }
  // Wall time counts what a busy machine adds; CPU time is the word's own.
  state.counters["slowest_word_ms"] = slowest;
  state.counters["slowest_word_cpu_ms"] = slowest_cpu;
  state.counters["words"] = static_cast<double>(keys.size());
}

// As KEY% did before it kept the file: a fresh read for every word.
void BM_LoadProfile17MBReadingEachTime(benchmark::State& state) {
  std::string buffer;
  LoadProfile(state, [&](const std::string& section, const std::string& key) {
    return files::ReadLongValue(buffer, BigProfile(), section, key);
  });
}
BENCHMARK(BM_LoadProfile17MBReadingEachTime)->Unit(benchmark::kMillisecond)->Iterations(1);

// KEY% words: the file read once per load (each iteration a new load).
void BM_LoadProfile17MB(benchmark::State& state) {
  engine::Engine e;
  engine::RegisterCoreWords(e);
  files::FileWordsState file_state;
  files::RegisterFileWords(e, file_state);
  e.ExecuteLine("\"" + BigProfile() + "\" FILENAME");
  LoadProfile(state, [&](const std::string& section, const std::string& key) {
    if (section == "Settings" && key == "S0") file_state.settings.Forget(BigProfile());
    e.ExecuteLine("`" + section + "` SECTION `" + key + "` KEY%");
    return e.Pop();
  });
}
BENCHMARK(BM_LoadProfile17MB)->Unit(benchmark::kMillisecond);

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
