#include "bench_output.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace provision {

QString DeviceLine(const DeviceState& device) {
  QString line = QFileInfo(device.port).fileName() + QStringLiteral("  ") +
                 (device.serial.isEmpty() ? QStringLiteral("-") : device.serial) +
                 QStringLiteral("  ");
  switch (device.outcome) {
    case Outcome::kRunning:
      return line + device.stage + QLatin1Char(' ') + QString::number(device.percent) +
             QLatin1Char('%');
    default:
      line += OutcomeName(device.outcome);
      if (!device.reason.isEmpty()) line += QStringLiteral(": ") + device.reason;
  }
  if (!device.backup.isEmpty()) {
    const QString here = QDir::current().relativeFilePath(device.backup);
    line += QStringLiteral("  backup ") + (here.startsWith(QLatin1String("..")) ? device.backup : here);
  }
  return line;
}

void LiveView::Show(const std::vector<DeviceState>& devices) {
  if (terminal_) {
    if (drawn_ > 0) out_ << "\x1b[" << drawn_ << 'A';
    for (const DeviceState& device : devices)
      out_ << "\r\x1b[K" << DeviceLine(device).toStdString() << '\n';
    drawn_ = devices.size();
  } else {
    printed_.resize(devices.size());
    for (size_t i = 0; i < devices.size(); ++i) {
      const QString line = DeviceLine(devices[i]);
      if (line == printed_[i]) continue;
      printed_[i] = line;
      out_ << line.toStdString() << '\n';
    }
  }
  out_.flush();
}

QString CsvField(const QString& text) {
  const bool quoted = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                      text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
                      text != text.trimmed();
  if (!quoted) return text;
  return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
         QLatin1Char('"');
}

bool WriteReport(const QString& path, const std::vector<DeviceState>& devices) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  QString text = QStringLiteral(
      "port,serial number,firmware,start,duration s,result,differing addresses,backup file\r\n");
  for (const DeviceState& device : devices) {
    QString result = OutcomeName(device.outcome);
    if (!device.reason.isEmpty()) result += QStringLiteral(": ") + device.reason;
    const QStringList fields = {device.port,
                                device.serial,
                                device.firmware,
                                device.start.toString(Qt::ISODate),
                                QString::number(device.duration_ms / 1000.0, 'f', 1),
                                result,
                                device.diff,
                                device.backup};
    QStringList row;
    for (const QString& field : fields) row += CsvField(field);
    text += row.join(QLatin1Char(',')) + QStringLiteral("\r\n");
  }
  file.write(text.toUtf8());
  return file.commit();
}

}  // namespace provision
