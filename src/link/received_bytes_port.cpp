#include "received_bytes_port.h"

#include <algorithm>
#include <cstring>

namespace zlink {

qint64 ReceivedBytesPort::bytesAvailable() const {
  return received_.size() + QIODevice::bytesAvailable();
}

void ReceivedBytesPort::Receive(const QByteArray& bytes) { Receive(bytes.constData(), bytes.size()); }

void ReceivedBytesPort::Receive(const char* data, qint64 size) {
  if (size <= 0) return;
  received_.append(data, static_cast<qsizetype>(size));
  emit readyRead();
}

qint64 ReceivedBytesPort::readData(char* data, qint64 max_size) {
  const qint64 n = std::min<qint64>(max_size, received_.size());
  std::memcpy(data, received_.constData(), static_cast<size_t>(n));
  received_.remove(0, n);
  return n;
}

}  // namespace zlink
