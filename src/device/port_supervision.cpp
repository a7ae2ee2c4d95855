#include "port_supervision.h"

#include "CommDrv.h"
#include "cp1251.h"
#include "device_session.h"
#include "guarded.h"
#include "link_registry.h"
#include "port_scan.h"
#include "rs.h"

namespace device {

namespace {

const char kNoPorts[] = "Не найдено портов!";
const char kAwaitingDevice[] = "Ожидание ответа оборудования.";

}  // namespace

PortSupervision::PortSupervision(DeviceSession& session, QStringList wanted, QObject* parent)
    : QObject(parent), session_(session), wanted_(wanted), scanned_(std::move(wanted)) {}

QStringList PortSupervision::Scan() const { return zlink::ScanPorts(scanned_); }

bool PortSupervision::LinkOpen() const {
  zlink::RSThread* link = session_.links().Current();
  if (!link || link->Stopped()) return false;
  TCommPortDriver* driver = link->Driver();
  return driver && driver->Connected();
}

NoDeviceReport PortSupervision::Report() const {
  NoDeviceReport report;
  report.ports = attempts_;
  report.ports_given = !wanted_.isEmpty();
  return report;
}

void PortSupervision::NoteScan(const QStringList& found) {
  // The attempts of ports still present are kept until they are tried again.
  QList<PortAttempt> kept;
  for (const QString& port : wanted_) {
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

void PortSupervision::MakeLink(const QString& port) {
  zlink::RSThread* link = session_.Open(port);
  NoteAttempt(port);
  if (link) emit Status(engine::Cp1251(kAwaitingDevice));
}

bool PortSupervision::StartFirstLink() {
  bool linked = false;
  Guarded([&] {
    const QStringList ports = Scan();
    NoteScan(ports);
    cycle_index_ = 0;
    ports_.Set(ports, ports.isEmpty() ? -1 : 0);
    if (ports.isEmpty()) {
      emit Status(engine::Cp1251(kNoPorts));
      return;
    }
    MakeLink(ports.front());
    linked = session_.links().Current() != nullptr;
  });
  Guarded([this] { emit LinksChanged(); });
  return linked;
}

void PortSupervision::Tick() {
  Guarded([this] {
    zlink::LinkRegistry& links = session_.links();
    if (links.state() != zlink::LinkState::kNotConnected) return;
    const QStringList found = Scan();
    NoteScan(found);
    if (found.isEmpty()) {
      emit Status(engine::Cp1251(kNoPorts));
      if (links.Current()) {
        emit PortsGone();
        session_.StopLink();
        links.SetCurrent(nullptr);
        links.Put(1, nullptr);
        ports_.Set({}, -1);
      }
      return;
    }
    session_.StopLink();
    // Stopping the link may have run lines: the list is taken again.
    const QStringList ports = Scan();
    if (ports.isEmpty()) {
      ports_.Set({}, -1);
      return;
    }
    ++cycle_index_;
    if (cycle_index_ > ports.size() - 1) cycle_index_ = 0;
    ports_.Set(ports, cycle_index_);
    MakeLink(ports[cycle_index_]);
  });
  Guarded([this] { emit LinksChanged(); });
}

void PortSupervision::Choose(const QString& port) {
  Guarded([&] {
    session_.StopLink();
    ports_.Pick(port);
    MakeLink(port);
  });
  Guarded([this] { emit LinksChanged(); });
}

}  // namespace device
