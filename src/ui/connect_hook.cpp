#include "connect_hook.h"

#include "engine.h"
#include "guarded.h"

namespace ui {

ConnectHook::ConnectHook(engine::Engine& engine, std::function<bool()> may_run, QObject* parent)
    : QObject(parent), engine_(engine), may_run_(std::move(may_run)) {
  retry_.setSingleShot(true);
  retry_.setInterval(kRetryMs);
  connect(&retry_, &QTimer::timeout, this, [this] { Guarded([this] { TryRun(); }); });
}

void ConnectHook::ConnectionShown(bool connected) {
  // Never inside the link's own receive processing: from the event loop.
  if (connected && !connected_) retry_.start(0);
  connected_ = connected;
}

void ConnectHook::TryRun() {
  if (engine_.LineRunning() || (may_run_ && !may_run_())) {
    retry_.start(kRetryMs);
    return;
  }
  engine_.ExecuteLine("ONCONNECT RUN");
}

}  // namespace ui
