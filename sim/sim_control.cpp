#include "sim_control.h"

#include <QStringList>

#include "sim_frame.h"
#include "zelt_device.h"

namespace zsim {
namespace {

bool OnOff(const QString& word, bool* ok) {
  *ok = word == QLatin1String("on") || word == QLatin1String("off");
  return word == QLatin1String("on");
}

QString StatsLine(const ZeltDevice& device) {
  const DeviceStats& s = device.stats();
  return QStringLiteral(
             "polls %1 repeats %2 replies %3 commands %4 data %5 resends %6 acks %7 "
             "checksum-errors %8 bad-records %9 queued %10")
      .arg(s.polls)
      .arg(s.poll_repeats)
      .arg(s.poll_replies)
      .arg(s.commands)
      .arg(s.data_frames)
      .arg(s.data_resends)
      .arg(s.acks)
      .arg(s.checksum_errors)
      .arg(s.bad_records)
      .arg(device.QueuedRecords());
}

}  // namespace

QString RunControlLine(ZeltDevice& device, const QString& line, bool* quit) {
  const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (words.isEmpty()) return {};
  const QString command = words[0].toLower();
  const QString arg = words.size() > 1 ? words[1] : QString();
  bool ok = true;
  if (command == QLatin1String("send")) {
    const std::string hex = words.mid(1).join(QString()).toStdString();
    std::string record;
    if (!FromHex(hex, &record) || record.empty() ||
        static_cast<uint8_t>(record[0]) + 1u != record.size())
      return QStringLiteral("error: a record is its length byte and that many bytes");
    device.QueueRecord(record);
    QString spaced = QString::fromStdString(ToHex(record));
    for (qsizetype i = spaced.size() - 2; i > 0; i -= 2) spaced.insert(i, QLatin1Char(' '));
    return QStringLiteral("queued %1").arg(spaced);
  }
  if (command == QLatin1String("silence")) {
    const int ms = arg.toInt(&ok);
    if (!ok || ms < 0) return QStringLiteral("error: silence MS");
    device.SilenceFor(ms);
    return QStringLiteral("silent for %1 ms").arg(ms);
  }
  if (command == QLatin1String("silent")) {
    const bool on = OnOff(arg, &ok);
    if (!ok) return QStringLiteral("error: silent on|off");
    device.SetSilent(on);
    return on ? QStringLiteral("silent") : QStringLiteral("talking");
  }
  if (command == QLatin1String("noise")) {
    const int n = arg.toInt(&ok);
    if (!ok || n < 0 || n > 65536) return QStringLiteral("error: noise BYTES");
    device.SendNoise(n);
    return QStringLiteral("sent %1 noise bytes").arg(n);
  }
  if (command == QLatin1String("noise-rate")) {
    const double rate = arg.toDouble(&ok);
    if (!ok || rate < 0 || rate > 1) return QStringLiteral("error: noise-rate 0..1");
    device.SetNoiseRate(rate);
    return QStringLiteral("noise rate %1").arg(rate);
  }
  if (command == QLatin1String("corrupt")) {
    const int n = arg.toInt(&ok);
    if (!ok || n < 0) return QStringLiteral("error: corrupt FRAMES");
    device.CorruptNextFrames(n);
    return QStringLiteral("corrupting %1 frames").arg(n);
  }
  if (command == QLatin1String("refuse")) {
    const bool on = OnOff(arg, &ok);
    if (!ok) return QStringLiteral("error: refuse on|off");
    device.SetRefusing(on);
    return on ? QStringLiteral("refusing commands") : QStringLiteral("taking commands");
  }
  if (command == QLatin1String("unplug")) {
    device.Unplug();
    return QStringLiteral("unplugged");
  }
  if (command == QLatin1String("plug")) {
    QString error;
    if (!device.Plug(&error)) return QStringLiteral("error: ") + error;
    return QStringLiteral("plugged");
  }
  if (command == QLatin1String("stats")) return StatsLine(device);
  if (command == QLatin1String("quit")) {
    if (quit) *quit = true;
    return {};
  }
  return QStringLiteral("error: unknown command %1").arg(command);
}

}  // namespace zsim
