// One device on one port with no window: its link, the device stores and
// words, the response dispatcher and the device wait. Each session keeps its
// own, so that several run side by side in one process.
#pragma once

#include <QObject>
#include <QString>
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

class DeviceSession : public QObject, private zlink::LinkView {
  Q_OBJECT

 public:
  explicit DeviceSession(engine::Engine& engine, QObject* parent = nullptr);
  ~DeviceSession() override;

  // The device words, WAITREAD and MAXWAIT, bound to this session.
  void RegisterWords();
  // Opens the port as link 1 and answers the device's polls on it.
  void Open(const QString& port);

  // The device has answered on the open link.
  bool Answered() const;
  bool PortOpen() const;
  // No wait armed, nothing queued, no write session left open.
  bool Settled() const;
  // Records the device refused again after their repeat (reads and writes).
  uint64_t records_given_up() const;

  zlink::LinkRegistry& links() { return links_; }
  DeviceStores& stores() { return stores_; }
  Dispatcher& dispatcher() { return dispatcher_; }
  DeviceWait& wait() { return wait_; }

 signals:
  // A link memo line, Windows-1251.
  void LinkLine(const std::string& line);

 private:
  void AddLinkMemoLine(const std::string& line) override;
  void ReportState(zlink::LinkState state) override;

  engine::Engine& engine_;
  DeviceStores stores_;
  zlink::LinkRegistry links_;
  DeviceWait wait_;
  Dispatcher dispatcher_;
};

}  // namespace device
