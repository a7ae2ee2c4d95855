// The exchange of the device's script memory that READSCR and WRITESCR start:
// a pipeline of reads driven by the device's AC answers, or, once the start
// address is known, the whole write queued at once.
#pragma once

#include <cstdint>
#include <string>

#include "device_record.h"
#include "device_stores.h"
#include "engine.h"
#include "link_one_queue.h"

namespace device {

class ScriptExchange {
 public:
  ScriptExchange(engine::Engine& engine, ScriptTransfer& transfer, DeviceStores& stores,
                 LinkOneQueue& queue)
      : engine_(engine), t_(transfer), stores_(stores), queue_(queue) {}

  // An AC answer from the module the exchange runs with.
  bool Answers(const DeviceRecord& record) const;
  void Take(const DeviceRecord& record);

  // Whether a refusal from `address` restarts the read: an answer has come
  // and a request is outstanding.
  bool RestartsOnRefusal(int32_t address) const;
  // One-byte reads start again after the last answered address.
  void TakeRefusal(int32_t address);

 private:
  void Start(int32_t start_address);
  // The bytes from the start address + 2 up to the end mark at `end` become
  // the script text, or nothing when one never came.
  void Finish(int32_t end);
  void QueueWrite();
  // Queues a read at the next address and moves it on; returns the request text.
  std::string QueueRead(bool block);

  engine::Engine& engine_;
  ScriptTransfer& t_;
  DeviceStores& stores_;
  LinkOneQueue& queue_;
};

}  // namespace device
