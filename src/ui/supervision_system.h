// The window's side of the device session: the link memo, the connection
// label, ComboBoxCom over the port list, the tool-bar gate, the event
// system's hooks and the no-device page. The session and its supervision do
// the device work.
#pragma once

#include <QObject>
#include <QStringList>
#include <memory>
#include <string>

#include "device_session.h"
#include "main_form.h"
#include "port_supervision.h"

namespace engine {
class Engine;
}

namespace ui {

class EventSystem;
class QueuedMemo;
class TMainForm;

class DeviceLinkSystem : public QObject, private TMainForm::DeviceSide {
  Q_OBJECT

 public:
  // `port_list`: the --port list; empty for the platform's own scan.
  DeviceLinkSystem(TMainForm& form, engine::Engine& engine, EventSystem& events,
                   QStringList port_list);
  ~DeviceLinkSystem() override;

  device::DeviceSession& session() { return session_; }
  zlink::LinkRegistry& links() { return session_.links(); }
  device::DeviceStores& stores() { return session_.stores(); }
  device::PortSupervision& supervision() { return supervision_; }
  // From now on only this port is looked for, starting at once (the
  // demonstration's line).
  void UseOnlyPort(const QString& port);

 private:
  class LongLinesHold;

  // ComboBoxCom, the status bar, the pages and the event system's hooks.
  void WireSupervision();
  void LinksChanged();
  void PortsGone();
  void ShowPorts();
  std::string DeviceGate() const;

  // TMainForm::DeviceSide
  bool AnyLink() const override;
  void RecordHookOff() override;

  TMainForm& form_;
  engine::Engine& engine_;
  EventSystem& events_;
  std::unique_ptr<QueuedMemo> link_memo_;  // MemoDebug
  std::unique_ptr<LongLinesHold> hold_;
  device::DeviceSession session_;
  device::PortSupervision supervision_;
  bool showing_ports_ = false;  // ComboBoxCom changes made here are not the operator's
};

}  // namespace ui
