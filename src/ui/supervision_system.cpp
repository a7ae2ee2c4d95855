#include "supervision_system.h"

#include <QComboBox>
#include <QPlainTextEdit>

#include "cp1251.h"
#include "engine.h"
#include "event_system.h"
#include "queued_memo.h"

namespace ui {

namespace {

constexpr char kWriteUnfinished[] = "Запись в устройство не завершена. Закрыть?";

}  // namespace

class DeviceLinkSystem::LongLinesHold : public device::RecordHold {
 public:
  explicit LongLinesHold(LongLines& lines) : lines_(lines) {}
  bool Holding() const override { return lines_.Holding(); }
  void Later(std::function<void()> work) override { lines_.Later(std::move(work)); }

 private:
  LongLines& lines_;
};

DeviceLinkSystem::DeviceLinkSystem(TMainForm& form, engine::Engine& engine, EventSystem& events,
                                   QStringList port_list)
    : QObject(&form),
      form_(form),
      engine_(engine),
      events_(events),
      link_memo_(std::make_unique<QueuedMemo>(form.MemoDebug(), TMainForm::kMemoLineCap)),
      hold_(std::make_unique<LongLinesHold>(events.long_lines())),
      session_(engine, events.wait()),
      supervision_(session_, std::move(port_list)) {
  zlink::LinkRegistry& links = session_.links();
  form.ShowLinkState(links.state());
  connect(&links, &zlink::LinkRegistry::StateChanged, &form, &TMainForm::ShowLinkState);
  connect(&session_, &device::DeviceSession::LinkLine, this,
          [this](const std::string& line) { link_memo_->Append(engine::FromCp1251(line)); });
  events.SetLinks(&links);
  form.SetDeviceSide(this);
  session_.RegisterWords();
  session_.HoldRecordsWith(hold_.get());
  session_.RunConnectHook();

  form.AddCloseCheck([this, &form] {
    if (!session_.links().WriteUnfinished()) return true;
    return form.dialogs().MessageDlg(QString::fromUtf8(kWriteUnfinished));
  });
  WireSupervision();
}

void DeviceLinkSystem::WireSupervision() {
  connect(&supervision_, &device::PortSupervision::Status, &form_, &TMainForm::ShowStatus);
  connect(&supervision_, &device::PortSupervision::PortsGone, this, [this] { PortsGone(); });
  connect(&supervision_, &device::PortSupervision::LinksChanged, this, [this] { LinksChanged(); });
  connect(&supervision_.ports(), &device::PortList::Changed, this, [this] { ShowPorts(); });
  QComboBox* box = form_.ComboBoxCom();
  connect(box, &QComboBox::currentIndexChanged, this, [this, box](int index) {
    if (showing_ports_ || index < 0) return;
    supervision_.Choose(box->itemText(index));
  });

  events_.SetDeviceGate([this] { return DeviceGate(); });
  events_.SetStartFirstLink([this] { return supervision_.StartFirstLink(); });
  events_.timer_com().SetTick([this] {
    // Off while the tick works: the lines it runs may wait in an event loop.
    QTimer& timer = events_.timer_com().timer();
    timer.stop();
    supervision_.Tick();
    timer.start();
  });
}

DeviceLinkSystem::~DeviceLinkSystem() {
  form_.SetDeviceSide(nullptr);
  session_.links().StopAll();
  events_.SetLinks(nullptr);
}

void DeviceLinkSystem::ShowPorts() {
  QComboBox* box = form_.ComboBoxCom();
  const device::PortList& ports = supervision_.ports();
  showing_ports_ = true;
  QStringList shown;
  for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
  if (shown != ports.names()) {
    box->clear();
    box->addItems(ports.names());
  }
  box->setCurrentIndex(ports.current());
  showing_ports_ = false;
}

void DeviceLinkSystem::PortsGone() {
  events_.timer1().Stop();
  events_.wait().LinkLost();
  engine_.ExecuteLine("SCLEAR");
  engine_.ExecuteLine("CLEARTREE");
  events_.PagesCleared();
}

void DeviceLinkSystem::LinksChanged() {
  if (supervision_.LinkOpen()) {
    form_.ShowNoDevice(false);
    events_.LinkOpened();
    return;
  }
  NoDeviceReport report = supervision_.Report();
  engine_.script_file().Load();
  report.script_problem = engine::FromCp1251(engine_.script_file().ProblemText());
  form_.ShowNoDevice(true, report);
}

void DeviceLinkSystem::UseOnlyPort(const QString& port) {
  supervision_.LookFor({port});
  supervision_.Tick();
}

std::string DeviceLinkSystem::DeviceGate() const {
  if (!supervision_.LinkOpen()) {
    return engine::Cp1251("Нет связи с устройством: порт не открыт, подробности на странице.");
  }
  // An open port whose device is silent is the script's to explain.
  return {};
}

bool DeviceLinkSystem::AnyLink() const { return session_.links().Any(); }

void DeviceLinkSystem::RecordHookOff() { session_.stores().record_hook = device::RecordHook{}; }

}  // namespace ui
