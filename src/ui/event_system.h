// Everything that turns the window's events and ticks into script lines: the
// routing of the pool controls, the two tool-bar buttons, the tree click, the
// device wait, Timer1, TimerCOM and the start-up sequence.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

#include "event_router.h"
#include "long_lines.h"
#include "timers.h"
#include "transfer_progress.h"
#include "tree_navigation.h"
#include "device_wait.h"

namespace engine {
class Engine;
}
namespace zlink {
class LinkRegistry;
}

namespace ui {

using device::DeviceWait;

class TMainForm;

class EventSystem : public QObject {
  Q_OBJECT

 public:
  EventSystem(TMainForm& form, engine::Engine& engine);
  ~EventSystem() override;

  DeviceWait& wait() { return wait_; }
  EventRouter& router() { return router_; }
  DelayedScript& timer1() { return timer1_; }
  SupervisionTimer& timer_com() { return timer_com_; }
  NavigationTree& tree() { return *tree_; }
  LongLines& long_lines() { return *long_lines_; }
  TransferProgress& progress() { return *progress_; }

  // Why the tool-bar buttons cannot reach the device now (Windows-1251, shown
  // in the status bar instead of running MAIN or MAINS); "" when they can. The
  // device side installs it; a running transfer is refused in any case.
  void SetDeviceGate(std::function<std::string()> gate) { device_gate_ = std::move(gate); }
  // A link has opened: START runs now if it has not run since the pages were
  // last cleared (no device at start-up, or the ports went away meanwhile).
  void LinkOpened();
  // The port supervision cleared the pages and the tree.
  void PagesCleared() { pages_built_ = false; }

  // Step 3 of the start-up: port discovery and the first link; true when a
  // link was started. Until the port supervision installs it, no port is
  // found.
  void SetStartFirstLink(std::function<bool()> start) { start_first_link_ = std::move(start); }
  // The links whose slot 1 the device wait and the transfer progress watch;
  // none means no link.
  void SetLinks(zlink::LinkRegistry* links);

  // The start-up sequence, on the window's first show. Returns whether START
  // runs: at once, or when the show has put the window on the screen.
  bool StartUp(bool show_link_memo);

 private:
  void WirePool();
  void Routed(QObject* control, RouteRule rule);
  void ToolBarButton(const char* line);

  TMainForm& form_;
  engine::Engine& engine_;
  DeviceWait wait_;
  EventRouter router_;
  DelayedScript timer1_;
  SupervisionTimer timer_com_;
  std::unique_ptr<NavigationTree> tree_;
  std::unique_ptr<LongLines> long_lines_;
  std::function<bool()> start_first_link_;
  std::unique_ptr<TransferProgress> progress_;
  std::function<std::string()> device_gate_;
  bool started_up_ = false;
  bool pages_built_ = false;
};

// WAITREAD, MAXWAIT, STARTTIMER1, PROGRESS and the tree words.
void RegisterEventWords(engine::Engine& engine, EventSystem& events);

}  // namespace ui
