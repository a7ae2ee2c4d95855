#include "timers.h"

#include "engine.h"

namespace ui {

DelayedScript::DelayedScript(engine::Engine& engine, QObject* parent)
    : QObject(parent), engine_(engine) {
  timer_.setObjectName("Timer1");
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(10000);
  connect(&timer_, &QTimer::timeout, this, &DelayedScript::Tick);
}

void DelayedScript::Start(std::string script, int32_t ms) {
  script_ = std::move(script);
  timer_.stop();
  // A period of 0 or less never elapses.
  if (ms <= 0) return;
  timer_.setInterval(ms);
  timer_.start();
}

void DelayedScript::Tick() {
  timer_.stop();
  if (script_.empty()) return;
  std::string line = script_;
  try {
    engine_.ExecuteLine(line);
  } catch (...) {
    // Nothing may escape into the event loop.
  }
}

SupervisionTimer::SupervisionTimer(QObject* parent) : QObject(parent) {
  timer_.setObjectName("TimerCOM");
  timer_.setInterval(kPeriodMs);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (!tick_) return;
    try {
      tick_();
    } catch (...) {
      // Nothing may escape into the event loop.
    }
  });
  timer_.start();
}

}  // namespace ui
