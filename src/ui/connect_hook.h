// ONCONNECT: run whenever the device answers after the program had no answer
// from it (the first answer on a new link, or answers again after the link had
// given up), so that pages can read the device as soon as it is there. The line
// waits until no other line runs and no device wait is armed, so it never lands
// inside a transfer.
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

  // A new link was made: nothing has answered on it yet.
  void LinkMade() { connected_ = false; }
  // The link set the connection label.
  void ConnectionShown(bool connected);

  static constexpr int kRetryMs = 100;

 private:
  void TryRun();

  engine::Engine& engine_;
  std::function<bool()> may_run_;
  QTimer retry_;
  bool connected_ = false;
};

}  // namespace ui
