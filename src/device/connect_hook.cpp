#include "connect_hook.h"

#include "engine.h"
#include "guarded.h"
#include "link_registry.h"

namespace device {

ConnectHook::ConnectHook(engine::Engine& engine, zlink::LinkRegistry& links,
                         std::function<bool()> may_run, QObject* parent)
    : QObject(parent), engine_(engine), may_run_(std::move(may_run)) {
  retry_.setSingleShot(true);
  retry_.setInterval(kRetryMs);
  connect(&retry_, &QTimer::timeout, this, [this] { Guarded([this] { TryRun(); }); });
  connect(&links, &zlink::LinkRegistry::StateChanged, this,
          [this](zlink::LinkState state) { Guarded([&] { StateChanged(state); }); });
}

void ConnectHook::StateChanged(zlink::LinkState state) {
  if (state == zlink::LinkState::kConnected) {
    TryRun();
  } else {
    retry_.stop();
  }
}

void ConnectHook::TryRun() {
  if (engine_.LineRunning() || (may_run_ && !may_run_())) {
    retry_.start(kRetryMs);
    return;
  }
  engine_.ExecuteLine("ONCONNECT RUN");
}

}  // namespace device
