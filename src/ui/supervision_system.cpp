#include "supervision_system.h"

#include <QLabel>
#include <QPlainTextEdit>

#include "connect_hook.h"
#include "cp1251.h"
#include "device_session.h"
#include "device_words.h"
#include "engine.h"
#include "event_system.h"
#include "link_texts.h"
#include "main_form.h"
#include "port_scan.h"
#include "queued_memo.h"
#include "supervision.h"

namespace ui {

namespace {

constexpr char kWriteUnfinished[] = "Запись в устройство не завершена. Закрыть?";

}  // namespace

DeviceLinkSystem::DeviceLinkSystem(TMainForm& form, engine::Engine& engine, EventSystem& events,
                                   QStringList port_list)
    : QObject(&form), form_(form), events_(events) {
  form.ShowLinkState(links_.state());
  connect(&links_, &zlink::LinkRegistry::StateChanged, &form, &TMainForm::ShowLinkState);
  link_memo_ = std::make_unique<QueuedMemo>(form.MemoDebug(), TMainForm::kMemoLineCap);
  events.SetLinks(&links_);
  form.SetDeviceSide(this);
  dispatcher_ = std::make_unique<device::Dispatcher>(engine, stores_, links_, events.wait());
  device::RegisterDeviceWords(engine, stores_, links_);

  form.AddCloseCheck([this, &form] {
    if (!links_.WriteUnfinished()) return true;
    return form.dialogs().MessageDlg(QString::fromUtf8(kWriteUnfinished));
  });

  SupervisionParts parts;
  parts.links = &links_;
  parts.combo = form.ComboBoxCom();
  parts.view = this;
  parts.timer_com = &events.timer_com().timer();
  ports_ = port_list;
  parts.scan = [this] { return zlink::ScanPorts(ports_); };
  parts.show_status = [&form](const std::string& text) { form.ShowStatus(text); };
  parts.execute_line = [&engine](const std::string& line) { engine.ExecuteLine(line); };
  parts.stop_timers = [&events] {
    events.timer1().Stop();
    events.wait().LinkLost();
  };
  parts.link_lost = [&events] { events.wait().LinkLost(); };
  events.wait().SetOnLinkLost([this] { LinkLost(); });
  events.wait().SetOnAbandon([this] { TransferAbandoned(); });
  device::Dispatcher* dispatcher = dispatcher_.get();
  LongLines* long_lines = &events.long_lines();
  DeviceWait* wait = &events.wait();
  connect_hook_ =
      std::make_unique<device::ConnectHook>(engine, links_, [wait] { return !wait->Armed(); });
  parts.bind_link = [dispatcher, long_lines](zlink::RSThread& link) {
    // Every record counts as coming from link 1, whatever number the link gives.
    link.OnRecord = [dispatcher, long_lines](zlink::RSThread&, int, const std::string& record) {
      if (!long_lines->Holding()) {
        dispatcher->OnRecord(record);
        return;
      }
      // A long line runs: the record reaches the scripts after it, but a
      // refusal is answered now, before the link sends anything else.
      dispatcher->TakeRefusal(record);
      long_lines->Later([dispatcher, record] { dispatcher->OnRecord(record, true); });
    };
  };
  parts.wanted_ports = port_list;
  parts.changed = [this, &engine, &events] { LinksChanged(engine, events); };
  parts.pages_cleared = [&events] { events.PagesCleared(); };
  supervision_ = std::make_unique<PortSupervision>(std::move(parts));
  events.SetDeviceGate([this] { return DeviceGate(); });

  PortSupervision* supervision = supervision_.get();
  events.SetStartFirstLink([supervision] { return supervision->StartFirstLink(); });
  events.timer_com().SetTick([supervision] { supervision->Tick(); });
}

DeviceLinkSystem::~DeviceLinkSystem() {
  form_.SetDeviceSide(nullptr);
  links_.StopAll();
  events_.SetLinks(nullptr);
}

void DeviceLinkSystem::LinksChanged(engine::Engine& engine, EventSystem& events) {
  const bool open = supervision_ && supervision_->LinkOpen();
  if (open) {
    form_.ShowNoDevice(false);
    events.LinkOpened();
    return;
  }
  NoDeviceReport report = supervision_ ? supervision_->Report() : NoDeviceReport{};
  engine.script_file().Load();
  report.script_problem = engine::FromCp1251(engine.script_file().ProblemText());
  form_.ShowNoDevice(true, report);
}

void DeviceLinkSystem::LinkLost() { device::DropUnsent(links_, stores_, false); }

void DeviceLinkSystem::UseOnlyPort(const QString& port) {
  ports_ = QStringList{port};
  supervision_->Tick();
}

void DeviceLinkSystem::TransferAbandoned() { device::DropUnsent(links_, stores_, true); }

std::string DeviceLinkSystem::DeviceGate() const {
  if (!supervision_ || !supervision_->LinkOpen()) {
    return engine::Cp1251("Нет связи с устройством: порт не открыт, подробности на странице.");
  }
  // An open port whose device is silent is the script's to explain.
  return {};
}

bool DeviceLinkSystem::AnyLink() const { return links_.Any(); }

void DeviceLinkSystem::RecordHookOff() { stores_.record_hook = device::RecordHook{}; }

void DeviceLinkSystem::AddLinkMemoLine(const std::string& line) {
  link_memo_->Append(engine::FromCp1251(line));
}

void DeviceLinkSystem::ReportState(zlink::LinkState state) { links_.Report(state); }

}  // namespace ui
