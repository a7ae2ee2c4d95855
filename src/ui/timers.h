// Timer1, the one-shot timer for a delayed script (STARTTIMER1).
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
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

}  // namespace ui
