// TCommPortDriver: the program's only access to a serial line: Qt Serial Port
// on Unix, a polled Win32 COM port on Windows, or an in-process memory port of
// that name (the simulated device without pseudo-terminals). Bytes reach OnReceiveData on the owning thread as soon as they arrive;
// no call here ever waits for the line.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class QIODevice;
class QSerialPort;

class TCommPortDriver : public QObject {
  Q_OBJECT

 public:
  enum TComPortBaudRate {
    br110, br300, br600, br1200, br2400, br4800, br9600,
    br14400, br19200, br38400, br56000, br57600, br115200
  };

  // Sender, the received bytes (valid during the call only) and their count.
  using TComPortReceiveDataEvent =
      std::function<void(TCommPortDriver* sender, const char* data, int32_t size)>;

  static constexpr int kRateCount = 13;
  // Bits per second by TComPortBaudRate; out-of-range ordinals give 9600.
  static int32_t BaudRate(int ordinal);
  static constexpr int kInBufSize = 2048;
  // "110" .. "115200" in the order of TComPortBaudRate.
  static const char* const kRateNames[kRateCount];
  // The platform path of a port name: a name with '/' as given, a bare name
  // under /dev on Unix, behind "\\.\" on Windows when longer than 4 characters.
  static QString DevicePath(const QString& name);

  explicit TCommPortDriver(QObject* owner = nullptr);
  ~TCommPortDriver() override;

  bool Connected() const;
  bool Connect();
  void Disconnect();
  bool SendData(const char* data, int32_t count);

  QString ComPort() const { return com_port_; }
  void SetComPort(const QString& name);
  void SetComPortSpeed(TComPortBaudRate speed);

  // Puts the speed and 8N1 without flow control, DTR and RTS on, on the open
  // port. Settings a port refuses (a pseudo-terminal has no control lines)
  // are ignored.
  void ApplySettings();

  TComPortReceiveDataEvent OnReceiveData;

 signals:
  // The open port has closed, by Disconnect or because the line failed.
  void Closed();

 private:
  void ReadAvailable();
  void PostDelivery();
  void DeliverFromInnerLoop();
  void Deliver();
  void HandleError(int error);
  QSerialPort* SerialPort() const;

  QIODevice* port_ = nullptr;  // a serial port of its own or a zlink::MemoryPort
  QString com_port_ = QStringLiteral("COM2");
  TComPortBaudRate speed_ = br9600;
  bool delivery_posted_ = false;
  bool delivering_ = false;  // a receive handler is running
};
