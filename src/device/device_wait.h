// The device wait: WAITREAD holds back the rest of a line until the link in
// slot 1 has gone idle. WaitTimer polls the link every wait interval; the
// response dispatcher keeps a running wait alive while records keep coming.
// A wait whose link is lost ends at once. Widget-free: the window and kvs
// both run it.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

#include "device_link.h"
#include "dispatcher.h"
#include "wait_words.h"

namespace engine {
class Engine;
struct Frame;
}

namespace device {

class DeviceWait : public QObject, public WaitControl, public DispatcherHost {
  Q_OBJECT

 public:
  explicit DeviceWait(engine::Engine& engine, QObject* parent = nullptr);

  // The link table whose slot 1 the tick tests; none means no link at all.
  void SetLinks(LinkTable* links) { links_ = links; }
  // Armed while WaitTimer runs with a wait interval other than 0.
  bool Armed() const { return timer_.isActive() && interval_ != 0; }
  int32_t interval() const { return interval_; }
  const std::string& pending_script() const { return pending_script_; }

  // The MAXWAIT value: while not 0, received records do not restart WaitTimer.
  int32_t max_wait() const { return max_wait_; }
  void set_max_wait(int32_t value) override { max_wait_ = value; }

  // WAITREAD n inside the line whose frame is given.
  void WaitRead(int32_t n, engine::Frame& frame) override;

  // A record arrived: restart the running WaitTimer with the full interval,
  // unless MAXWAIT holds it.
  void KeepAlive();
  bool TimerRunning() const { return timer_.isActive(); }
  // Stop WaitTimer, set its period to the wait interval and start it again.
  void RestartTimer();
  // Ends the wait now, as "0 WAITREAD" would: the held-back words run after
  // ONSTOPWAIT.
  void End();

  // DispatcherHost
  void KeepWaitAlive() override { KeepAlive(); }
  void EndWait() override { End(); }
  // The link in slot 1 is going or its port has closed. A wait armed on it
  // ends now: its held-back words belong to a transfer that was cut off and
  // never run, and the line " ONSTOPWAIT RUN ONLINKLOST RUN " runs instead.
  // The device side hears of it first (SetOnLinkLost), wait or not.
  void LinkLost();
  void SetOnLinkLost(std::function<void()> on_link_lost) {
    on_link_lost_ = std::move(on_link_lost);
  }

  // Why a wait is given up before its link went idle.
  enum class Abandoned { kByOperator = 1 };
  // Ends an armed wait now: the device side drops what the link had not sent
  // (SetOnAbandon), the held-back words never run, and the line
  // " ONSTOPWAIT RUN reason ONCANCEL RUN " runs instead (without the reason
  // and ONCANCEL when the script does not define it).
  void Abandon(Abandoned reason);
  void SetOnAbandon(std::function<void()> on_abandon) { on_abandon_ = std::move(on_abandon); }

  QTimer& timer() { return timer_; }

  // One WaitTimer tick (public so the window can drive it in tests).
  void Tick();

 signals:
  // On as a wait is armed, off as it ends (the window's LabelR and LabelT).
  void IndicatorsChanged(bool on);

 private:
  // The arrow and the indicators, as the wait ends.
  void ShowEnded();
  void EndOnLostLink(bool armed);

  engine::Engine& engine_;
  LinkTable* links_ = nullptr;
  std::function<void()> on_link_lost_;
  std::function<void()> on_abandon_;
  // The wait was armed with slot 1's port open: it ends when that port goes.
  bool watching_link_ = false;
  QTimer timer_;
  int32_t interval_ = 0;
  int32_t max_wait_ = 0;
  std::string pending_script_;
};

}  // namespace device
