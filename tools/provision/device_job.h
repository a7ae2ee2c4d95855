// One device of the bench, in a process of its own: it waits for the device
// to answer, reads it whole, backs it up, writes the profile and reads it
// back, with the shipped definitions, and says how it goes in job lines on
// `out`. A device that hangs or is pulled out ends its own job only.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <ostream>

namespace provision {

enum class JobMode { kProvision, kVerifyOnly, kReadOnly };

struct JobOptions {
  QString port;
  QString profile;     // empty with kReadOnly
  QString script;      // the Setup.KVS whose definitions run
  QString backup_dir;
  int timeout_s = 15;  // for the device's first answer
  JobMode mode = JobMode::kProvision;
  QStringList done_serials;  // devices already provisioned: skipped
  QString lines_file;        // where the job lines go; empty: the standard output
};

// 0 when the device ended as wanted, 1 otherwise. Needs a QCoreApplication.
int RunDeviceJob(const JobOptions& options, std::ostream& out);

// "<serial>-<yyyyMMdd-HHmmss>.ini" in `dir`, the serial number kept to
// letters, digits, '-' and '_'; a name already taken gets "-2", "-3"...
// The file is created empty at once, so that no two jobs take one name.
QString BackupPath(const QString& dir, const QString& serial, const QDateTime& when);

}  // namespace provision
