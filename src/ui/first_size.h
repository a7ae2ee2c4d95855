// The window's size when it is first shown.
#pragma once

#include <QSize>

namespace ui {

struct FirstSize {
  QSize client;  // the client area to resize to, when not maximised
  bool maximised = false;
};

// Four sixths of the screen's outer size, raised to the designed client area
// where that gives less; maximised when the available area (the screen less
// the desktop's panels) cannot hold the window. `frame` is what the window's
// frame adds to the client area.
FirstSize ChooseFirstSize(QSize screen, QSize available, QSize designed_client, QSize frame);

}  // namespace ui
