#include "supervision_system.h"

#include "cp1251.h"
#include "engine.h"
#include "guarded.h"
#include "main_form.h"

namespace ui {

namespace {

constexpr char kWriteUnfinished[] = "Запись в устройство не завершена. Закрыть?";

}  // namespace

DeviceLinkSystem::DeviceLinkSystem(TMainForm& form, engine::Engine& engine,
                                   device::DeviceSession& session,
                                   device::PortSupervision& supervision)
    : QObject(&form), form_(form), engine_(engine), session_(session), supervision_(supervision) {
  zlink::LinkRegistry& links = session_.links();
  form.ShowLinkState(links.state());
  connect(&links, &zlink::LinkRegistry::StateChanged, &form, &TMainForm::ShowLinkState);
  connect(&session_, &device::DeviceSession::LinkLine, &form,
          [&form](const std::string& line) { form.AddLinkLine(engine::FromCp1251(line)); });
  form.AddCloseCheck([this, &form] {
    if (!session_.links().WriteUnfinished()) return true;
    return form.dialogs().MessageDlg(QString::fromUtf8(kWriteUnfinished));
  });

  connect(&supervision_, &device::PortSupervision::Status, &form, &TMainForm::ShowStatus);
  connect(&supervision_, &device::PortSupervision::LinksChanged, this, [this] { LinksChanged(); });
  connect(&supervision_.ports(), &device::PortList::Changed, this, [this] {
    form_.ShowPorts(supervision_.ports().names(), supervision_.ports().current());
  });
  connect(&form, &TMainForm::PortChosen, &supervision_, &device::PortSupervision::Choose);

  timer_com_.setObjectName(QStringLiteral("TimerCOM"));
  timer_com_.setInterval(kTimerComMs);
  connect(&timer_com_, &QTimer::timeout, this, [this] { TimerComTick(); });
  timer_com_.start();
}

void DeviceLinkSystem::TimerComTick() {
  // Off while the tick works: the lines it runs may wait in an event loop.
  timer_com_.stop();
  Guarded([this] { supervision_.Tick(); });
  timer_com_.start();
}

void DeviceLinkSystem::LinksChanged() {
  if (supervision_.LinkOpen()) {
    form_.ShowNoDevice(false);
    emit LinkOpened();
    return;
  }
  NoDeviceReport report = supervision_.Report();
  engine_.script_file().Load();
  report.script_problem = engine::FromCp1251(engine_.script_file().ProblemText());
  form_.ShowNoDevice(true, report);
}

std::string DeviceLinkSystem::ToolBarRefusal() const {
  if (!supervision_.LinkOpen()) {
    return engine::Cp1251("Нет связи с устройством: порт не открыт, подробности на странице.");
  }
  // An open port whose device is silent is the script's to explain.
  return {};
}

}  // namespace ui
