// The device's end of the serial line: the master side of a pseudo-terminal.
// The program opens the slave side like any serial port.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

class QSocketNotifier;

namespace zsim {

class PtyPort : public QObject {
  Q_OBJECT

 public:
  explicit PtyPort(QObject* parent = nullptr);
  ~PtyPort() override;

  // Makes a new pseudo-terminal ("plugging in"). The slave side is raw, so the
  // line echoes nothing before the program opens it.
  bool Open(QString* error = nullptr);
  // Closes both sides ("unplugging"): the program's reads fail from now on.
  void Close();
  bool IsOpen() const { return master_fd_ >= 0; }
  QString SlavePath() const { return slave_path_; }

  // A symbolic link that follows the slave side across Open calls.
  void SetLinkPath(const QString& path) { link_path_ = path; }

  // Paces the output at `baud` bits per second (10 bits a byte) instead of
  // writing as fast as the line takes it.
  void SetRealtime(bool on, int baud = 9600);
  bool realtime() const { return realtime_; }
  // Milliseconds the line needs for `bytes` bytes (0 when not real-time).
  int TransferMs(int bytes) const;

  // Queues bytes for the line. Bytes that nobody reads are lost, as on a
  // cable with nothing at its end.
  void Write(const QByteArray& bytes);

 signals:
  void BytesReceived(const QByteArray& bytes);

 private:
  void ReadMaster();
  void Pump();
  void DropUnreadInput();

  int master_fd_ = -1;
  int slave_fd_ = -1;  // held open so the master never sees a hang-up
  QString slave_path_;
  QString link_path_;
  std::unique_ptr<QSocketNotifier> read_notifier_;
  QByteArray pending_;
  QTimer pump_timer_;
  bool realtime_ = false;
  int baud_ = 9600;
  QElapsedTimer clock_;
  double credit_ = 0;  // bytes the line may carry now, in real-time mode
};

}  // namespace zsim
