#include "profile_check.h"

#include <QDir>
#include <QFile>

#include "cp1251.h"
#include "job_engine.h"

namespace provision {

int KeyLine(const QByteArray& text, const QString& key) {
  const QList<QByteArray> lines = text.split('\n');
  for (int i = 0; i < lines.size(); ++i) {
    const QByteArray& line = lines[i];
    const int equals = line.indexOf('=');
    if (equals > 0 && QString::fromUtf8(line.left(equals).trimmed())
                              .compare(key, Qt::CaseInsensitive) == 0)
      return i + 1;
  }
  return 0;
}

QStringList CheckProfile(const QString& profile, const QString& script, const QString& work_dir) {
  QFile file(profile);
  if (!file.open(QIODevice::ReadOnly)) return {profile + QStringLiteral(": cannot be read")};
  const QByteArray text = file.readAll();

  JobEngine job(engine::ToCp1251(script), QDir(work_dir).filePath(QStringLiteral("Tables.db")));
  if (!job.Defines("PROFILE_LOAD"))
    return {script + QStringLiteral(": has no PROFILE_LOAD definition")};
  job.Evaluate("INIT_DATA RUN");
  if (job.Evaluate("PROFILE_LOAD RUN", {engine::ToCp1251(QDir::toNativeSeparators(profile))}) !=
      engine::kTrue)
    return {profile + QStringLiteral(": holds no device settings (no S0 in [Settings]): not a profile")};

  QStringList faults;
  const QString refused = engine::FromCp1251(job.Cell(209));
  if (refused.isEmpty()) return faults;
  for (const QString& value : refused.split(QStringLiteral(", "))) {
    const int line = KeyLine(text, value.section(QLatin1Char('='), 0, 0));
    faults += profile + (line > 0 ? QLatin1Char(':') + QString::number(line) : QString()) +
              QStringLiteral(": ") + value + QStringLiteral(": the device cannot take this value");
  }
  return faults;
}

}  // namespace provision
