// zelt: the ZELT-2 GSM configurator.
#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "launch.h"
#include "translations.h"
#include "program.h"
#include "program_files.h"

#ifndef ZELT_SHIPPED_SCRIPT
#define ZELT_SHIPPED_SCRIPT ""
#endif

int main(int argc, char* argv[]) {
  // --help, --version and an unknown option answer without a display.
  QStringList raw;
  for (int i = 1; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
  if (ui::LaunchOptions early = ui::ParseLaunchOptions(raw); early.help || early.version) {
    early.error.clear();
    return ui::AnswerCommandLine(early);
  } else if (const int code = ui::AnswerCommandLine(early); code >= 0) {
    return code;
  }
  QApplication app(argc, argv);
  // Qt has taken its own options (-platform and the like) out by now.
  const ui::LaunchOptions options = ui::ParseLaunchOptions(app.arguments().mid(1));
  ui::LoadQtTranslations(app);
  zelt::ProgramOptions program_options = zelt::ParseProgramOptions(options.arguments);
  program_options.script =
      zelt::EnterStartFolder(QStringLiteral(ZELT_SHIPPED_SCRIPT)).script.toStdString();

  QString error;
  const std::unique_ptr<zelt::Program> program = zelt::Program::Create(program_options, &error);
  if (!program) {
    std::fprintf(stderr, "zelt: %s\n", qPrintable(error));
    return 1;
  }
  // DEBUG is honoured wherever it stands; the start-up looks at the first argument.
  program->StartOnFirstShow(options.debug ? QStringList{QStringLiteral("DEBUG")} : QStringList{});
  if (program_options.watch) program->WatchScript();
  // Screenshots show the first size, whatever a run before left.
  if (options.screenshot.isEmpty() && options.screenshot_pages.isEmpty()) {
    program->form().SetPlaceFile(QStringLiteral("zelt.ini"));
  }
  ui::ArrangeScreenshot(program->form(), options);
  program->form().show();
  return app.exec();
}
