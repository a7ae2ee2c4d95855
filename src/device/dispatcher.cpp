#include "dispatcher.h"

#include <algorithm>
#include <cstdint>

#include "UHex.h"
#include "device_records.h"

namespace device {

namespace {

constexpr uint8_t kRefused = 0x92;
constexpr uint8_t kRead = 0xAC;

uint8_t At(const std::string& bytes, size_t index) {
  return index < bytes.size() ? static_cast<uint8_t>(bytes[index]) : 0;
}

// Slot of the response store for a record code; 0 for codes that are not kept.
int SlotFor(uint8_t code) {
  switch (code) {
    case 0xC1: case 0xC2: case 0xC3: return 1;
    case 0xE1: case 0xD1: return 2;
    case 0xA3: return 3;
    case 0xAB: return 5;
    case 0x42: return 6;
    case 0xB5: return 7;
    case 0xCB: return 8;
    case kRead: return 9;
    default: return 0;
  }
}

}  // namespace

Dispatcher::Dispatcher(engine::Engine& engine, DeviceStores& stores, LinkTable& links,
                       DispatcherHost& host)
    : engine_(engine), stores_(stores), links_(links), host_(host) {}

std::string Dispatcher::DispatcherBytes(std::string_view record) {
  if (record.size() < 2) return {};
  std::string d;
  d += static_cast<char>((static_cast<uint8_t>(record[1]) + 6) & 0xFF);
  d += record[0];
  d.append(record.substr(2));
  d.append(5, '\0');
  if (static_cast<uint8_t>(d[0]) != d.size() - 1) return {};
  return d;
}

void Dispatcher::OnRecord(std::string_view record, bool refusal_taken) {
  try {
    Handle(record, refusal_taken);
  } catch (...) {
    // A fault skips the rest of this record's handling; the link goes on.
  }
}

void Dispatcher::TakeRefusal(std::string_view record) {
  try {
    const std::string d = DispatcherBytes(record);
    if (At(d, 2) == kRefused) RefusedCommand(At(d, 1));
  } catch (...) {
  }
}

void Dispatcher::Handle(std::string_view record, bool refusal_taken) {
  if (record.size() <= 1) return;
  const std::string d = DispatcherBytes(record);
  if (d.empty()) return;
  const std::string text = uhex::BytesToSpacedHex(d);
  const int32_t h = At(d, 1);
  const uint8_t k = At(d, 2);

  engine_.LogReceived(text);
  RunRecordHook(text);
  if (k == kRefused) {
    if (!refusal_taken) RefusedCommand(h);
    RefusedScriptRequest(h);
  }
  if (h == 0 || h >= 255) return;
  StoreResponse(d, text);
  const bool announces = text.size() >= 13 && text.compare(6, 7, "AC 04 3") == 0;
  if (k == 0x81 || k == 0x9B || announces) AssignChannelPair(h);

  const ScriptTransfer& t = stores_.transfer;
  if (k == kRead && t.module == 1 && t.address == h && d.size() > 4) ScriptAnswer(d);

  const PhoneRead& phone = stores_.phone;
  if (k == kRead && phone.module == 1 && phone.address == h && d.size() > 4 && At(d, 0) > 14) {
    PhoneAnswer(d);
  }
  KeepWaitAlive();
}

void Dispatcher::RunRecordHook(const std::string& text) {
  const RecordHook& hook = stores_.record_hook;
  if (hook.link == 0 || engine_.busy() || hook.link != 1) return;
  std::string line = hook.line;  // the line may replace the hook
  engine_.Push(text);
  engine_.ExecuteLine(line);
}

// The device answers each record before it polls again, so the refusal is the
// answer to the record the link sent last (not to the last one queued, which
// after a batch is its close record). That record goes out again once, next,
// ahead of the queue: queued behind a close it would be refused again.
void Dispatcher::RefusedCommand(int32_t h) {
  LinkEnd* link = links_.Slot(1);
  if (!link) return;
  link->SetLastCommand({});
  const std::string sent = link->LastSent();
  if (sent.empty()) return;
  // A refused 6F 00 0B is not repeated: the device will not take it again.
  const bool final_write = sent.size() >= 14 && sent.compare(6, 8, "6F 00 0B") == 0;
  // A refused read of the script goes on with one-byte reads by itself.
  const bool script_read =
      sent.size() >= 8 && sent.compare(6, 2, "AD") == 0 && ScriptReadRestarts(h);
  stores_.CountFailedWrite(link->Refused(!final_write && !script_read));
}

bool Dispatcher::ScriptReadRestarts(int32_t h) const {
  const ScriptTransfer& t = stores_.transfer;
  return t.module == 1 && t.address == h && !t.last_request.empty() && t.last_answered > 0;
}

void Dispatcher::RefusedScriptRequest(int32_t h) {
  ScriptTransfer& t = stores_.transfer;
  if (!ScriptReadRestarts(h)) return;
  // Never before the script itself: when the first read of the script is
  // refused, the last answer was the start address at device address 3.
  t.next_address = std::max(t.last_answered + 1, t.start_address);
  t.last_request = QueueRead(false);
}

void Dispatcher::StoreResponse(const std::string& d, const std::string& text) {
  const int32_t h = At(d, 1);
  const uint8_t k = At(d, 2);
  if (k == kRead && At(d, 3) == 0x04) {
    if (std::string* slot = stores_.Response(1, h, 4)) *slot = text;
  }
  if (int slot_number = SlotFor(k)) {
    if (std::string* slot = stores_.Response(1, h, slot_number)) *slot = text;
  }
}

void Dispatcher::AssignChannelPair(int32_t h) {
  for (int m = kFirstPair; m <= kLastModule; ++m) {
    const ChannelPair& pair = *stores_.Pair(m);
    if (pair.link == 1 && pair.address == h) return;
  }
  for (int m = kFirstPair; m <= kLastModule; ++m) {
    ChannelPair& pair = *stores_.Pair(m);
    if (pair.link == 0) {
      pair = ChannelPair{1, h};
      return;
    }
  }
}

void Dispatcher::PhoneAnswer(const std::string& d) {
  PhoneRead& phone = stores_.phone;
  const int32_t v = At(d, 3) + 256 * At(d, 4);
  if (v != phone.record_number) return;
  phone.status = At(d, 5);
  phone.digits = PhoneDigitsText(d.substr(6, 8));
  phone.module = 0;
  phone.address = 0;
  engine_.ExecuteLine("0 WAITREAD");
}

void Dispatcher::KeepWaitAlive() {
  if (host_.WaitTimerRunning() && host_.MaxWait() == 0) host_.RestartWaitTimer();
}

void Dispatcher::Queue(const std::string& record_bytes) {
  LinkEnd* link = links_.Slot(1);
  if (!link) return;
  const std::string text = uhex::BytesToSpacedHex(record_bytes);
  link->AppendToQueue(text);
  engine_.LogSent(text);
}

void Dispatcher::SetPacing() {
  if (LinkEnd* link = links_.Slot(1)) link->SetPacing(true);
}

}  // namespace device
