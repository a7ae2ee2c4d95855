#include "memory_port.h"

#include <QHash>
#include <QMetaObject>

namespace zlink {
namespace {

QHash<QString, MemoryPort*>& Ports() {
  static QHash<QString, MemoryPort*> ports;
  return ports;
}

}  // namespace

MemoryPort::MemoryPort(const QString& name, QObject* parent) : ReceivedBytesPort(parent), name_(name) {
  Ports().insert(name_, this);
}

MemoryPort::~MemoryPort() {
  Unplug();
  if (Ports().value(name_) == this) Ports().remove(name_);
}

MemoryPort* MemoryPort::Find(const QString& name) {
  MemoryPort* port = Ports().value(name);
  return port && port->isOpen() ? port : nullptr;
}

void MemoryPort::Plug() {
  Ports().insert(name_, this);  // the port plugged in last has the name
  if (!isOpen()) open(QIODevice::ReadWrite | QIODevice::Unbuffered);
}

void MemoryPort::Unplug() {
  if (!isOpen()) return;
  DropReceived();
  close();  // aboutToClose tells the driver
  taken_ = false;
}

void MemoryPort::Deliver(const QByteArray& bytes) {
  if (isOpen()) Receive(bytes);
}

bool MemoryPort::TryTake() {
  if (!isOpen() || taken_) return false;
  taken_ = true;
  return true;
}

// The device hears the bytes on a later turn of the event loop, as it would
// over a cable.
qint64 MemoryPort::writeData(const char* data, qint64 size) {
  const QByteArray bytes(data, static_cast<qsizetype>(size));
  QMetaObject::invokeMethod(
      this, [this, bytes] { if (isOpen()) emit Written(bytes); }, Qt::QueuedConnection);
  return size;
}

}  // namespace zlink
