// The device's end of the serial line on Unix: the master side of a
// pseudo-terminal. The program opens the slave side like any serial port.
#pragma once

#include <QString>
#include <memory>

#include "device_line.h"

class QSocketNotifier;

namespace zsim {

class PtyPort : public DeviceLine {
  Q_OBJECT

 public:
  explicit PtyPort(QObject* parent = nullptr);
  ~PtyPort() override;

  // Makes a new pseudo-terminal. The slave side is raw, so the line echoes
  // nothing before the program opens it.
  bool Open(QString* error = nullptr) override;
  // Closes both sides: the program's reads fail from now on.
  void Close() override;
  bool IsOpen() const override { return master_fd_ >= 0; }
  // The link path when there is one, else the slave side.
  QString PortName() const override { return link_path_.isEmpty() ? slave_path_ : link_path_; }
  QString SlavePath() const { return slave_path_; }

  // A symbolic link that follows the slave side across Open calls.
  void SetLinkPath(const QString& path) { link_path_ = path; }

 protected:
  qint64 Send(const char* data, qint64 size) override;
  void DropUnreadInput() override;

 private:
  void ReadMaster();

  int master_fd_ = -1;
  int slave_fd_ = -1;  // held open so the master never sees a hang-up
  QString slave_path_;
  QString link_path_;
  std::unique_ptr<QSocketNotifier> read_notifier_;
};

}  // namespace zsim
