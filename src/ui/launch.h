// The screenshot options: the window saved as PNG files, then the program ends.
#pragma once

#include <QString>

namespace zlink {
class LinkRegistry;
}

namespace ui {

class EventSystem;
class TMainForm;

struct ScreenshotOptions {
  QString file;  // --screenshot FILE
  int delay_ms = 1000;
  QString pages;  // --screenshot-pages DIR
};

// With --screenshot: once the window's first show (and the start-up connected
// to it before this call) is over and the delay has passed, saves a PNG of the
// whole window and quits; exit code 1 when the file cannot be written.
// With --screenshot-pages DIR: once start-up is over and the device connected
// (or 10 s have passed), clicks "Чтение из устройства", waits until the device
// wait is over, then clicks every tree node from top to bottom, saves the
// window after each as DIR/page-NN.png (NN from 01) and quits. Call it after
// connecting the start-up to TMainForm::FirstShown.
void ArrangeScreenshot(TMainForm& form, EventSystem& events, const zlink::LinkRegistry& links,
                       const ScreenshotOptions& options);

}  // namespace ui
