// The response dispatcher and the device words without a line: how long the
// program's own share of a script transfer and of record handling takes.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>

#include "UHex.h"
#include "device_link.h"
#include "device_model.h"
#include "device_stores.h"
#include "device_words.h"
#include "dispatcher.h"
#include "engine.h"
#include "../tests/support/queue_link.h"

namespace {

struct Rig {
  engine::Engine engine;
  device::DeviceStores stores;
  test_support::OneLink links;
  test_support::FixedWait wait;
  device::Dispatcher dispatcher{engine, stores, links, wait};
  sim::DeviceModel model;
  Rig() {
    engine::RegisterCoreWords(engine);
    device::RegisterDeviceWords(engine, stores, links);
  }
  // Answers every queued record from the model, as the device would.
  void Serve() {
    std::string& queue = links.link.queue;
    while (!queue.empty()) {
      const size_t cells = (uhex::HexPairToByte(queue) + 1) * 3;
      const std::string record = uhex::SpacedHexToBytes(queue.substr(0, cells));
      queue.erase(0, cells);
      for (const std::string& answer : model.Answer(record)) dispatcher.OnRecord("\x02" + answer);
    }
  }
};

// A script of 4800 bytes read from the simulated memory, in 16-byte blocks or
// byte by byte: items are script bytes.
void BM_ScriptRead(benchmark::State& state) {
  Rig rig;
  rig.model.SetScript(std::string(4800, 'x'));
  const std::string line = state.range(0) ? "1 2 0 READSCR" : "1 2 \"\" READSCR";
  for (auto _ : state) {
    rig.engine.ExecuteLine(line);
    rig.Serve();
    if (rig.stores.transfer.script_text.size() != 4800) state.SkipWithError("script not read");
  }
  state.SetItemsProcessed(state.iterations() * 4800);
}
BENCHMARK(BM_ScriptRead)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// One answer record through the whole dispatcher: log, store, channel pair test.
void BM_DispatchRecord(benchmark::State& state) {
  Rig rig;
  const std::string record = std::string("\x02\x13\xAC\x00\x14", 5) + std::string(16, '\x07');
  for (auto _ : state) rig.dispatcher.OnRecord(record);
  if (rig.stores.Response(1, 2, 9)->empty()) state.SkipWithError("record not stored");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DispatchRecord);

}  // namespace

BENCHMARK_MAIN();
