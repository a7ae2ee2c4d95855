// Timer1, the one-shot timer for a delayed script (STARTTIMER1), and TimerCOM,
// the port supervision's 3-second timer.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

#include "page_surface.h"

namespace engine {
class Engine;
}

namespace ui {

class DelayedScript : public QObject, public LineTimer {
  Q_OBJECT

 public:
  explicit DelayedScript(engine::Engine& engine, QObject* parent = nullptr);

  // STARTTIMER1: a new call before the tick replaces script and period.
  void Start(std::string script, int32_t ms) override;
  void Stop() { timer_.stop(); }

  const std::string& script() const { return script_; }
  void set_script(std::string script) override { script_ = std::move(script); }
  QTimer& timer() { return timer_; }

  // One Timer1 tick.
  void Tick();

 private:
  engine::Engine& engine_;
  QTimer timer_;
  std::string script_;
};

// TimerCOM runs from start; its tick is the port supervision, which the link
// side installs.
class SupervisionTimer : public QObject {
  Q_OBJECT

 public:
  static constexpr int kPeriodMs = 3000;

  explicit SupervisionTimer(QObject* parent = nullptr);

  void SetTick(std::function<void()> tick) { tick_ = std::move(tick); }
  QTimer& timer() { return timer_; }

 private:
  QTimer timer_;
  std::function<void()> tick_;
};

}  // namespace ui
