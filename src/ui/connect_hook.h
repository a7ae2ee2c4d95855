// ONCONNECT: run once for every link whose device has answered, so that pages
// can read the device as soon as it is there. The line waits until no other
// line runs and no device wait is armed, so it never lands inside a transfer.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace engine {
class Engine;
}

namespace ui {

class ConnectHook : public QObject {
  Q_OBJECT

 public:
  // `may_run`: true when no device wait is armed.
  ConnectHook(engine::Engine& engine, std::function<bool()> may_run, QObject* parent = nullptr);

  // A new link was made: its first answer will run the hook again.
  void LinkMade() { announced_ = false; }
  // The connection label turned to connected.
  void LinkAnswered();

  static constexpr int kRetryMs = 100;

 private:
  void TryRun();

  engine::Engine& engine_;
  std::function<bool()> may_run_;
  QTimer retry_;
  bool announced_ = true;  // nothing to announce before the first link
};

}  // namespace ui
