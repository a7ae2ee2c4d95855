// zelt: the ZELT-2 GSM configurator.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <memory>

#include "control_words.h"
#include "engine.h"
#include "event_system.h"
#include "file_words.h"
#include "launch.h"
#include "main_form.h"
#include "port_args.h"
#include "supervision_system.h"
#include "tables.h"
#include "window_file_dialogs.h"
#ifdef ZELT_DEMO
#include "device_simulator.h"
#endif

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

  // The device ports: --port NAME (repeatable), or with --demo the simulated
  // device's own pseudo-terminal; otherwise the platform's scan.
  QStringList ports;
  for (const std::string& port : zlink::ParsePortArgs(argc, argv)) ports << QString::fromStdString(port);
#ifdef ZELT_DEMO
  std::unique_ptr<sim::DeviceSimulator> demo;
  if (options.arguments.contains(QStringLiteral("--demo"))) {
    sim::SimulatorOptions demo_options;
    demo_options.line.poll_interval_ms = 50;
    demo = std::make_unique<sim::DeviceSimulator>(demo_options);
    QString error;
    if (!demo->Start(&error)) {
      std::fprintf(stderr, "zelt: cannot start the simulated device: %s\n", qPrintable(error));
      return 1;
    }
    ports = QStringList{demo->PortPath()};
    // Started outside a configuration folder, the demo shows the shipped pages.
    if (!QFileInfo::exists(QStringLiteral("Setup.KVS"))) {
      engine.script_file().SetPath(ZELT_SHIPPED_SCRIPT);
    }
  }
#endif
  ui::DeviceLinkSystem device_link(form, engine, events, ports);
  tables::RegisterTableWords(
      engine,
      {.registers = &form.registers(), .pool = &form.pool(), .router = &events.router(),
       .device = &device_link.stores(), .files = &file_state, .label_filtr = form.LabelFiltr(),
       .memo_terminal = form.MemoTerminal(), .memo_terminal_out = form.MemoTerminalOut()},
      &form);

  QObject::connect(&form, &ui::TMainForm::FirstShown, &form,
                   [&] { events.StartUp(options.arguments); });
  ui::ArrangeScreenshot(form, options);
  form.show();
  return app.exec();
}
