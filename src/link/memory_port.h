// A serial port inside the process: the program's end of an in-memory line
// whose other end is the simulated device (zelt --demo where there are no
// pseudo-terminals, and tests). Found by its port name like any port; open
// while the device is plugged in.
#pragma once

#include <QByteArray>
#include <QString>

#include "received_bytes_port.h"

namespace zlink {

class MemoryPort : public ReceivedBytesPort {
  Q_OBJECT

 public:
  // Registers the port under `name`; it exists until destroyed.
  explicit MemoryPort(const QString& name, QObject* parent = nullptr);
  ~MemoryPort() override;

  // The plugged-in port of this name, or null.
  static MemoryPort* Find(const QString& name);

  const QString& name() const { return name_; }
  // Plugging in and out (the device's side): closing drops unread bytes, and
  // the program's driver lets go of the port.
  void Plug();
  void Unplug();

  // The device's bytes for the program.
  void Deliver(const QByteArray& bytes);
  qint64 Unread() const { return ReceivedCount(); }
  void DropUnread() { DropReceived(); }

  // One program's driver at a time: TryTake fails while another holds it.
  bool TryTake();
  void Release() { taken_ = false; }

 signals:
  // The program's bytes for the device, delivered from the event loop.
  void Written(const QByteArray& bytes);

 protected:
  qint64 writeData(const char* data, qint64 size) override;

 private:
  QString name_;
  bool taken_ = false;
};

}  // namespace zlink
