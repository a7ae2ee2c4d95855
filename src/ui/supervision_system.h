// The device side of the window, put together: the links, the device stores
// and words, the response dispatcher bound to every link, and the port
// supervision on TimerCOM and ComboBoxCom.
#pragma once

#include <QObject>
#include <QStringList>
#include <memory>
#include <string>

#include "device_link.h"
#include "device_stores.h"
#include "dispatcher.h"
#include "link_registry.h"
#include "main_form.h"
#include "rs.h"

namespace device {
class ConnectHook;
}
namespace engine {
class Engine;
}

namespace ui {

class EventSystem;
class PortSupervision;
class QueuedMemo;
class TMainForm;

class DeviceLinkSystem : public QObject, private zlink::LinkView, private TMainForm::DeviceSide {
  Q_OBJECT

 public:
  // `port_list`: the --port list; empty for the platform's own scan.
  DeviceLinkSystem(TMainForm& form, engine::Engine& engine, EventSystem& events,
                   QStringList port_list);
  ~DeviceLinkSystem() override;

  zlink::LinkRegistry& links() { return links_; }
  device::DeviceStores& stores() { return stores_; }
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

  // TMainForm::DeviceSide
  bool AnyLink() const override;
  void RecordHookOff() override;

  // zlink::LinkView
  void AddLinkMemoLine(const std::string& line) override;
  void ReportState(zlink::LinkState state) override;

  TMainForm& form_;
  EventSystem& events_;
  std::unique_ptr<QueuedMemo> link_memo_;  // MemoDebug
  device::DeviceStores stores_;
  zlink::LinkRegistry links_;
  std::unique_ptr<device::Dispatcher> dispatcher_;
  std::unique_ptr<PortSupervision> supervision_;
  QStringList ports_;  // the --port names, or none for the platform's scan
  std::unique_ptr<device::ConnectHook> connect_hook_;  // ONCONNECT
};

}  // namespace ui
