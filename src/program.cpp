#include "program.h"

#include <QObject>

#include "close_query.h"
#include "main_form.h"
#include "no_device_panel.h"
#include "cp1251.h"
#include "control_words.h"
#include "script_watch.h"
#include "device_simulator.h"
#include "tables.h"

namespace zelt {

namespace {

std::unique_ptr<sim::DeviceSimulator> DemoDevice() {
  return std::make_unique<sim::DeviceSimulator>(sim::DemoOptions());
}

}  // namespace

std::unique_ptr<Program> Program::Create(const ProgramOptions& options, QString* error) {
  if (!options.demo) {
    return std::unique_ptr<Program>(new Program(nullptr, options.ports, options.script));
  }
  auto demo = DemoDevice();
  QString reason;
  if (!demo->Start(&reason)) {
    if (error) *error = QStringLiteral("cannot start the simulated device: ") + reason;
    return nullptr;
  }
  // The demo talks to its own device only, whatever --port says.
  const QStringList ports{demo->PortPath()};
  return std::unique_ptr<Program>(new Program(std::move(demo), ports, options.script));
}

Program::Program(const QStringList& ports, const std::string& script)
    : Program(nullptr, ports, script) {}

Program::Program(std::unique_ptr<sim::DeviceSimulator> demo, const QStringList& ports,
                 const std::string& script)
    : engine_(&form_),
      file_dialogs_(form_),
      demo_(std::move(demo)),
      session_(engine_),
      supervision_(session_, ports),
      device_(form_, engine_, session_, supervision_),
      events_(form_, *form_.TreeView(), *form_.StatusBar(), engine_, session_.wait(),
              session_.links(), device_) {
  engine::RegisterCoreWords(engine_);
  ui::RegisterControlWords(engine_, form_, &device_);
  files::RegisterFileWords(engine_, file_state_, &file_dialogs_);
  ui::RegisterEventWords(engine_, events_);
  session_.RegisterWords();
  session_.HoldRecordsWith(&events_.long_lines());
  session_.RunConnectHook();
  QObject::connect(&supervision_, &device::PortSupervision::PortsGone, &events_,
                   &ui::EventSystem::PortsGone);
  QObject::connect(&device_, &ui::DeviceLinkSystem::LinkOpened, &events_,
                   &ui::EventSystem::LinkOpened);
  tables_ = tables::RegisterTableWords(
      engine_,
      {.registers = &form_.registers(), .controls = &form_.controls(), .router = &events_.router(),
       .device = &session_.stores(), .files = &file_state_, .monitor = &form_},
      &form_);
  if (!script.empty()) engine_.script_file().SetPath(script);
  form_.SetCloseQuery([this] { return ui::CloseQueryAllowsClose(engine_); });
  form_.SetDemoAction([this] { StartDemo(); });
}

void Program::StartDemo() {
  if (!demo_) {
    auto demo = DemoDevice();
    QString reason;
    if (!demo->Start(&reason)) {
      form_.ShowStatus(engine::ToCp1251(QStringLiteral("Демонстрация не запущена: ") + reason));
      return;
    }
    demo_ = std::move(demo);
  }
  // From now on only the demo's line is looked for, starting at once.
  supervision_.LookFor({demo_->PortPath()});
  supervision_.Tick();
}

Program::~Program() {
  // The links stop while everything that their last lines may reach is there.
  session_.links().StopAll();
  session_.HoldRecordsWith(nullptr);
}

void Program::StartOnFirstShow(bool show_link_memo) {
  QObject::connect(&form_, &ui::TMainForm::FirstShown, &form_,
                   [this, show_link_memo] { events_.StartUp(show_link_memo); });
}

}  // namespace zelt

namespace zelt {

ScriptWatch& Program::WatchScript() {
  if (!watch_) {
    watch_ = new ScriptWatch(engine_, events_, form_);
    watch_->Start();
  }
  return *watch_;
}

}  // namespace zelt
