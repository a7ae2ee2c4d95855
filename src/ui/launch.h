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
  QString screenshot_pages;  // --screenshot-pages DIR
  bool debug = false;        // DEBUG in any letter case, anywhere
  bool help = false;         // --help or -h
  bool version = false;      // --version
  QString error;             // an unknown option or one without its value
};

// Options may stand anywhere. A bad delay keeps 1000. Arguments that do not
// begin with "-" are no options and no error; Qt's own options (-platform,
// -style and the like) are skipped with their values.
LaunchOptions ParseLaunchOptions(const QStringList& arguments_after_program);

// The usage text of --help: every option, one a line.
QString Usage();
// "zelt V1.0.0.1".
QString VersionText();

// For --help, --version and a bad command line: prints what they ask for
// (usage and error to stderr for a bad one) and returns the exit code;
// -1 when the program is to start.
int AnswerCommandLine(const LaunchOptions& options);

// With --screenshot: once the window's first show (and the start-up connected
// to it before this call) is over and the delay has passed, saves a PNG of the
// whole window and quits; exit code 1 when the file cannot be written.
// With --screenshot-pages DIR: once start-up is over and the device connected
// (or 10 s have passed), clicks "Чтение из устройства", waits until the device
// wait is over, then clicks every tree node from top to bottom, saves the
// window after each as DIR/page-NN.png (NN from 01) and quits. Call it after
// connecting the start-up to TMainForm::FirstShown.
void ArrangeScreenshot(TMainForm& form, const LaunchOptions& options);

}  // namespace ui
