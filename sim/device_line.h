// The device's end of its serial line. A pseudo-terminal (Unix) or an
// in-process memory line carries the bytes; this class paces them like a
// 9600 baud line when asked, so both kinds keep the same timing.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace zsim {

class DeviceLine : public QObject {
  Q_OBJECT

 public:
  explicit DeviceLine(QObject* parent = nullptr);

  // Makes the line ready for the program ("plugging in"); Close takes it
  // away ("unplugging"): the program's port fails from then on.
  virtual bool Open(QString* error = nullptr) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // The port name the program opens.
  virtual QString PortName() const = 0;

  // Paces the output at `baud` bits per second (10 bits a byte) instead of
  // writing as fast as the line takes it.
  void SetRealtime(bool on, int baud = 9600);
  bool realtime() const { return realtime_; }
  // Milliseconds the line needs for `bytes` bytes (0 when not real-time).
  int TransferMs(int bytes) const;

  // Queues bytes for the program. Bytes that nobody reads are lost, as on a
  // cable with nothing at its end.
  void Write(const QByteArray& bytes);

 signals:
  void BytesReceived(const QByteArray& bytes);

 protected:
  // Hands bytes to the line now: how many it took, or -1 when it is gone.
  virtual qint64 Send(const char* data, qint64 size) = 0;
  // Called before each write: drop what the program left unread for long.
  virtual void DropUnreadInput() {}
  // Open and Close of the derived lines call these.
  void StartPacing();
  void StopPacing();

 private:
  void Pump();

  QByteArray pending_;
  QTimer pump_timer_;
  bool realtime_ = false;
  int baud_ = 9600;
  QElapsedTimer clock_;
  double credit_ = 0;  // bytes the line may carry now, in real-time mode
};

}  // namespace zsim
