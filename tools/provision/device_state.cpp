#include "device_state.h"

namespace provision {

namespace {

struct Named {
  Outcome outcome;
  const char* name;
};
constexpr Named kOutcomes[] = {{Outcome::kRunning, "running"},
                               {Outcome::kVerified, "verified"},
                               {Outcome::kBackedUp, "backed up"},
                               {Outcome::kSkipped, "skipped"},
                               {Outcome::kFailed, "failed"}};

}  // namespace

QString OutcomeName(Outcome outcome) {
  for (const Named& named : kOutcomes)
    if (named.outcome == outcome) return QString::fromLatin1(named.name);
  return {};
}

std::string JobLine(const QStringList& fields) {
  QStringList clean;
  for (QString field : fields) {
    for (QChar& c : field)
      if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
        c = QLatin1Char(' ');
    clean += field;
  }
  return clean.join(QLatin1Char('\t')).toStdString() + '\n';
}

bool ApplyJobLine(DeviceState& state, const QString& line) {
  const QStringList fields = QString(line).remove(QLatin1Char('\r')).split(QLatin1Char('\t'));
  const QString& kind = fields[0];
  const QString value = fields.value(1);
  if (kind == QLatin1String("stage") && fields.size() == 3) {
    state.stage = value;
    state.percent = qBound(0, fields[2].toInt(), 100);
  } else if (kind == QLatin1String("serial") && fields.size() == 2) {
    state.serial = value;
  } else if (kind == QLatin1String("firmware") && fields.size() == 2) {
    state.firmware = value;
  } else if (kind == QLatin1String("backup") && fields.size() == 2) {
    state.backup = value;
  } else if (kind == QLatin1String("diff") && fields.size() == 2) {
    state.diff = value;
  } else if (kind == QLatin1String("result") && fields.size() == 3) {
    for (const Named& named : kOutcomes)
      if (value == QLatin1String(named.name) && named.outcome != Outcome::kRunning) {
        state.outcome = named.outcome;
        state.reason = fields[2];
        return true;
      }
    return false;
  } else {
    return false;
  }
  return true;
}

}  // namespace provision
