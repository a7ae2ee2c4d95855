#include "timers.h"

#include "engine.h"
#include "guarded.h"

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
  Guarded([&] { engine_.ExecuteLine(line); });
}

}  // namespace ui
