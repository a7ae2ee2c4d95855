// The zelt program put together: the window, the engine with every word
// group, the event routing, the device side and the tables, and with --demo
// the simulated device it talks to.
#pragma once

#include <QStringList>
#include <memory>
#include <string>

#include "device_session.h"
#include "engine.h"
#include "event_system.h"
#include "file_words.h"
#include "main_form.h"
#include "port_supervision.h"
#include "supervision_system.h"
#include "window_file_dialogs.h"

namespace sim {
class DeviceSimulator;
}
namespace tables {
class Tables;
}

namespace zelt {

class ScriptWatch;

struct ProgramOptions {
  QStringList ports;   // --port NAME, in order; empty for the platform's scan
  bool demo = false;   // --demo: the simulated device on a line of its own
  std::string script;  // the Setup.KVS to run; empty keeps "Setup.KVS"
  bool watch = false;  // --watch: reload Setup.KVS when it changes
};

class Program {
 public:
  // Builds the program; with `demo` it starts the simulated device first (on
  // a pseudo-terminal on Unix, on a memory line elsewhere) and returns null
  // (and the reason in `error`) when that fails.
  static std::unique_ptr<Program> Create(const ProgramOptions& options, QString* error);

  explicit Program(const QStringList& ports, const std::string& script = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  ui::TMainForm& form() { return form_; }
  engine::Engine& engine() { return engine_; }
  files::FileWordsState& file_state() { return file_state_; }
  ui::EventSystem& events() { return events_; }
  ui::DeviceLinkSystem& device() { return device_; }
  tables::Tables& tables() { return *tables_; }

  // The start-up sequence runs on the window's first show.
  void StartOnFirstShow(bool show_link_memo);
  // From now on a change of the script file reloads the pages (--watch).
  ScriptWatch& WatchScript();
  // The no-device page's button: the simulated device, as with --demo, and
  // the link to it instead of the ports looked for so far.
  void StartDemo();

 private:
  Program(std::unique_ptr<sim::DeviceSimulator> demo, const QStringList& ports,
          const std::string& script);

  // Built in this order, each from those before it. The window outlives
  // everything that points into it, the demo device the links to it.
  ui::TMainForm form_;
  engine::Engine engine_;
  files::FileWordsState file_state_;
  ui::WindowFileDialogs file_dialogs_;
  std::unique_ptr<sim::DeviceSimulator> demo_;
  device::DeviceSession session_;
  device::PortSupervision supervision_;
  ui::DeviceLinkSystem device_;
  ui::EventSystem events_;
  tables::Tables* tables_ = nullptr;  // owned by the window
  ScriptWatch* watch_ = nullptr;      // owned by the window
};

}  // namespace zelt
