// Runs the work of a slot, timer, event handler or received record so that
// nothing escapes into Qt's event loop or the link's receive processing.
#pragma once

template <typename F>
void Guarded(F&& f) {
  try {
    f();
  } catch (...) {
  }
}
