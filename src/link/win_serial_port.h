// A Windows COM port read by polling, as the driver was designed for Win32:
// non-blocking reads (1 ms time-outs) from a 10 ms timer on the window's
// thread, synchronous writes. Used instead of Qt Serial Port on Windows,
// whose waits for serial events never end on a COM port that Wine maps to a
// pseudo-terminal (the tests' device).
#pragma once

#include <QByteArray>
#include <QString>
#include <QTimer>

#include "received_bytes_port.h"

namespace zlink {

struct WinLineSettings {
  int baud = 9600;
  int byte_size = 8;  // 5..8
  int parity = 0;     // 0 none, 1 odd, 2 even, 3 mark, 4 space
  int stop_bits = 0;  // 0 one, 1 one and a half, 2 two
  bool dtr = true;
  bool rts_cts = false;
  bool xon_xoff = false;
  int in_queue = 2048;
  int out_queue = 2048;
};

class WinSerialPort : public ReceivedBytesPort {
  Q_OBJECT

 public:
  explicit WinSerialPort(QObject* parent = nullptr);
  ~WinSerialPort() override;

  // Opens the device path (\\.\COM12 or COM5) exclusively; false when it fails.
  bool OpenPath(const QString& path);
  // Puts the settings on the open port; failures are ignored.
  void Apply(const WinLineSettings& settings);

  void close() override;

 signals:
  // A read or write failed: the device is gone.
  void Failed();

 protected:
  qint64 writeData(const char* data, qint64 size) override;

 private:
  void Poll();

  void* handle_;  // HANDLE
  QTimer poll_timer_;
};

}  // namespace zlink

