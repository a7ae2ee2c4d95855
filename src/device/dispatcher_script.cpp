// The exchange of the device's script memory: a pipeline of reads driven by
// the device's AC answers, or the whole write queued at once.
#include "UHex.h"
#include "device_records.h"
#include "dispatcher.h"
#include "script_space.h"

namespace device {

namespace {

constexpr int32_t kStartPointer = 3;  // device address holding the script's start
constexpr int32_t kLastAddress = kTransferSize - 1;
constexpr uint8_t kSignature1 = 0x55;
constexpr uint8_t kSignature2 = 0xAA;

uint8_t At(const std::string& bytes, size_t index) {
  return index < bytes.size() ? static_cast<uint8_t>(bytes[index]) : 0;
}

}  // namespace

void Dispatcher::ScriptAnswer(const std::string& d) {
  ScriptTransfer& t = stores_.transfer;
  const bool one_byte_address = At(d, 0) == 9;
  const int32_t base = one_byte_address ? At(d, 3) : At(d, 3) + 256 * At(d, 4);
  int32_t v = base;
  int32_t b = one_byte_address ? At(d, 4) : At(d, 5);
  t.last_answered = v;

  if (v == kStartPointer) {
    t.next_address = b;
    t.start_address = b;
    if (t.write) {
      t.write = false;
      if (ScriptFits(t.start_address, static_cast<int64_t>(t.script_text.size()), t.block_mode)) {
        QueueScriptWrite();
      } else {
        RefuseTooLongScript(engine_, stores_, t.start_address, t.block_mode);
        t.module = 0;
        t.address = 0;
      }
      t.next_address = 0;
    }
  }

  const int positions = d.size() > 12 ? 16 : 1;
  for (int p = 0; p < positions && t.next_address > 0; ++p) {
    if (p > 0) {
      b = At(d, p + 5);
      v = base + p;
    }
    if (v > kLastAddress) {
      v = 0;
      b = 0;
    }
    t.buffer[v] = b;
    if (v == t.start_address && b != kSignature1) t.next_address = 0;
    if (v == t.start_address + 1) {
      if (b == kSignature2) {
        if (!t.block_mode) SetPacing();
        QueueRead(t.block_mode);
        QueueRead(t.block_mode);
      } else {
        t.next_address = 0;
      }
    }
    if (b == 0) {
      t.next_address = 0;
      t.last_request.clear();
      std::string text;
      bool gap = false;
      for (int32_t at = t.start_address + 2; at < v && at <= kLastAddress; ++at) {
        if (t.buffer[at] == kNotReceived) gap = true;
        text += static_cast<char>(t.buffer[at]);
      }
      if (gap) {
        t.script_text.clear();
      } else {
        t.script_text += text;
      }
      t.module = 0;
      t.address = 0;
    }
  }

  if (t.next_address > 0) t.last_request = QueueRead(t.block_mode);
}

// A read at the next address, which then moves past what was asked for.
std::string Dispatcher::QueueRead(bool block) {
  ScriptTransfer& t = stores_.transfer;
  const uint8_t a = static_cast<uint8_t>(t.address);
  const std::string record =
      block ? ReadBlockRecord(a, t.next_address) : ReadByteRecord(a, t.next_address);
  t.next_address += block ? 16 : 1;
  Queue(record);
  return uhex::BytesToSpacedHex(record);
}

void Dispatcher::QueueScriptWrite() {
  ScriptTransfer& t = stores_.transfer;
  const uint8_t a = static_cast<uint8_t>(t.address);
  const std::string& script = t.script_text;
  Queue(OpenWritingRecord(a));
  Queue(WriteByteRecord(a, t.next_address++, kSignature1));
  Queue(WriteByteRecord(a, t.next_address++, kSignature2));
  if (!t.block_mode) {
    for (char c : script) Queue(WriteByteRecord(a, t.next_address++, static_cast<uint8_t>(c)));
    SetPacing();
  } else {
    const size_t blocks = script.size() / 16 + 2;
    for (size_t k = 0; k < blocks; ++k) {
      std::string_view chunk;
      if (16 * k < script.size()) chunk = std::string_view(script).substr(16 * k, 16);
      Queue(WriteBlockRecord(a, t.next_address, chunk));
      t.next_address += static_cast<int32_t>(chunk.size());
      SetPacing();
    }
  }
  Queue(WriteByteLongRecord(a, t.next_address, 0));
  Queue(CloseWritingRecord(a));
}

}  // namespace device
