#include "device_wait.h"

#include "engine.h"

namespace device {

DeviceWait::DeviceWait(engine::Engine& engine, QObject* parent)
    : QObject(parent), engine_(engine) {
  timer_.setObjectName("WaitTimer");
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &DeviceWait::Tick);
}

void DeviceWait::ShowEnded() {
  engine_.set_rest_cursor(engine::Cursor::kArrow);
  engine_.host().ShowCursor(engine::Cursor::kArrow);
  emit IndicatorsChanged(false);
}

void DeviceWait::WaitRead(int32_t n, engine::Frame& frame) {
  interval_ = n;
  if (!pending_script_.empty()) pending_script_ += ' ';
  pending_script_.append(frame.pending.View());
  frame.pending.Clear();
  timer_.stop();
  if (n > 0) {
    const LinkEnd* link = links_ ? links_->Slot(1) : nullptr;
    watching_link_ = link != nullptr && link->Open();
    timer_.setInterval(n);
    timer_.start();
    engine_.set_rest_cursor(engine::Cursor::kHourglass);
    engine_.host().ShowCursor(engine::Cursor::kHourglass);
    emit IndicatorsChanged(true);
    frame.pending.Assign("ONSTARTWAIT RUN ");
    return;
  }
  std::string rest = "ONSTOPWAIT RUN " + pending_script_;
  pending_script_.clear();
  frame.pending.Assign(rest);
  ShowEnded();
}

void DeviceWait::End() {
  interval_ = 0;
  timer_.stop();
  std::string line = "ONSTOPWAIT RUN " + pending_script_;
  pending_script_.clear();
  ShowEnded();
  engine_.ExecuteLine(line);
}

void DeviceWait::KeepAlive() {
  if (timer_.isActive() && max_wait_ == 0) RestartTimer();
}

void DeviceWait::RestartTimer() {
  timer_.stop();
  if (interval_ > 0) {
    timer_.setInterval(interval_);
    timer_.start();
  }
}

void DeviceWait::Tick() {
  timer_.stop();
  bool idle = false;
  bool lost = false;
  try {
    const LinkEnd* link = links_ ? links_->Slot(1) : nullptr;
    lost = watching_link_ && !(link && link->Open());
    idle = !lost && link && link->Idle();
  } catch (...) {
    idle = false;
  }
  if (lost) {
    EndOnLostLink(true);
    return;
  }
  if (!idle) {
    if (interval_ > 0) {
      timer_.setInterval(interval_);
      timer_.start();
    }
    return;
  }
  try {
    std::string held_back = std::move(pending_script_);
    pending_script_.clear();
    emit IndicatorsChanged(false);
    // The arrow goes back before the held-back words run, so that a wait they
    // arm again keeps its hourglass.
    engine_.set_rest_cursor(engine::Cursor::kArrow);
    engine_.host().ShowCursor(engine::Cursor::kArrow);
    engine_.ExecuteLine(" ONSTOPWAIT RUN " + held_back);
    max_wait_ = 0;
  } catch (...) {
    // The tick must never throw into the event loop.
  }
}

void DeviceWait::LinkLost() {
  const bool armed = Armed();
  timer_.stop();
  EndOnLostLink(armed);
}

void DeviceWait::EndOnLostLink(bool armed) {
  try {
    watching_link_ = false;
    if (on_link_lost_) on_link_lost_();
    if (!armed) return;
    pending_script_.clear();
    emit IndicatorsChanged(false);
    engine_.set_rest_cursor(engine::Cursor::kArrow);
    engine_.host().ShowCursor(engine::Cursor::kArrow);
    max_wait_ = 0;
    engine_.ExecuteLine(" ONSTOPWAIT RUN ONLINKLOST RUN ");
  } catch (...) {
    // Called from the timers: nothing may reach the event loop.
  }
}

void DeviceWait::Abandon(Abandoned reason) {
  if (!Armed()) return;
  timer_.stop();
  try {
    watching_link_ = false;
    if (on_abandon_) on_abandon_();
    pending_script_.clear();
    emit IndicatorsChanged(false);
    engine_.set_rest_cursor(engine::Cursor::kArrow);
    engine_.host().ShowCursor(engine::Cursor::kArrow);
    max_wait_ = 0;
    std::string line = " ONSTOPWAIT RUN ";
    if (!engine_.LoadDefinition("ONCANCEL").empty()) {
      line += std::to_string(static_cast<int>(reason)) + " ONCANCEL RUN ";
    }
    engine_.ExecuteLine(line);
  } catch (...) {
    // Called from a click or a timer: nothing may reach the event loop.
  }
}

}  // namespace device
