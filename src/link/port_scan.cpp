#include "port_scan.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>

#include "memory_port.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zlink {

namespace {

// A plugged-in memory port is present. On Windows a bare name (COM5) is
// taken as present and a path must exist.
bool Present(const QString& port) {
  if (MemoryPort::Find(port)) return true;
#ifdef _WIN32
  if (!port.contains(QLatin1Char('/')) && !port.contains(QLatin1Char('\\'))) return true;
  return QFileInfo::exists(port);
#else
  const QString path = port.contains(QLatin1Char('/')) ? port : QStringLiteral("/dev/") + port;
  return QFileInfo::exists(path);
#endif
}

#ifdef _WIN32
QStringList RegistryPorts() {
  QStringList ports;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return ports;
  }
  for (int k = 0; k <= 99; ++k) {
    const std::wstring name = L"\\Device\\VCP" + std::to_wstring(k);
    wchar_t data[256] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data),
                         &size) != ERROR_SUCCESS || type != REG_SZ) {
      continue;
    }
    const QString port = QString::fromWCharArray(data).trimmed();
    if (!port.isEmpty()) ports << port;
  }
  RegCloseKey(key);
  return ports;
}
#endif

}  // namespace

bool NaturalLess(const QString& a, const QString& b) {
  qsizetype i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (a[i].isDigit() && b[j].isDigit()) {
      qsizetype i_end = i, j_end = j;
      while (i_end < a.size() && a[i_end].isDigit()) ++i_end;
      while (j_end < b.size() && b[j_end].isDigit()) ++j_end;
      // Compare as numbers of any length: strip leading zeros, then by length.
      QStringView x = QStringView(a).mid(i, i_end - i), y = QStringView(b).mid(j, j_end - j);
      while (x.size() > 1 && x[0] == QLatin1Char('0')) x = x.mid(1);
      while (y.size() > 1 && y[0] == QLatin1Char('0')) y = y.mid(1);
      if (x.size() != y.size()) return x.size() < y.size();
      if (const int c = x.compare(y); c != 0) return c < 0;
      i = i_end;
      j = j_end;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i;
    ++j;
  }
  if (a.size() - i != b.size() - j) return a.size() - i < b.size() - j;
  return a < b;  // equal but for leading zeros: still a strict order
}

QStringList ScanPlatformPorts() {
#ifdef _WIN32
  return RegistryPorts();
#else
  QStringList ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    const QString name = info.portName();
    if (name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"))) {
      ports << name;
    }
  }
  std::sort(ports.begin(), ports.end(), NaturalLess);
  return ports;
#endif
}

QStringList ScanPorts(const QStringList& port_list) {
  if (port_list.isEmpty()) return ScanPlatformPorts();
  QStringList ports;
  for (const QString& port : port_list) {
    if (Present(port) && !ports.contains(port)) ports << port;
  }
  return ports;
}

}  // namespace zlink
