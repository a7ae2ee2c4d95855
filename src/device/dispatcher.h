// The response dispatcher: every data record a link delivers ends here. It
// logs the record and runs the record hook, then hands it to the handlers:
// the refused command, the response store and channel pairs, the script
// exchange and the phone read; and every record keeps a running device wait
// alive. No Qt, no port: the window binds it to the links and supplies the
// device wait through DispatcherHost.
#pragma once

#include <string_view>

#include "device_link.h"
#include "device_record.h"
#include "device_stores.h"
#include "engine.h"
#include "link_one_queue.h"
#include "phone_read_answer.h"
#include "script_exchange.h"

namespace device {

// The device wait as the dispatcher reaches it.
class DispatcherHost {
 public:
  virtual ~DispatcherHost() = default;
  // A record from a module arrived: a running wait goes on.
  virtual void KeepWaitAlive() = 0;
  // The phone read is complete: a running wait ends now.
  virtual void EndWait() = 0;
};

class Dispatcher {
 public:
  Dispatcher(engine::Engine& engine, DeviceStores& stores, LinkTable& links,
             DispatcherHost& host);

  // R: the frame's address byte followed by the record (length byte first).
  // Never throws. `refusal_taken`: TakeRefusal has already seen this record.
  void OnRecord(std::string_view record, bool refusal_taken = false);
  void Handle(const DeviceRecord& record, bool refusal_taken = false);

  // The part of a refusal that belongs to the link and cannot wait: the record
  // the link sent last goes out again next, or counts as a failed write. The
  // window calls it as a record arrives when it hands the record itself to
  // OnRecord only later (while a long line runs). Never throws.
  void TakeRefusal(std::string_view record);

 private:
  void RunRecordHook(const DeviceRecord& record);
  void RefusedCommand(int32_t address);

  engine::Engine& engine_;
  DeviceStores& stores_;
  DispatcherHost& host_;
  LinkOneQueue queue_;
  ScriptExchange script_;
  PhoneReadAnswer phone_;
};

}  // namespace device
