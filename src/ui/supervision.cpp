#include "supervision.h"

#include <QComboBox>
#include <QTimer>

#include "cp1251.h"
#include "guarded.h"
#include "link_registry.h"
#include "rs.h"
#include "CommDrv.h"

namespace ui {

namespace {

const char kNoPorts[] = "Не найдено портов!";
const char kAwaitingDevice[] = "Ожидание ответа оборудования.";

}  // namespace

PortSupervision::PortSupervision(SupervisionParts parts, QObject* parent)
    : QObject(parent), parts_(std::move(parts)) {
  if (parts_.combo) {
    connect(parts_.combo, &QComboBox::currentIndexChanged, this,
            [this](int index) { Guarded([&] { OperatorChoice(index); }); });
  }
}

PortSupervision::~PortSupervision() = default;

void PortSupervision::FillList(const QStringList& ports) {
  filling_ = true;
  parts_.combo->clear();
  parts_.combo->addItems(ports);
  filling_ = false;
}

bool PortSupervision::LinkOpen() const {
  zlink::RSThread* link = parts_.links->Current();
  if (!link || link->Stopped()) return false;
  TCommPortDriver* driver = link->Driver();
  return driver && driver->Connected();
}

NoDeviceReport PortSupervision::Report() const {
  NoDeviceReport report;
  report.ports = attempts_;
  report.ports_given = !parts_.wanted_ports.isEmpty();
  return report;
}

void PortSupervision::NoteScan(const QStringList& found) {
  // The attempts of ports still present are kept until they are tried again.
  QList<PortAttempt> kept;
  for (const QString& port : parts_.wanted_ports) {
    if (!found.contains(port)) kept << PortAttempt{port, PortState::kNotFound, {}};
  }
  for (const PortAttempt& attempt : attempts_) {
    if (found.contains(attempt.port)) kept << attempt;
  }
  attempts_ = kept;
}

void PortSupervision::NoteAttempt(const QString& port) {
  PortAttempt attempt{port, PortState::kOpen, {}};
  if (!LinkOpen()) attempt = ProbePort(port);
  for (PortAttempt& earlier : attempts_) {
    if (earlier.port == port) {
      earlier = attempt;
      return;
    }
  }
  attempts_ << attempt;
}

void PortSupervision::Changed() {
  if (parts_.changed) parts_.changed();
}

void PortSupervision::MakeLink(const QString& port) {
  zlink::RSThread* link = zlink::RSThread::StartLink(port, parts_.view);
  parts_.links->SetCurrent(link);
  NoteAttempt(port);
  if (!link) return;
  parts_.show_status(engine::Cp1251(kAwaitingDevice));
  parts_.bind_link(*link);
  parts_.links->Put(1, link);
}

void PortSupervision::StopCurrentLink() {
  zlink::RSThread* link = parts_.links->Current();
  if (!link) return;
  if (parts_.link_lost) parts_.link_lost();
  // The registry forgets the link in every place it held.
  zlink::RSThread::StopLink(link);
}

bool PortSupervision::StartFirstLink() {
  bool linked = false;
  Guarded([&] {
    const QStringList ports = parts_.scan();
    NoteScan(ports);
    FillList(ports);
    cycle_index_ = 0;
    if (ports.isEmpty()) {
      parts_.show_status(engine::Cp1251(kNoPorts));
      return;
    }
    filling_ = true;
    parts_.combo->setCurrentIndex(0);
    filling_ = false;
    MakeLink(ports.front());
    linked = parts_.links->Current() != nullptr;
  });
  Guarded([this] { Changed(); });
  return linked;
}

void PortSupervision::Tick() {
  Guarded([this] {
    if (parts_.links->state() != zlink::LinkState::kNotConnected) return;
    if (parts_.timer_com) parts_.timer_com->stop();
    const QStringList found = parts_.scan();
    NoteScan(found);
    if (found.isEmpty()) {
      parts_.show_status(engine::Cp1251(kNoPorts));
      if (parts_.links->Current()) {
        parts_.stop_timers();
        parts_.execute_line("SCLEAR");
        parts_.execute_line("CLEARTREE");
        StopCurrentLink();
        parts_.links->SetCurrent(nullptr);
        parts_.links->Put(1, nullptr);
        FillList({});
        if (parts_.pages_cleared) parts_.pages_cleared();
      }
    } else {
      StopCurrentLink();
      const QStringList ports = parts_.scan();
      FillList(ports);
      if (!ports.isEmpty()) {
        ++cycle_index_;
        if (cycle_index_ > ports.size() - 1) cycle_index_ = 0;
        filling_ = true;
        parts_.combo->setCurrentIndex(cycle_index_);
        filling_ = false;
        MakeLink(ports[cycle_index_]);
      }
    }
  });
  Guarded([this] { Changed(); });
  if (parts_.timer_com) parts_.timer_com->start();
}

void PortSupervision::OperatorChoice(int index) {
  if (filling_ || index < 0) return;
  StopCurrentLink();
  MakeLink(parts_.combo->itemText(index));
  Changed();
}

}  // namespace ui
