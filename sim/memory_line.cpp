#include "memory_line.h"

#include "memory_port.h"

namespace zsim {
namespace {

// Unread input above this means nobody is at the other end.
constexpr qint64 kUnreadLimit = 1024;

}  // namespace

MemoryLine::MemoryLine(const QString& port_name, QObject* parent)
    : DeviceLine(parent), port_(std::make_unique<zlink::MemoryPort>(port_name)) {
  connect(port_.get(), &zlink::MemoryPort::Written, this, &DeviceLine::BytesReceived);
}

MemoryLine::~MemoryLine() { Close(); }

bool MemoryLine::Open(QString*) {
  port_->Plug();
  StartPacing();
  return true;
}

void MemoryLine::Close() {
  StopPacing();
  port_->Unplug();
}

bool MemoryLine::IsOpen() const { return port_->isOpen(); }

QString MemoryLine::PortName() const { return port_->name(); }

qint64 MemoryLine::Send(const char* data, qint64 size) {
  if (!IsOpen()) return -1;
  port_->Deliver(QByteArray(data, static_cast<qsizetype>(size)));
  return size;
}

void MemoryLine::DropUnreadInput() {
  if (port_->Unread() > kUnreadLimit) port_->DropUnread();
}

}  // namespace zsim
