// The Setup.KVS checker on arbitrary bytes: kvs --check and zelt --watch read
// whatever file an author saves. The checker must end, without a crash, on
// anything; its word table is the engine's own.
#include <cstdint>
#include <string_view>

#include "checker.h"
#include "engine.h"

namespace {

const engine::WordReference& Words() {
  static engine::Engine* const e = [] {
    auto* made = new engine::Engine();
    engine::RegisterCoreWords(*made);
    return made;
  }();
  return e->reference();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 64 * 1024) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const check::Problem& problem : check::CheckScript(text, Words()))
    (void)check::FormatProblem("Setup.KVS", problem);
  return 0;
}
