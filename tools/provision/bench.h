// The bench: a device job per port, each a process of its own, so that a
// device that hangs, refuses or is pulled out holds up no other; the states
// they report, and with --watch the ports that come and go.
#pragma once

#include <QObject>
#include <QProcess>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "device_job.h"
#include "device_state.h"

class QFile;
class QTemporaryDir;

namespace provision {

struct BenchOptions {
  QStringList ports;  // empty: the USB serial ports the window looks for
  JobOptions job;     // what every job gets; its port is the job's own
  bool watch = false;
  QString program;    // the program run per device (this one, --job PORT)
};

// The arguments that run one device job of `job` (the program's hidden per-port mode).
QStringList JobArguments(const JobOptions& job);

class Bench {
 public:
  Bench(const BenchOptions& options, std::function<void()> changed);
  ~Bench();

  // Starts a job on every port there is now; with watch, on every port that
  // comes later too, until Stop().
  void Start();
  // No further jobs; the running ones go on. Called again: they are killed.
  void Stop();
  // Every job has ended and no more will start.
  bool Done() const { return (stopped_ || !options_.watch) && jobs_.empty(); }

  const std::vector<DeviceState>& devices() const { return devices_; }

 private:
  struct Job {
    size_t device;
    std::unique_ptr<QTemporaryDir> work;
    // The file in `work` the job appends its lines to, held open and read on
    // from where the last read ended.
    std::unique_ptr<QFile> lines;
    std::unique_ptr<QProcess> process;
    QByteArray pending;  // what was read short of a line end
  };
  void Scan();
  void StartJob(const QString& port);
  void TakeLines(Job& job);
  void Ended(QProcess* process, int exit_code, QProcess::ExitStatus status);

  BenchOptions options_;
  std::function<void()> changed_;
  std::vector<DeviceState> devices_;
  std::vector<std::unique_ptr<Job>> jobs_;
  std::map<QString, QString> present_;  // port to the device file it names
  QSet<QString> done_serials_;
  QTimer scan_;
  QTimer lines_;  // the jobs' lines are read on its ticks and when a job ends
  bool stopped_ = false;
};

}  // namespace provision
