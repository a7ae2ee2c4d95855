#include "bench.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "port_scan.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace provision {

QStringList JobArguments(const JobOptions& job) {
  QStringList arguments = {QStringLiteral("--job"),     job.port,
                           QStringLiteral("--script"),  job.script,
                           QStringLiteral("--timeout"), QString::number(job.timeout_s)};
  if (job.mode == JobMode::kReadOnly) {
    arguments << QStringLiteral("--read-only") << job.backup_dir;
  } else {
    arguments << QStringLiteral("--backup") << job.backup_dir;
    if (job.mode == JobMode::kVerifyOnly) arguments << QStringLiteral("--verify-only");
  }
  if (!job.done_serials.isEmpty())
    arguments << QStringLiteral("--done") << job.done_serials.join(QLatin1Char(','));
  if (!job.lines_file.isEmpty()) arguments << QStringLiteral("--lines") << job.lines_file;
  if (!job.profile.isEmpty()) arguments << QStringLiteral("--") << job.profile;
  return arguments;
}

Bench::Bench(const BenchOptions& options, std::function<void()> changed)
    : options_(options), changed_(std::move(changed)) {
  scan_.setInterval(500);
  QObject::connect(&scan_, &QTimer::timeout, [this] { Scan(); });
  lines_.setInterval(100);
  QObject::connect(&lines_, &QTimer::timeout, [this] {
    for (auto& job : jobs_) TakeLines(*job);
  });
  lines_.start();
}

Bench::~Bench() {
  for (auto& job : jobs_) {
    job->process->disconnect();
    job->process->kill();
    job->process->waitForFinished(2000);
  }
}

void Bench::Start() {
  Scan();
  if (options_.watch) {
    scan_.start();
    return;
  }
  // A port named on the command line that is not there is a device left
  // unprovisioned, never one silently passed over.
  for (const QString& port : options_.ports) {
    const bool listed = std::any_of(devices_.begin(), devices_.end(),
                                    [&](const DeviceState& d) { return d.port == port; });
    if (listed) continue;
    DeviceState device;
    device.port = port;
    device.start = QDateTime::currentDateTime();
    device.outcome = Outcome::kFailed;
    device.reason = QStringLiteral("port not found");
    devices_.push_back(device);
  }
}

void Bench::Stop() {
  if (stopped_) {
    for (auto& job : jobs_) job->process->kill();
    return;
  }
  stopped_ = true;
  scan_.stop();
}

void Bench::Scan() {
  const QStringList ports = zlink::ScanPorts(options_.ports);
  // A port that went away may come back with another device.
  for (auto it = present_.begin(); it != present_.end();)
    it = ports.contains(it->first) ? std::next(it) : present_.erase(it);
  for (const QString& port : ports) {
    const QString target = QFileInfo(port).canonicalFilePath();
    auto it = present_.find(port);
    if (it != present_.end() && it->second == target) continue;
    present_[port] = target;
    StartJob(port);
  }
}

void Bench::StartJob(const QString& port) {
  DeviceState device;
  device.port = port;
  device.start = QDateTime::currentDateTime();
  devices_.push_back(device);

  auto job = std::make_unique<Job>();
  job->device = devices_.size() - 1;
  // The job's Tables.db and link logs, apart from every other job's.
  job->work = std::make_unique<QTemporaryDir>();
  job->lines = std::make_unique<QFile>(QDir(job->work->path()).filePath(QStringLiteral("job.lines")));
  job->lines->open(QIODevice::ReadWrite | QIODevice::Unbuffered);
  job->process = std::make_unique<QProcess>();
  QProcess* process = job->process.get();
  process->setWorkingDirectory(job->work->path());
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_UNIX
  // Ctrl+C on the terminal reaches the bench alone: a job is never cut off mid-write.
  process->setChildProcessModifier([] { setpgid(0, 0); });
#endif
  JobOptions options = options_.job;
  options.port = port;
  options.done_serials = QStringList(done_serials_.begin(), done_serials_.end());
  options.lines_file = job->lines->fileName();
  QObject::connect(process, &QProcess::finished,
                   [this, process](int code, QProcess::ExitStatus status) {
                     Ended(process, code, status);
                   });
  QObject::connect(process, &QProcess::errorOccurred, [this, process](QProcess::ProcessError e) {
    if (e == QProcess::FailedToStart) Ended(process, -1, QProcess::CrashExit);
  });
  jobs_.push_back(std::move(job));
  process->start(options_.program, JobArguments(options));
  changed_();
}

void Bench::TakeLines(Job& job) {
  job.pending += job.lines->readAll();
  DeviceState& device = devices_[job.device];
  bool any = false;
  for (int end; (end = job.pending.indexOf('\n')) >= 0;) {
    any |= ApplyJobLine(device, QString::fromUtf8(job.pending.left(end)));
    job.pending.remove(0, end + 1);
  }
  if (any) changed_();
}

void Bench::Ended(QProcess* process, int exit_code, QProcess::ExitStatus status) {
  auto it = std::find_if(jobs_.begin(), jobs_.end(),
                         [process](const auto& job) { return job->process.get() == process; });
  if (it == jobs_.end()) return;
  std::unique_ptr<Job> job = std::move(*it);
  jobs_.erase(it);
  TakeLines(*job);
  DeviceState& device = devices_[job->device];
  device.duration_ms = device.start.msecsTo(QDateTime::currentDateTime());
  if (device.outcome == Outcome::kRunning) {
    device.outcome = Outcome::kFailed;
    device.reason = status == QProcess::CrashExit
                        ? QStringLiteral("the device job stopped during %1").arg(device.stage)
                        : QStringLiteral("the device job ended during %1 (exit %2)")
                              .arg(device.stage)
                              .arg(exit_code);
  }
  if (device.outcome == Outcome::kVerified && !device.serial.isEmpty())
    done_serials_.insert(device.serial);
  process->disconnect();
  job->process.release()->deleteLater();
  changed_();
}

}  // namespace provision
