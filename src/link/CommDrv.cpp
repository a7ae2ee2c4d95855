#include "CommDrv.h"

#include <QAbstractEventDispatcher>
#include <QSerialPort>
#include <cerrno>
#include <utility>
#include <vector>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

#include "memory_port.h"
#ifdef Q_OS_WIN
#include "win_serial_port.h"
#endif

const char* const TCommPortDriver::kRateNames[TCommPortDriver::kRateCount] = {
    "110",   "300",   "600",   "1200",  "2400",  "4800",  "9600",
    "14400", "19200", "38400", "56000", "57600", "115200"};

int32_t TCommPortDriver::BaudRate(int ordinal) {
  static const int32_t kRates[kRateCount] = {110,   300,   600,   1200,  2400,  4800,  9600,
                                             14400, 19200, 38400, 56000, 57600, 115200};
  return ordinal >= 0 && ordinal < kRateCount ? kRates[ordinal] : 9600;
}

QString TCommPortDriver::DevicePath(const QString& name) {
  if (name.contains(QLatin1Char('/'))) return name;
#ifdef Q_OS_WIN
  if (name.size() > 4 && !name.startsWith(QLatin1String("\\\\.\\")))
    return QStringLiteral("\\\\.\\") + name;
  return name;
#else
  return QStringLiteral("/dev/") + name;
#endif
}

TCommPortDriver::TCommPortDriver(QObject* owner) : QObject(owner) {
  if (auto* loop = QAbstractEventDispatcher::instance()) {
    connect(loop, &QAbstractEventDispatcher::aboutToBlock, this,
            &TCommPortDriver::DeliverFromInnerLoop);
    connect(loop, &QAbstractEventDispatcher::awake, this, &TCommPortDriver::DeliverFromInnerLoop);
  }
}

TCommPortDriver::~TCommPortDriver() {
  // Whoever listens may be going too.
  blockSignals(true);
  Disconnect();
}

bool TCommPortDriver::Connected() const { return port_ != nullptr; }

bool TCommPortDriver::Connect() {
  if (Connected()) return true;
  if (zlink::MemoryPort* memory = zlink::MemoryPort::Find(com_port_)) {
    if (!memory->TryTake()) return false;
    port_ = memory;
    connect(port_, &QIODevice::readyRead, this, &TCommPortDriver::ReadAvailable);
    connect(port_, &QIODevice::aboutToClose, this, &TCommPortDriver::Disconnect);
    if (port_->bytesAvailable() > 0) ReadAvailable();
    return true;
  }
#ifdef Q_OS_WIN
  auto* port = new zlink::WinSerialPort(this);
  if (!port->OpenPath(DevicePath(com_port_))) {
    delete port;
    return false;
  }
  port_ = port;
  ApplySettings();
  connect(port, &QIODevice::readyRead, this, &TCommPortDriver::ReadAvailable);
  connect(port, &zlink::WinSerialPort::Failed, this, &TCommPortDriver::Disconnect,
          Qt::QueuedConnection);
  return true;
#else
  auto* port = new QSerialPort(this);
  port->setPortName(DevicePath(com_port_));
  if (!port->open(QIODevice::ReadWrite)) {
    delete port;
    return false;
  }
  port_ = port;
  ApplySettings();
  connect(port, &QSerialPort::readyRead, this, &TCommPortDriver::ReadAvailable);
  connect(port, &QSerialPort::errorOccurred, this,
          [this](QSerialPort::SerialPortError error) { HandleError(error); });
  // Bytes that came while the port was being set up.
  if (port_->bytesAvailable() > 0) ReadAvailable();
  return true;
#endif
}

QSerialPort* TCommPortDriver::SerialPort() const { return qobject_cast<QSerialPort*>(port_); }

void TCommPortDriver::Disconnect() {
  if (!port_) return;
  QIODevice* device = port_;
  port_ = nullptr;
  device->disconnect(this);
  if (auto* memory = qobject_cast<zlink::MemoryPort*>(device)) {
    memory->Release();  // the device side owns it
  } else {
    device->close();
    // The port may be the sender of the signal that led here.
    device->deleteLater();
  }
  emit Closed();
}

bool TCommPortDriver::SendData(const char* data, int32_t count) {
  if (!port_ || count < 0) return false;
  if (count == 0) return true;
  QSerialPort* serial = SerialPort();
#ifndef Q_OS_WIN
  // The device waits for these bytes: straight to the line when nothing is
  // queued before them, without a turn of the event loop.
  if (serial && serial->bytesToWrite() == 0) {
    ssize_t n;
    do n = ::write(serial->handle(), data, static_cast<size_t>(count));
    while (n < 0 && errno == EINTR);
    if (n == count) return true;
    if (n > 0) {
      data += n;
      count -= static_cast<int32_t>(n);
    }
  }
#endif
  const bool whole = port_->write(data, count) == count;
  if (serial) serial->flush();
  return whole;
}

// A memory port has no line settings: the simulated device paces it.
void TCommPortDriver::ApplySettings() {
#ifdef Q_OS_WIN
  if (auto* port = qobject_cast<zlink::WinSerialPort*>(port_)) {
    zlink::WinLineSettings line;
    line.baud = BaudRate(speed_);
    port->Apply(line);
  }
  return;
#endif
  QSerialPort* port = SerialPort();
  if (!port) return;
  port->setBaudRate(BaudRate(speed_));
  port->setDataBits(QSerialPort::Data8);
  port->setParity(QSerialPort::NoParity);
  port->setStopBits(QSerialPort::OneStop);
  port->setFlowControl(QSerialPort::NoFlowControl);
  // A pseudo-terminal refuses the control lines; that is fine.
  port->setDataTerminalReady(true);
  port->setRequestToSend(true);
  port->clearError();
}

// Bytes are handed over at once. A port does not signal readyRead again while
// its readyRead handler runs, so when a receive handler runs an event loop of
// its own (a modal window, a long line that keeps the window alive), that
// loop posts a delivery for the bytes that came meanwhile.
void TCommPortDriver::ReadAvailable() {
  if (delivering_)
    PostDelivery();
  else
    Deliver();
}

void TCommPortDriver::PostDelivery() {
  if (delivery_posted_) return;
  delivery_posted_ = true;
  QMetaObject::invokeMethod(this, &TCommPortDriver::Deliver, Qt::QueuedConnection);
}

void TCommPortDriver::DeliverFromInnerLoop() {
  if (delivering_ && port_ && port_->bytesAvailable() > 0) PostDelivery();
}

void TCommPortDriver::Deliver() {
  delivery_posted_ = false;
  const bool outer = !std::exchange(delivering_, true);
  std::vector<char> chunk(kInBufSize);
  while (port_ && port_->bytesAvailable() > 0) {
    const qint64 n = port_->read(chunk.data(), static_cast<qint64>(chunk.size()));
    if (n <= 0) break;
    if (OnReceiveData) OnReceiveData(this, chunk.data(), static_cast<int32_t>(n));
  }
  if (outer) delivering_ = false;
}

void TCommPortDriver::HandleError(int error) {
  // The device is gone (adapter unplugged, the other end of a pty closed):
  // the port is dead and would only report the same error again, as fast as
  // the event loop turns.
  if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError) Disconnect();
}

void TCommPortDriver::SetComPort(const QString& name) {
  if (!Connected()) com_port_ = name;
}

void TCommPortDriver::SetComPortSpeed(TComPortBaudRate speed) {
  speed_ = speed;
  if (Connected()) ApplySettings();
}
