// The reading half that the program's own ports share (the in-memory line's
// end and the polled Windows COM port): bytes the line has delivered wait in
// order until the driver reads them.
#pragma once

#include <QByteArray>
#include <QIODevice>

namespace zlink {

class ReceivedBytesPort : public QIODevice {
  Q_OBJECT

 public:
  using QIODevice::QIODevice;

  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override;

 protected:
  // Keeps the bytes for reading and tells the driver (readyRead).
  void Receive(const QByteArray& bytes);
  void Receive(const char* data, qint64 size);
  qint64 ReceivedCount() const { return received_.size(); }
  void DropReceived() { received_.clear(); }

  qint64 readData(char* data, qint64 max_size) override;

 private:
  QByteArray received_;
};

}  // namespace zlink
