// Everything that turns the window's events and ticks into script lines: the
// routing of the pool controls, the two tool-bar buttons, the tree click, the
// device wait's indicators and progress, Timer1, the start-up sequence and
// the pages' side of the links coming and going.
#pragma once

#include <QObject>

#include "device_side.h"
#include "device_wait.h"
#include "event_router.h"
#include "long_lines.h"
#include "timers.h"
#include "transfer_progress.h"
#include "tree_navigation.h"

class QStatusBar;
class QTreeWidget;

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
  // `tree_view` and `status_bar` are the window's: the navigation tree, and
  // where the transfer progress and the long lines' stop button sit. `wait`
  // and `links` are the device session's.
  EventSystem(TMainForm& form, QTreeWidget& tree_view, QStatusBar& status_bar,
              engine::Engine& engine, DeviceWait& wait, const zlink::LinkRegistry& links,
              DeviceReach& device);
  ~EventSystem() override;

  DeviceWait& wait() { return wait_; }
  EventRouter& router() { return router_; }
  DelayedScript& timer1() { return timer1_; }
  NavigationTree& tree() { return tree_; }
  LongLines& long_lines() { return long_lines_; }
  TransferProgress& progress() { return progress_; }

  // A link has opened: START runs now if it has not run since the pages were
  // last cleared (no device at start-up, or the ports went away meanwhile).
  void LinkOpened();
  // Every port has gone while a link was held: Timer1 stops, a device wait
  // ends as on a lost link, and the pages and the tree are cleared.
  void PortsGone();

  // The start-up sequence, on the window's first show. Returns whether START
  // runs: at once, or when the show has put the window on the screen.
  bool StartUp(bool show_link_memo);

 private:
  void WirePool();
  void Routed(QObject* control, RouteRule rule);
  void ToolBarButton(const char* line);

  TMainForm& form_;
  engine::Engine& engine_;
  DeviceWait& wait_;
  DeviceReach& device_;
  EventRouter router_;
  DelayedScript timer1_;
  NavigationTree tree_;
  LongLines long_lines_;
  TransferProgress progress_;
  bool started_up_ = false;
  bool pages_built_ = false;
};

// WAITREAD, MAXWAIT, STARTTIMER1, PROGRESS and the tree words.
void RegisterEventWords(engine::Engine& engine, EventSystem& events);

}  // namespace ui
