// zelt: the ZELT-2 GSM configurator.
#include <QApplication>

#include "control_words.h"
#include "engine.h"
#include "event_system.h"
#include "file_words.h"
#include "launch.h"
#include "main_form.h"
#include "tables.h"
#include "window_file_dialogs.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const ui::LaunchOptions options = ui::ParseLaunchOptions(app.arguments().mid(1));

  ui::TMainForm form;
  engine::Engine engine(&form);

  engine::RegisterCoreWords(engine);
  ui::RegisterControlWords(engine, form);
  files::FileWordsState file_state;
  ui::WindowFileDialogs file_dialogs(form);
  files::RegisterFileWords(engine, file_state, &file_dialogs);
  ui::EventSystem events(form, engine);
  ui::RegisterEventWords(engine, events);
  tables::RegisterTableWords(
      engine,
      {.registers = &form.registers(), .pool = &form.pool(), .router = &events.router(),
       .files = &file_state, .label_filtr = form.LabelFiltr(),
       .memo_terminal = form.MemoTerminal(), .memo_terminal_out = form.MemoTerminalOut()},
      &form);

  QObject::connect(&form, &ui::TMainForm::FirstShown, &form,
                   [&] { events.StartUp(options.arguments); });
  ui::ArrangeScreenshot(form, options);
  form.show();
  return app.exec();
}
