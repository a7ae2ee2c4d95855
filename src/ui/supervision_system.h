// The device side of the window, put together: the device stores and words,
// the response dispatcher bound to every link, the link table as the words
// see it, and the port supervision on TimerCOM and ComboBoxCom.
#pragma once

#include <QObject>
#include <QStringList>
#include <array>
#include <memory>
#include <string>

#include "device_link.h"
#include "device_stores.h"
#include "dispatcher.h"
#include "rs.h"

namespace engine {
class Engine;
}

namespace ui {

class ConnectHook;
class EventSystem;
class PortSupervision;
class QueuedMemo;
class TMainForm;
class WaitDispatcherHost;

// Whether any link still has records queued or a write session open: closing
// the program now would leave the device's memory half written.
bool DeviceWriteUnfinished();

// The program's link table (RSThread links) as the device words reach it.
class RsLinkTable : public device::LinkTable {
 public:
  device::LinkEnd* Slot(int number) override;

 private:
  std::array<device::LinkEndOf<zlink::RSThread>, 9> ends_;
};

class DeviceLinkSystem : public QObject, private zlink::LinkView {
  Q_OBJECT

 public:
  // `port_list`: the --port list; empty for the platform's own scan.
  DeviceLinkSystem(TMainForm& form, engine::Engine& engine, EventSystem& events,
                   QStringList port_list);
  ~DeviceLinkSystem() override;

  device::DeviceStores& stores() { return stores_; }
  device::Dispatcher& dispatcher() { return *dispatcher_; }
  PortSupervision& supervision() { return *supervision_; }
  // From now on only this port is looked for, starting at once (the
  // demonstration's line).
  void UseOnlyPort(const QString& port);

 private:
  void LinksChanged(engine::Engine& engine, EventSystem& events);
  std::string DeviceGate() const;
  void LinkLost();
  // A transfer given up while its link stays: the same, but a write session
  // the device has open is closed.
  void TransferAbandoned();

  // zlink::LinkView
  void AddLinkMemoLine(const std::string& line) override;
  void SetConnectionText(const std::string& text) override;

  TMainForm& form_;
  std::unique_ptr<QueuedMemo> link_memo_;  // MemoDebug
  device::DeviceStores stores_;
  RsLinkTable links_;
  std::unique_ptr<WaitDispatcherHost> wait_host_;
  std::unique_ptr<device::Dispatcher> dispatcher_;
  std::unique_ptr<PortSupervision> supervision_;
  QStringList ports_;  // the --port names, or none for the platform's scan
  std::unique_ptr<ConnectHook> connect_hook_;  // ONCONNECT
};

}  // namespace ui
