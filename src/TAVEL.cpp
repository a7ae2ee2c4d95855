// zelt: the ZELT-2 GSM configurator.
#include <QApplication>
#include <cstdio>

#include "program.h"
#include "program_files.h"
#include "program_options.h"
#include "translations.h"

#ifndef ZELT_SHIPPED_SCRIPT
#define ZELT_SHIPPED_SCRIPT ""
#endif

int main(int argc, char* argv[]) {
  // --help, --version and a bad command line answer without a display.
  const zelt::CommandLine line = zelt::ParseCommandLine(zelt::ProgramArguments(argc, argv));
  if (const int code = zelt::AnswerCommandLine(line); code >= 0) return code;
  QApplication app(argc, argv);
  ui::LoadQtTranslations(app);
  zelt::ProgramOptions program_options;
  program_options.ports = line.ports;
  program_options.demo = line.demo;
  program_options.watch = line.watch;
  program_options.script =
      zelt::EnterStartFolder(QStringLiteral(ZELT_SHIPPED_SCRIPT)).script.toStdString();

  QString error;
  const std::unique_ptr<zelt::Program> program = zelt::Program::Create(program_options, &error);
  if (!program) {
    std::fprintf(stderr, "zelt: %s\n", qPrintable(error));
    return 1;
  }
  program->StartOnFirstShow(line.debug);
  if (program_options.watch) program->WatchScript();
  // Screenshots show the first size, whatever a run before left.
  if (line.screenshot.file.isEmpty() && line.screenshot.pages.isEmpty()) {
    program->form().SetPlaceFile(QStringLiteral("zelt.ini"));
  }
  ui::ArrangeScreenshot(program->form(), program->events(), program->device().links(),
                        line.screenshot);
  program->form().show();
  return app.exec();
}
