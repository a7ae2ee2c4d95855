// The window's side of the device session: the link memo, the connection
// label, ComboBoxCom over the port list, TimerCOM that runs the port
// supervision, the tool-bar gate and the no-device page. The session and its
// supervision do the device work.
#pragma once

#include <QObject>
#include <QTimer>
#include <string>

#include "device_session.h"
#include "device_side.h"
#include "port_supervision.h"

namespace engine {
class Engine;
}

namespace ui {

class TMainForm;

class DeviceLinkSystem : public QObject, public DeviceReach, public DeviceSide {
  Q_OBJECT

 public:
  static constexpr int kTimerComMs = 3000;

  DeviceLinkSystem(TMainForm& form, engine::Engine& engine, device::DeviceSession& session,
                   device::PortSupervision& supervision);

  device::DeviceSession& session() { return session_; }
  zlink::LinkRegistry& links() { return session_.links(); }
  device::DeviceStores& stores() { return session_.stores(); }
  device::PortSupervision& supervision() { return supervision_; }
  // TimerCOM: runs from the start, each tick one of the supervision's.
  QTimer& timer_com() { return timer_com_; }

  // DeviceReach
  bool StartFirstLink() override { return supervision_.StartFirstLink(); }
  std::string ToolBarRefusal() const override;
  // DeviceSide
  bool AnyLink() const override { return session_.links().Any(); }
  void RecordHookOff() override { session_.stores().record_hook = device::RecordHook{}; }

 signals:
  // A link's port has opened and the pages are shown in place of the
  // no-device page.
  void LinkOpened();

 private:
  void LinksChanged();
  void TimerComTick();

  TMainForm& form_;
  engine::Engine& engine_;
  device::DeviceSession& session_;
  device::PortSupervision& supervision_;
  QTimer timer_com_;
};

}  // namespace ui
