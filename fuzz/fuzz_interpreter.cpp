// ExecuteLine on arbitrary bytes. Scripts may loop for a long time by design
// (FOR counts up to 2^31, nested FORs multiply, "&" and STRHEX grow values
// without limit), so the harness caps the work a single input can ask for:
// the text all FORs together may insert and the size of a grown value.
// Everything else runs as in the program.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine.h"

namespace {

constexpr size_t kMaxInput = 4096;
constexpr size_t kForBudget = 64 << 10;  // bytes all FORs of one input may insert
constexpr size_t kMaxValue = 64 << 10;   // a value grown by "&", MID or STRHEX

std::string start_dir;    // where the fuzzer was started; its paths are relative to it
std::string scratch_dir;  // Setup.KVS and KVSmon.Log of the inputs

// Setup.KVS and KVSmon.Log are the working directory's: each input runs in a
// scratch folder of its own, and the fuzzer's folder is back before libFuzzer
// reads or writes its corpus (given as a relative path, it would be lost).
void EnterScratchDirectory() {
  if (scratch_dir.empty()) {
    std::string dir = (std::filesystem::temp_directory_path() / "zelt-fuzz-XXXXXX").string();
    if (!mkdtemp(dir.data())) abort();
    scratch_dir = dir;
    FILE* script = std::fopen((scratch_dir + "/Setup.KVS").c_str(), "wb");
    if (!script) abort();
    std::fputs(":A\r\n1 + \"x;y\" DROP\r\n;\r\n:B\r\nA RUN DUP 0 IF A RUN FI\r\n;\r\n", script);
    std::fclose(script);
  }
  if (chdir(scratch_dir.c_str()) != 0) abort();
}

void LeaveScratchDirectory() {
  std::remove("KVSmon.Log");
  if (chdir(start_dir.c_str()) != 0) abort();
}

}  // namespace

// A crash is written while the input runs in the scratch folder: unless the
// command line says otherwise, crash files go to the fuzzer's own folder.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  start_dir = std::filesystem::current_path().string();
  for (int i = 1; i < *argc; ++i)
    if (std::string((*argv)[i]).rfind("-artifact_prefix=", 0) == 0) return 0;
  static std::vector<char*> args((*argv), (*argv) + *argc);
  static std::string prefix = "-artifact_prefix=" + start_dir + "/";
  args.push_back(prefix.data());
  args.push_back(nullptr);
  *argc = static_cast<int>(args.size()) - 1;
  *argv = args.data();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput) return 0;
  EnterScratchDirectory();

  engine::Engine e;
  engine::RegisterCoreWords(e);

  size_t budget = kForBudget;
  const engine::WordHandler real_for = e.FindWord("FOR");
  e.Register("FOR", [&budget, real_for](engine::Engine& en, engine::Frame& f) {
    engine::Value body = en.Pop();
    auto count = engine::ToNumber(en.Pop());
    if (!count) throw engine::Fault{};
    const size_t each = body.size() + 12;
    int32_t granted = *count;
    if (granted > 0) {
      granted = static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(granted), budget / each));
      budget -= static_cast<size_t>(granted) * each;
    }
    en.Push(engine::NumberToText(granted));
    en.Push(std::move(body));
    real_for(en, f);
  });
  for (const char* name : {"&", "MID", "STRHEX"}) {
    const engine::WordHandler real = e.FindWord(name);
    e.Register(name, [real](engine::Engine& en, engine::Frame& f) {
      real(en, f);
      if (en.Depth() > 0 && en.StackValue(en.Depth()).size() > kMaxValue) en.Pop();
    });
  }

  e.ExecuteLine(std::string(reinterpret_cast<const char*>(data), size));
  if (e.busy() || e.Depth() < 0 || e.Depth() > 19) abort();
  LeaveScratchDirectory();
  return 0;
}
