// One device with no window: its links (slots 1 to 8, link 1 the one the
// device answers on), the device stores and words, the response dispatcher,
// the device wait and the connect hook. Each session keeps its own, so that
// several run side by side in one process; the window and kvs run on it.
#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "device_stores.h"
#include "device_wait.h"
#include "dispatcher.h"
#include "link_registry.h"

namespace engine {
class Engine;
}

namespace device {

// What the link in slot 1 had not sent never reaches the device, this one or
// one that comes later: it counts as failed writes and the exchanges end. A
// write session the device holds open gets its close when `close_session`.
void DropUnsent(zlink::LinkRegistry& links, DeviceStores& stores, bool close_session);

class ConnectHook;

// What holds received records back while it runs (the window's long lines):
// a record's refusal is answered at once, the rest of it later.
class RecordHold {
 public:
  virtual ~RecordHold() = default;
  virtual bool Holding() const = 0;
  virtual void Later(std::function<void()> work) = 0;
};

class DeviceSession : public QObject, private zlink::LinkView {
  Q_OBJECT

 public:
  explicit DeviceSession(engine::Engine& engine, QObject* parent = nullptr);
  ~DeviceSession() override;

  // The device words, WAITREAD and MAXWAIT, bound to this session.
  void RegisterWords();
  // Opens the port as link 1, the current link, and answers the device's
  // polls on it. Null when the link could not start.
  zlink::RSThread* Open(const QString& port);
  // The current link stops; a device wait on it ends first.
  void StopLink();
  // From now on ONCONNECT runs each time the links go from no answer to an
  // answer.
  void RunConnectHook();
  // Opens the port and runs the event loop until the device answers on it,
  // the port closes or the deadline passes.
  enum class FirstAnswer { kAnswered, kPortNotOpened, kPortLost, kNoAnswer };
  FirstAnswer OpenAndAwaitAnswer(const QString& port, QDeadlineTimer deadline);
  // Records reach the dispatcher past `hold` (none: at once).
  void HoldRecordsWith(RecordHold* hold) { hold_ = hold; }

  // The device has answered on the open link.
  bool Answered() const;
  bool PortOpen() const;
  // The port closed or the link timer ran out: the device is gone.
  bool Lost() const;
  // No wait armed, nothing queued, no write session left open.
  bool Settled() const;
  // After Lost(): a wait still armed ends as the window ends it (ONSTOPWAIT,
  // ONLINKLOST); with none, what was not sent counts as not written.
  void EndAfterLoss();
  // Records the device refused again after their repeat (reads and writes).
  uint64_t records_given_up() const;

  zlink::LinkRegistry& links() { return links_; }
  const zlink::LinkRegistry& links() const { return links_; }
  DeviceStores& stores() { return stores_; }
  Dispatcher& dispatcher() { return dispatcher_; }
  DeviceWait& wait() { return wait_; }

 signals:
  // A link memo line, Windows-1251.
  void LinkLine(const std::string& line);

 private:
  void AddLinkMemoLine(const std::string& line) override;
  void ReportState(zlink::LinkState state) override;
  void OnRecord(const std::string& record);

  engine::Engine& engine_;
  DeviceStores stores_;
  zlink::LinkRegistry links_;
  DeviceWait wait_;
  Dispatcher dispatcher_;
  RecordHold* hold_ = nullptr;
  std::unique_ptr<ConnectHook> connect_hook_;
};

}  // namespace device
