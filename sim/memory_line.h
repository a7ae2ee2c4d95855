// The device's end of an in-memory line: the program opens the line's port
// name and finds the other end (zlink::MemoryPort) inside the process. Works
// on every platform; zelt --demo uses it where there are no pseudo-terminals.
#pragma once

#include <memory>

#include "device_line.h"

namespace zlink {
class MemoryPort;
}

namespace zsim {

class MemoryLine : public DeviceLine {
  Q_OBJECT

 public:
  explicit MemoryLine(const QString& port_name, QObject* parent = nullptr);
  ~MemoryLine() override;

  bool Open(QString* error = nullptr) override;
  void Close() override;
  bool IsOpen() const override;
  QString PortName() const override;

 protected:
  qint64 Send(const char* data, qint64 size) override;
  void DropUnreadInput() override;

 private:
  std::unique_ptr<zlink::MemoryPort> port_;
};

}  // namespace zsim
