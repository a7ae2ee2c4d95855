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

#include "engine.h"

namespace {

constexpr size_t kMaxInput = 4096;
constexpr size_t kForBudget = 64 << 10;  // bytes all FORs of one input may insert
constexpr size_t kMaxValue = 64 << 10;   // a value grown by "&", MID or STRHEX

// Setup.KVS and KVSmon.Log are the working directory's: use an empty one.
void EnterScratchDirectory() {
  static bool done = false;
  if (done) return;
  done = true;
  std::string dir = (std::filesystem::temp_directory_path() / "zelt-fuzz-XXXXXX").string();
  if (!mkdtemp(dir.data()) || chdir(dir.c_str()) != 0) abort();
  FILE* script = std::fopen("Setup.KVS", "wb");
  if (!script) abort();
  std::fputs(":A\r\n1 + \"x;y\" DROP\r\n;\r\n:B\r\nA RUN DUP 0 IF A RUN FI\r\n;\r\n", script);
  std::fclose(script);
}

}  // namespace

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
  std::remove("KVSmon.Log");
  return 0;
}
