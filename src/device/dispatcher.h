// The response dispatcher: every data record a link delivers ends here. It logs
// the record, runs the record hook, stores it by its code, hands out channel
// pair entries, re-sends refused commands, drives the script exchange and the
// phone read, and keeps a running device wait alive. No Qt, no port: the window
// binds it to the links and supplies the wait timer through DispatcherHost.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "device_link.h"
#include "device_stores.h"
#include "engine.h"

namespace device {

// The device wait as the dispatcher sees it (the window owns WaitTimer).
class DispatcherHost {
 public:
  virtual ~DispatcherHost() = default;
  virtual bool WaitTimerRunning() const = 0;
  virtual int32_t MaxWait() const = 0;
  // Stop WaitTimer, set its period to the wait interval, start it again.
  virtual void RestartWaitTimer() = 0;
};

class Dispatcher {
 public:
  Dispatcher(engine::Engine& engine, DeviceStores& stores, LinkTable& links,
             DispatcherHost& host);

  // R: the frame's address byte followed by the record (length byte first).
  // Never throws. `refusal_taken`: TakeRefusal has already seen this record.
  void OnRecord(std::string_view record, bool refusal_taken = false);

  // The part of a refusal that belongs to the link and cannot wait: the record
  // the link sent last goes out again next, or counts as a failed write. The
  // window calls it as a record arrives when it hands the record itself to
  // OnRecord only later (while a long line runs). Never throws.
  void TakeRefusal(std::string_view record);

  // The dispatcher bytes D of a delivered record; empty when R is too short
  // or its length byte miscounts.
  static std::string DispatcherBytes(std::string_view record);

 private:
  void Handle(std::string_view record, bool refusal_taken);
  void RunRecordHook(const std::string& text);
  void RefusedCommand(int32_t h);
  // Whether a refusal from h restarts the script read (RefusedScriptRequest).
  bool ScriptReadRestarts(int32_t h) const;
  void RefusedScriptRequest(int32_t h);
  void StoreResponse(const std::string& d, const std::string& text);
  void AssignChannelPair(int32_t h);
  void ScriptAnswer(const std::string& d);
  void QueueScriptWrite();
  // Queues a read at the next address and moves it on; returns the request text.
  std::string QueueRead(bool block);
  void PhoneAnswer(const std::string& d);
  void KeepWaitAlive();

  // Appends to link 1's send queue and logs it in MemoTerminalOut.
  void Queue(const std::string& record_bytes);
  void SetPacing();

  engine::Engine& engine_;
  DeviceStores& stores_;
  LinkTable& links_;
  DispatcherHost& host_;
};

}  // namespace device
