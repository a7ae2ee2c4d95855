// A real engine with the device words, and links made of the bare frame
// protocol, so that a link answers only after the device has polled it.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "device_link.h"
#include "device_record.h"
#include "device_stores.h"
#include "device_words.h"
#include "dispatcher.h"
#include "engine.h"
#include "UHex.h"
#include "device_model.h"
#include "frame.h"
#include "link_protocol.h"

namespace device_test {

struct MemoHost : engine::Host {
  std::vector<std::string> events, received, sent;
  std::string status;
  void ShowStatus(const std::string& text) override { status = text; }
  void AddMemoLine(engine::Memo memo, const std::string& line) override {
    // The message without the blank and stamp that end the line.
    std::string text = line.substr(0, line.rfind(' '));
    switch (memo) {
      case engine::Memo::kEvents: events.push_back(text); break;
      case engine::Memo::kReceived: received.push_back(text); break;
      case engine::Memo::kSent: sent.push_back(text); break;
    }
  }
};

struct WireHost : zlink::LinkProtocolHost {
  std::vector<std::string> wire;
  void LogLink(const std::string&) override {}
  void WriteWire(const std::string& bytes) override { wire.push_back(bytes); }
  void DeliverRecord(const std::string&) override {}
  void BeginPacing() override {}
};

struct TestLink {
  WireHost host;
  zlink::LinkProtocol protocol{host};
  // The device's first poll, with nothing queued yet.
  void Poll() { protocol.Feed(":024300BB\r\n"); }
};

class Links : public device::LinkTable {
 public:
  TestLink& Add(int slot) {
    owned_[slot] = std::make_unique<TestLink>();
    return *owned_[slot];
  }
  void Remove(int slot) { owned_[slot].reset(); }
  bool Has(int slot) const { return owned_[slot] != nullptr; }
  TestLink& At(int slot) { return *owned_[slot]; }
  device::LinkEnd* Slot(int number) override {
    if (number < 1 || number > 8 || !owned_[number]) return nullptr;
    ends_[number].Reset(&owned_[number]->protocol);
    return &ends_[number];
  }

 private:
  std::array<std::unique_ptr<TestLink>, 9> owned_;
  std::array<device::LinkEndOf<zlink::LinkProtocol>, 9> ends_;
};

struct Wait : device::DispatcherHost {
  int kept_alive = 0;
  int ended = 0;
  void KeepWaitAlive() override { ++kept_alive; }
  void EndWait() override { ++ended; }
};

// A record as the link delivers it from address 02, parsed; it must be valid.
inline device::DeviceRecord Parsed(const std::string& spaced_record) {
  return *device::DeviceRecord::Parse("\x02" + uhex::SpacedHexToBytes(spaced_record));
}

class DeviceFixture {
 public:
  DeviceFixture() : engine(&memos), dispatcher(engine, stores, links, wait) {
    engine::RegisterCoreWords(engine);
    device::RegisterDeviceWords(engine, stores, links);
  }

  std::string Queue(int slot) { return links.Has(slot) ? links.At(slot).protocol.SendQueue() : ""; }
  // A record as the link delivers it: the address byte 02, then the record.
  void Deliver(const std::string& spaced_record) {
    dispatcher.OnRecord("\x02" + uhex::SpacedHexToBytes(spaced_record));
  }
  std::string Top() { return engine.StackValue(engine.Depth()); }

  // Plays the device on link 1 with the simulator's model: polls until the
  // queue has run dry, answering each record the link sends. Returns how many
  // command records the device took.
  int Serve(sim::DeviceModel& model, int max_polls = 100000) {
    TestLink& link = links.At(1);
    int taken = 0;
    for (int poll = 0; poll < max_polls; ++poll) {
      const char code = poll % 2 ? '\x44' : '\x43';
      link.protocol.Feed(zlink::BuildFrame(2, std::string{code, '\0'}) + "\r\n");
      if (link.protocol.waiting_for_pacing()) link.protocol.FinishPacing();
      const std::string& sent = link.host.wire.back();
      const zlink::FrameCheck check = zlink::VerifyFrame(sent.substr(1, sent.size() - 3));
      const std::string record = check.bytes.substr(2);
      if (record == std::string(1, '\0')) {
        if (link.protocol.SendQueue().empty()) return taken;
        continue;
      }
      ++taken;
      for (const std::string& answer : model.Answer(record)) dispatcher.OnRecord("\x02" + answer);
    }
    return taken;
  }

  MemoHost memos;
  engine::Engine engine;
  device::DeviceStores stores;
  Links links;
  Wait wait;
  device::Dispatcher dispatcher;
};

}  // namespace device_test
