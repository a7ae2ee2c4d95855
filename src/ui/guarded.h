// Runs the work of a slot, timer or event handler so that nothing escapes
// into Qt's event loop.
#pragma once

namespace ui {

template <typename F>
void Guarded(F&& f) {
  try {
    f();
  } catch (...) {
  }
}

}  // namespace ui
