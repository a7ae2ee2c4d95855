// ONCONNECT: run whenever the links go from no answer to an answer (the first
// answer on a new link, or answers again after the link had given up), so
// that pages can read the device as soon as it is there. It runs from the
// state change itself, so the label and the hook change together; a line
// that runs or an armed device wait puts it off until they have ended, so it
// never lands inside a transfer.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "link_texts.h"

namespace engine {
class Engine;
}
namespace zlink {
class LinkRegistry;
}

namespace device {

class ConnectHook : public QObject {
  Q_OBJECT

 public:
  // `may_run`: true when no device wait is armed.
  ConnectHook(engine::Engine& engine, zlink::LinkRegistry& links, std::function<bool()> may_run,
              QObject* parent = nullptr);

  static constexpr int kRetryMs = 100;

 private:
  void StateChanged(zlink::LinkState state);
  void TryRun();

  engine::Engine& engine_;
  std::function<bool()> may_run_;
  QTimer retry_;
};

}  // namespace device
