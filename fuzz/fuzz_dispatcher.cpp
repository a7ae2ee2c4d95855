// The response dispatcher takes whatever records the device sends. The first
// input byte picks the exchange in progress; the rest is cut into records,
// each a length byte and that many bytes (a length past the end takes what is
// left, so miscounted records come too).
#include <cstddef>
#include <cstdint>
#include <string>

#include "device_link.h"
#include "device_stores.h"
#include "device_words.h"
#include "dispatcher.h"
#include "engine.h"
#include "../tests/support/queue_link.h"

namespace {

const char* const kSetups[] = {
    "1 2 \"\" READSCR",
    "1 2 0 READSCR",
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ SSCRIPT 1 2 \"\" WRITESCR",
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ SSCRIPT 1 2 0 WRITESCR",
    "1 2 16 READTEL",
    "\"DROP\" 1 ONREADCK \"05 02 6F 00 0B 01 \" 1 SENDCK",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  engine::Engine engine;
  engine::RegisterCoreWords(engine);
  device::DeviceStores stores;
  test_support::OneLink links;
  links.link.most = 100000;
  test_support::FixedWait wait;
  device::RegisterDeviceWords(engine, stores, links);
  engine.Register("WAITREAD", [](engine::Engine& e, engine::Frame&) { e.Pop(); });
  device::Dispatcher dispatcher(engine, stores, links, wait);
  engine.ExecuteLine(kSetups[data[0] % (sizeof kSetups / sizeof kSetups[0])]);

  size_t at = 1;
  while (at < size) {
    const size_t length = data[at];
    const size_t end = at + 1 + length < size ? at + 1 + length : size;
    std::string record(1, '\x02');
    record.append(reinterpret_cast<const char*>(data + at), end - at);
    dispatcher.OnRecord(record);
    at = end;
  }
  return 0;
}
