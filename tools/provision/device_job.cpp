#include "device_job.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "cp1251.h"
#include "device_session.h"
#include "device_state.h"
#include "job_engine.h"
#include "run_until.h"

namespace provision {

namespace {

using device::RunUntil;

QString Text(const std::string& cp1251) { return engine::FromCp1251(cp1251); }

class Job {
 public:
  Job(const JobOptions& options, std::ostream& out)
      : options_(options), out_(out), script_(engine::ToCp1251(options.script)), session_(script_.engine()) {
    script_.on_part = [this](int part, int parts) {
      if (parts > 0) Stage(stage_, 100 * (part - 1) / parts);
    };
  }

  int Run();

 private:
  void Say(const QStringList& fields) { out_ << JobLine(fields) << std::flush; }
  void Stage(const QString& name, int percent) {
    stage_ = name;
    Say({QStringLiteral("stage"), name, QString::number(percent)});
  }
  int Result(Outcome outcome, QString reason = {}) {
    if (outcome == Outcome::kFailed && session_.records_given_up() > 0)
      reason += QStringLiteral("; the device refused %1 records again after their repeat")
                    .arg(session_.records_given_up());
    Say({QStringLiteral("result"), OutcomeName(outcome), reason});
    return Succeeded(outcome) ? 0 : 1;
  }
  // Runs the line until its device wait and the link's queue have ended;
  // false when the device was lost meanwhile.
  bool RunToEnd(const std::string& line);
  int Backup();
  int Write();

  const JobOptions& options_;
  std::ostream& out_;
  JobEngine script_;
  device::DeviceSession session_;
  QString stage_;
  QString serial_;
};

bool Job::RunToEnd(const std::string& line) {
  script_.engine().ExecuteLine(line);
  RunUntil([&] { return session_.Settled() || session_.Lost(); });
  if (!session_.Lost()) return true;
  session_.EndAfterLoss();
  return false;
}

int Job::Run() {
  if (!script_.Defines("PROVISION_IDENTIFY"))
    return Result(Outcome::kFailed,
                  QStringLiteral("%1 has no PROVISION_IDENTIFY").arg(options_.script));
  session_.RegisterWords();
  Stage(QStringLiteral("waiting"), 0);
  using FirstAnswer = device::DeviceSession::FirstAnswer;
  switch (session_.OpenAndAwaitAnswer(options_.port, QDeadlineTimer(options_.timeout_s * 1000LL))) {
    case FirstAnswer::kAnswered:
      break;
    case FirstAnswer::kPortNotOpened:
      return Result(Outcome::kFailed, QStringLiteral("the port cannot be opened"));
    case FirstAnswer::kPortLost:
      return Result(Outcome::kFailed, QStringLiteral("port lost before the device answered"));
    case FirstAnswer::kNoAnswer:
      return Result(Outcome::kFailed,
                    QStringLiteral("no answer within %1 s").arg(options_.timeout_s));
  }

  Stage(QStringLiteral("reading"), 0);
  const QString lost = QStringLiteral("port lost while reading");
  if (!RunToEnd("PROVISION_IDENTIFY RUN")) return Result(Outcome::kFailed, lost);
  serial_ = script_.Cell(142).empty() ? QString() : Text(script_.Evaluate("142 % INFO_TEXT RUN"));
  Say({QStringLiteral("serial"), serial_});
  Say({QStringLiteral("firmware"),
       script_.Cell(141).empty() ? QString() : Text(script_.Evaluate("141 % INFO_TEXT RUN"))});
  if (!serial_.isEmpty() && options_.done_serials.contains(serial_))
    return Result(Outcome::kSkipped, QStringLiteral("already provisioned"));
  if (!RunToEnd("PROVISION_READ RUN")) return Result(Outcome::kFailed, lost);
  if (!script_.Cell(251).empty())
    return Result(Outcome::kFailed, QStringLiteral("could not read: ") + Text(script_.Cell(251)));
  // Nothing is written when only comparing: there is nothing to back up for.
  return options_.mode == JobMode::kVerifyOnly ? Write() : Backup();
}

int Job::Backup() {
  Stage(QStringLiteral("backing up"), 0);
  if (!QDir().mkpath(options_.backup_dir))
    return Result(Outcome::kFailed,
                  QStringLiteral("the backup folder %1 cannot be made").arg(options_.backup_dir));
  // Saved beside it first and then put in place whole: a backup is never half a file.
  const QString path = BackupPath(options_.backup_dir, serial_, QDateTime::currentDateTime());
  const QString part = path + QStringLiteral(".part");
  const bool saved = script_.Evaluate("PROFILE_SAVE RUN",
                                   {engine::ToCp1251(QDir::toNativeSeparators(part))}) ==
                     engine::kTrue;
  QFile written(part);
  QSaveFile backup(path);
  const bool whole = saved && written.open(QIODevice::ReadOnly) &&
                     backup.open(QIODevice::WriteOnly) &&
                     backup.write(written.readAll()) == written.size() && backup.commit();
  written.close();
  QFile::remove(part);
  if (!whole) {
    QFile::remove(path);
    return Result(Outcome::kFailed, QStringLiteral("the backup cannot be written: ") + path);
  }
  Say({QStringLiteral("backup"), path});
  if (options_.mode == JobMode::kReadOnly) return Result(Outcome::kBackedUp);
  return Write();
}

int Job::Write() {
  if (script_.Evaluate("PROFILE_LOAD RUN",
                    {engine::ToCp1251(QDir::toNativeSeparators(options_.profile))}) !=
      engine::kTrue)
    return Result(Outcome::kFailed, QStringLiteral("the profile holds no device settings"));
  bool lost = false;
  if (options_.mode == JobMode::kVerifyOnly) {
    Stage(QStringLiteral("comparing"), 0);
    script_.Evaluate("PROVISION_COMPARE RUN");
  } else {
    Stage(QStringLiteral("writing"), 0);
    lost = !RunToEnd("PROVISION_WRITE RUN");
  }
  Say({QStringLiteral("diff"), Text(script_.Cell(70))});
  if (lost) return Result(Outcome::kFailed, QStringLiteral("port lost while writing"));
  if (script_.Cell(248) != "0")
    return Result(Outcome::kFailed, options_.mode == JobMode::kVerifyOnly
                                        ? QStringLiteral("differs from the profile: ") +
                                              Text(script_.Cell(70))
                                        : Text(script_.Cell(239)));
  return Result(Outcome::kVerified);
}

}  // namespace

QString BackupPath(const QString& dir, const QString& serial, const QDateTime& when) {
  QString name;
  for (const QChar c : serial) {
    const bool kept = (c.isLetterOrNumber() && c.unicode() < 128) || c == QLatin1Char('-') ||
                      c == QLatin1Char('_');
    name += kept ? c : QLatin1Char('_');
  }
  if (name.isEmpty()) name = QStringLiteral("unknown");
  const QString stem =
      QDir(dir).filePath(name + QLatin1Char('-') + when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
  // The name is taken at once, so that two jobs never share it.
  QString path = stem + QStringLiteral(".ini");
  for (int n = 2; n < 1000; ++n) {
    if (QFile(path).open(QIODevice::WriteOnly | QIODevice::NewOnly)) break;
    path = stem + QLatin1Char('-') + QString::number(n) + QStringLiteral(".ini");
  }
  return path;
}

int RunDeviceJob(const JobOptions& options, std::ostream& out) { return Job(options, out).Run(); }

}  // namespace provision
