// The program's command line and the screenshot option.
#pragma once

#include <QString>
#include <QStringList>

namespace ui {

class TMainForm;

struct LaunchOptions {
  QStringList arguments;  // without the program name
  QString screenshot;     // --screenshot FILE
  int screenshot_delay_ms = 1000;
};

// Options may stand anywhere after the first argument. A bad delay keeps 1000.
LaunchOptions ParseLaunchOptions(const QStringList& arguments_after_program);

// With --screenshot: once the window's first show (and the start-up connected
// to it before this call) is over and the delay has passed, saves a PNG of the
// whole window and quits; exit code 1 when the file cannot be written. Call it
// after connecting the start-up to TMainForm::FirstShown.
void ArrangeScreenshot(TMainForm& form, const LaunchOptions& options);

}  // namespace ui
