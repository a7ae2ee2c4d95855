// Runs a slot's work so that nothing escapes into Qt's event loop.
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
