// zelt: the ZELT-2 GSM configurator.
#include <QApplication>
#include <cstdio>

#include "launch.h"
#include "program.h"
#include "program_files.h"

#ifndef ZELT_SHIPPED_SCRIPT
#define ZELT_SHIPPED_SCRIPT ""
#endif

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const ui::LaunchOptions options = ui::ParseLaunchOptions(app.arguments().mid(1));
  zelt::ProgramOptions program_options = zelt::ParseProgramOptions(options.arguments);
  program_options.script =
      zelt::EnterStartFolder(QStringLiteral(ZELT_SHIPPED_SCRIPT)).script.toStdString();

  QString error;
  const std::unique_ptr<zelt::Program> program = zelt::Program::Create(program_options, &error);
  if (!program) {
    std::fprintf(stderr, "zelt: %s\n", qPrintable(error));
    return 1;
  }
  program->StartOnFirstShow(options.arguments);
  if (program_options.watch) program->WatchScript();
  ui::ArrangeScreenshot(program->form(), options);
  program->form().show();
  return app.exec();
}
