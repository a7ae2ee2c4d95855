#include "program.h"

#include <QObject>

#include "close_query.h"
#include "main_form.h"
#include "no_device_panel.h"
#include "cp1251.h"
#include "control_words.h"
#include "event_system.h"
#include "script_watch.h"
#include "supervision_system.h"
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
    : engine_(&form_), file_dialogs_(form_), demo_(std::move(demo)) {
  engine::RegisterCoreWords(engine_);
  ui::RegisterControlWords(engine_, form_);
  files::RegisterFileWords(engine_, file_state_, &file_dialogs_);
  events_ = std::make_unique<ui::EventSystem>(form_, engine_);
  ui::RegisterEventWords(engine_, *events_);
  device_ = std::make_unique<ui::DeviceLinkSystem>(form_, engine_, *events_, ports);
  tables_ = tables::RegisterTableWords(
      engine_,
      {.registers = &form_.registers(), .controls = &form_.controls(), .router = &events_->router(),
       .device = &device_->stores(), .files = &file_state_, .monitor = &form_},
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
  device_->UseOnlyPort(demo_->PortPath());
}

Program::~Program() = default;

void Program::StartOnFirstShow(bool show_link_memo) {
  QObject::connect(&form_, &ui::TMainForm::FirstShown, &form_,
                   [this, show_link_memo] { events_->StartUp(show_link_memo); });
}

}  // namespace zelt

namespace zelt {

ScriptWatch& Program::WatchScript() {
  if (!watch_) {
    watch_ = new ScriptWatch(engine_, *events_, form_);
    watch_->Start();
  }
  return *watch_;
}

}  // namespace zelt
