#include "win_serial_port.h"

#include <windows.h>

namespace zlink {

WinSerialPort::WinSerialPort(QObject* parent)
    : ReceivedBytesPort(parent), handle_(INVALID_HANDLE_VALUE) {
  connect(&poll_timer_, &QTimer::timeout, this, &WinSerialPort::Poll);
}

WinSerialPort::~WinSerialPort() { close(); }

bool WinSerialPort::OpenPath(const QString& path) {
  close();
  HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()),
                              GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_SYSTEM, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  handle_ = handle;
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = 1;
  timeouts.ReadTotalTimeoutConstant = 1;
  SetCommTimeouts(handle, &timeouts);
  open(QIODevice::ReadWrite | QIODevice::Unbuffered);
  poll_timer_.start(10);
  return true;
}

void WinSerialPort::Apply(const WinLineSettings& settings) {
  if (handle_ == INVALID_HANDLE_VALUE) return;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  dcb.BaudRate = static_cast<DWORD>(settings.baud);
  dcb.fBinary = TRUE;
  dcb.fDtrControl = settings.dtr ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
  if (settings.rts_cts) {
    dcb.fOutxCtsFlow = TRUE;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
  } else {
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
  }
  if (settings.xon_xoff) dcb.fOutX = dcb.fInX = TRUE;
  dcb.XonLim = static_cast<WORD>(settings.in_queue / 4);
  dcb.XoffLim = 1;
  dcb.ByteSize = static_cast<BYTE>(settings.byte_size);
  dcb.Parity = static_cast<BYTE>(settings.parity);
  dcb.StopBits = static_cast<BYTE>(settings.stop_bits);
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
  SetCommState(handle_, &dcb);
  SetupComm(handle_, static_cast<DWORD>(settings.in_queue), static_cast<DWORD>(settings.out_queue));
}

void WinSerialPort::close() {
  poll_timer_.stop();
  if (isOpen()) QIODevice::close();
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  DropReceived();
}

// Reads what has arrived; the time-outs make the read return at once.
void WinSerialPort::Poll() {
  if (handle_ == INVALID_HANDLE_VALUE) return;
  char buffer[4096];
  DWORD got = 0;
  if (!ReadFile(handle_, buffer, sizeof buffer, &got, nullptr)) {
    emit Failed();
    return;
  }
  Receive(buffer, static_cast<qint64>(got));
}

qint64 WinSerialPort::writeData(const char* data, qint64 size) {
  if (handle_ == INVALID_HANDLE_VALUE) return -1;
  DWORD written = 0;
  if (!WriteFile(handle_, data, static_cast<DWORD>(size), &written, nullptr)) {
    emit Failed();
    return -1;
  }
  return written;
}

}  // namespace zlink

