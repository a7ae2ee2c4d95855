#include "script_exchange.h"

#include <algorithm>

#include "UHex.h"
#include "device_records.h"
#include "script_space.h"

namespace device {

namespace {

constexpr int32_t kStartPointer = 3;  // device address holding the script's start
constexpr int32_t kLastAddress = kTransferSize - 1;
constexpr uint8_t kSignature1 = 0x55;
constexpr uint8_t kSignature2 = 0xAA;

}  // namespace

bool ScriptExchange::Answers(const DeviceRecord& record) const {
  return record.code() == kReadAnswer && t_.module == 1 && t_.address == record.address() &&
         record.size() > 4;
}

bool ScriptExchange::RestartsOnRefusal(int32_t address) const {
  return t_.module == 1 && t_.address == address && !t_.last_request.empty() &&
         t_.last_answered > 0;
}

void ScriptExchange::TakeRefusal(int32_t address) {
  if (!RestartsOnRefusal(address)) return;
  // Never before the script itself: when the first read of the script is
  // refused, the last answer was the start address at device address 3.
  t_.next_address = std::max(t_.last_answered + 1, t_.start_address);
  t_.last_request = QueueRead(false);
}

void ScriptExchange::Take(const DeviceRecord& record) {
  const bool one_byte_address = record.At(0) == 9;
  const int32_t base = one_byte_address ? record.At(3) : record.Word(3);
  int32_t v = base;
  int32_t b = one_byte_address ? record.At(4) : record.At(5);
  t_.last_answered = v;
  if (v == kStartPointer) Start(b);

  const int positions = record.size() > 12 ? 16 : 1;
  for (int p = 0; p < positions && t_.next_address > 0; ++p) {
    if (p > 0) {
      b = record.At(p + 5);
      v = base + p;
    }
    if (v > kLastAddress) {
      v = 0;
      b = 0;
    }
    t_.buffer[v] = b;
    if (v == t_.start_address && b != kSignature1) t_.next_address = 0;
    if (v == t_.start_address + 1) {
      if (b == kSignature2) {
        if (!t_.block_mode) queue_.SetPacing();
        QueueRead(t_.block_mode);
        QueueRead(t_.block_mode);
      } else {
        t_.next_address = 0;
      }
    }
    if (b == 0) Finish(v);
  }

  if (t_.next_address > 0) t_.last_request = QueueRead(t_.block_mode);
}

void ScriptExchange::Start(int32_t start_address) {
  t_.next_address = start_address;
  t_.start_address = start_address;
  if (!t_.write) return;
  t_.write = false;
  if (ScriptFits(t_.start_address, static_cast<int64_t>(t_.script_text.size()), t_.block_mode)) {
    QueueWrite();
  } else {
    RefuseTooLongScript(engine_, stores_, t_.start_address, t_.block_mode);
    t_.module = 0;
    t_.address = 0;
  }
  t_.next_address = 0;
}

void ScriptExchange::Finish(int32_t end) {
  t_.next_address = 0;
  t_.last_request.clear();
  std::string text;
  bool gap = false;
  for (int32_t at = t_.start_address + 2; at < end && at <= kLastAddress; ++at) {
    if (t_.buffer[at] == kNotReceived) gap = true;
    text += static_cast<char>(t_.buffer[at]);
  }
  if (gap) {
    t_.script_text.clear();
  } else {
    t_.script_text += text;
  }
  t_.module = 0;
  t_.address = 0;
}

std::string ScriptExchange::QueueRead(bool block) {
  const uint8_t a = static_cast<uint8_t>(t_.address);
  const std::string record =
      block ? ReadBlockRecord(a, t_.next_address) : ReadByteRecord(a, t_.next_address);
  t_.next_address += block ? 16 : 1;
  queue_.Queue(record);
  return uhex::BytesToSpacedHex(record);
}

void ScriptExchange::QueueWrite() {
  const uint8_t a = static_cast<uint8_t>(t_.address);
  const std::string& script = t_.script_text;
  queue_.Queue(OpenWritingRecord(a));
  queue_.Queue(WriteByteRecord(a, t_.next_address++, kSignature1));
  queue_.Queue(WriteByteRecord(a, t_.next_address++, kSignature2));
  if (!t_.block_mode) {
    for (char c : script) {
      queue_.Queue(WriteByteRecord(a, t_.next_address++, static_cast<uint8_t>(c)));
    }
    queue_.SetPacing();
  } else {
    const size_t blocks = script.size() / 16 + 2;
    for (size_t k = 0; k < blocks; ++k) {
      std::string_view chunk;
      if (16 * k < script.size()) chunk = std::string_view(script).substr(16 * k, 16);
      queue_.Queue(WriteBlockRecord(a, t_.next_address, chunk));
      t_.next_address += static_cast<int32_t>(chunk.size());
      queue_.SetPacing();
    }
  }
  queue_.Queue(WriteByteLongRecord(a, t_.next_address, 0));
  queue_.Queue(CloseWritingRecord(a));
}

}  // namespace device
