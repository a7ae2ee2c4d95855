// Frame assembly and the program's side of the protocol, without a port.
#include <benchmark/benchmark.h>

#include <string>

#include "UHex.h"
#include "frame.h"
#include "link_protocol.h"

namespace {

class CountingHost : public zlink::LinkProtocolHost {
 public:
  void LogLink(const std::string& line) override { logged += line.size(); }
  void WriteWire(const std::string& bytes) override { written += bytes.size(); }
  void DeliverRecord(const std::string& record) override { delivered += record.size(); }
  void BeginPacing() override {}
  size_t logged = 0, written = 0, delivered = 0;
};

// What a busy device sends: polls and data frames of various lengths.
std::string DeviceTraffic(size_t frames) {
  std::string traffic;
  for (size_t i = 0; i < frames; ++i) {
    std::string bytes;
    if (i % 3 == 2) {
      bytes += static_cast<char>(i % 2 ? 0x41 : 0x42);
      const size_t length = 3 + i % 17;
      bytes += static_cast<char>(length);
      for (size_t k = 0; k < length; ++k) bytes += static_cast<char>(0xAC + k * 7 + i);
    } else {
      bytes += static_cast<char>(i % 2 ? 0x43 : 0x44);
    }
    traffic += zlink::BuildFrame(2, bytes) + "\r\n";
  }
  return traffic;
}

void BM_FrameAssembler(benchmark::State& state) {
  const std::string traffic = DeviceTraffic(10000);
  size_t frames = 0;
  for (auto _ : state) {
    zlink::FrameAssembler assembler;
    for (char c : traffic)
      if (assembler.Feed(c)) frames += zlink::VerifyFrame(assembler.text()).bytes.size();
    benchmark::DoNotOptimize(frames);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * traffic.size()));
}
BENCHMARK(BM_FrameAssembler);

// The whole receive path: assemble, check, log, answer, deliver.
void BM_LinkProtocolFeed(benchmark::State& state) {
  const std::string traffic = DeviceTraffic(10000);
  const size_t chunk = static_cast<size_t>(state.range(0));
  for (auto _ : state) {
    CountingHost host;
    zlink::LinkProtocol link(host);
    for (size_t pos = 0; pos < traffic.size(); pos += chunk)
      link.Feed(std::string_view(traffic).substr(pos, chunk));
    benchmark::DoNotOptimize(host.written);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * traffic.size()));
}
BENCHMARK(BM_LinkProtocolFeed)->Arg(1)->Arg(64)->Arg(2048);

// A whole script written at once: thousands of records in one queue.
void BM_TakeRecordDrainsALongQueue(benchmark::State& state) {
  std::string queue;
  for (int i = 0; i < state.range(0); ++i) queue += "05 02 6F 10 00 41 ";
  for (auto _ : state) {
    std::string q = queue;
    size_t taken = 0;
    while (!q.empty()) taken += uhex::TakeRecord(q).size();
    benchmark::DoNotOptimize(taken);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TakeRecordDrainsALongQueue)->Arg(100)->Arg(5000);

}  // namespace

BENCHMARK_MAIN();
