// The start-up sequence run on the window's first show: it prepares the window
// and the engine, then clears the page and runs START when a link came up.
#pragma once

#include <functional>

namespace engine {
class Engine;
}

namespace ui {

class DelayedScript;

// The window's part of the sequence.
class StartUpWindow {
 public:
  virtual ~StartUpWindow() = default;
  virtual void SetMemoDebugVisible(bool visible) = 0;
  // Port discovery and the first link; true when a link was started.
  virtual bool StartFirstLink() = 0;
  virtual void ResizeToScreen() = 0;
  virtual void HideSingleControls() = 0;
  virtual void PaintImage1() = 0;
  // Runs `work` once the window is on the screen, so that a long START shows
  // the window and can be stopped.
  virtual void WhenOnScreen(std::function<void()> work) { work(); }
};

// The link memo shows when the command line asked for it. Returns whether
// START runs.
bool RunStartUp(engine::Engine& engine, StartUpWindow& window, bool show_link_memo,
                DelayedScript& timer1);

}  // namespace ui
