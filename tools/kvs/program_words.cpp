#include "program_words.h"

#include <QApplication>
#include <QStringList>
#include <QtGlobal>

#include "program.h"

namespace kvs {

engine::WordReference ProgramWords(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's own chatter (no runtime folder, no screen) is no concern of the
  // author reading the checker's lines.
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  engine::WordReference words;
  {
    QApplication app(argc, argv);
    // No port is opened: the links start only with the window's first show.
    zelt::Program program(QStringList{});
    words = program.engine().reference();
  }
  qInstallMessageHandler(previous);
  return words;
}

}  // namespace kvs
