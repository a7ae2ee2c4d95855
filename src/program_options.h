// zelt's command line, read once before there is a display.
#pragma once

#include <QString>
#include <QStringList>

#include "launch.h"

namespace zelt {

struct CommandLine {
  bool debug = false;   // a DEBUG argument in any letter case, anywhere
  QStringList ports;    // --port NAME (also --port=NAME), in order
  bool demo = false;    // --demo
  bool watch = false;   // --watch
  ui::ScreenshotOptions screenshot;
  bool help = false;     // --help or -h
  bool version = false;  // --version
  QString error;         // the first unknown option, or an option without its value
};

// Options may stand anywhere. A bad delay keeps 1000. Arguments that do not
// begin with "-" are no options and no error; Qt's own options (-platform,
// -style and the like) are accepted and left to Qt.
CommandLine ParseCommandLine(const QStringList& arguments_after_program);

// The program's arguments without its name, as Unicode on every platform.
QStringList ProgramArguments(int argc, char* argv[]);

// The usage text of --help: every option, one a line.
QString Usage();
// "zelt V1.0.0.1".
QString VersionText();

// For --help, --version and a bad command line: prints what they ask for
// (usage and error to stderr for a bad one) and returns the exit code;
// -1 when the program is to start.
int AnswerCommandLine(const CommandLine& line);

}  // namespace zelt
