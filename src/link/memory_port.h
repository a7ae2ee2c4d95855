// A serial port inside the process: the program's end of an in-memory line
// whose other end is the simulated device (zelt --demo where there are no
// pseudo-terminals, and tests). Found by its port name like any port; open
// while the device is plugged in.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace zlink {

class MemoryPort : public QIODevice {
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
  qint64 Unread() const { return incoming_.size(); }
  void DropUnread() { incoming_.clear(); }

  // One program's driver at a time: TryTake fails while another holds it.
  bool TryTake();
  void Release() { taken_ = false; }

  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override;

 signals:
  // The program's bytes for the device, delivered from the event loop.
  void Written(const QByteArray& bytes);

 protected:
  qint64 readData(char* data, qint64 max_size) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  QString name_;
  QByteArray incoming_;
  bool taken_ = false;
};

}  // namespace zlink
