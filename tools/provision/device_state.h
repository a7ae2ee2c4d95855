// One device of a bench as the bench sees it, and the lines in which a device
// job tells it: "stage NAME PERCENT", "serial TEXT", "firmware TEXT", "backup
// PATH", "diff TEXT" and last "result OUTCOME REASON", fields separated by
// tabs, texts in UTF-8, one line each on the job's standard output.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <string>

namespace provision {

enum class Outcome { kRunning, kVerified, kBackedUp, kSkipped, kFailed };

struct DeviceState {
  QString port;
  QString serial;
  QString firmware;
  QString stage = QStringLiteral("starting");
  int percent = 0;
  Outcome outcome = Outcome::kRunning;
  QString reason;  // what failed, or why it was skipped
  QString diff;    // the parts that differ and where
  QString backup;
  QDateTime start;
  qint64 duration_ms = 0;
};

// "verified", "backed up", "skipped", "failed"; "running" before the end.
QString OutcomeName(Outcome outcome);

// A job line of these fields; tabs and line breaks inside a field become blanks.
std::string JobLine(const QStringList& fields);

// Takes a job line into the state; false for a line that is none.
bool ApplyJobLine(DeviceState& state, const QString& line);

// Whether the bench counts the device as done as wanted.
inline bool Succeeded(Outcome outcome) {
  return outcome == Outcome::kVerified || outcome == Outcome::kBackedUp ||
         outcome == Outcome::kSkipped;
}

}  // namespace provision
