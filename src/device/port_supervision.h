// Port discovery and connection supervision on a device session: the first
// link at start-up, each tick moving the link along the port list while
// nothing answers, dropping the link when every port has gone, and the
// operator's own port choice. The caller runs the ticks (the window's
// TimerCOM).
#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <string>

#include "port_list.h"
#include "port_probe.h"

namespace device {

class DeviceSession;

class PortSupervision : public QObject {
  Q_OBJECT

 public:
  // `wanted`: the --port names; empty for the platform's scan.
  PortSupervision(DeviceSession& session, QStringList wanted, QObject* parent = nullptr);

  PortList& ports() { return ports_; }
  // From now on only these ports are looked for; the report still speaks of
  // the ones given at the start.
  void LookFor(const QStringList& ports) { scanned_ = ports; }

  // Start-up: fills the port list and links to its first port. True when a
  // link was made.
  bool StartFirstLink();
  // One tick. Never throws.
  void Tick();
  // The operator picked this port: the link moves to it at once.
  void Choose(const QString& port);

  int cycle_index() const { return cycle_index_; }
  // A link whose port is open is current.
  bool LinkOpen() const;
  // The ports tried since the last scan and what each said.
  NoDeviceReport Report() const;

 signals:
  // A status text, Windows-1251.
  void Status(const std::string& text);
  // Every port has gone while a link was held; the link stops after this.
  void PortsGone();
  // After each start-up, tick and operator's choice: the links may have changed.
  void LinksChanged();

 private:
  QStringList Scan() const;
  void MakeLink(const QString& port);
  void NoteScan(const QStringList& found);
  void NoteAttempt(const QString& port);

  DeviceSession& session_;
  QStringList wanted_;
  QStringList scanned_;
  PortList ports_;
  int cycle_index_ = 0;
  QList<PortAttempt> attempts_;
};

}  // namespace device
