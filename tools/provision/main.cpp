// zelt-provision: one profile into a bench of ZELT-2 GSM devices at once,
// each backed up first and read back after (see provision_options.cpp).
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "bench.h"
#include "bench_output.h"
#include "device_job.h"
#include "profile_check.h"
#include "program_files.h"
#include "provision_options.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#ifndef ZELT_SHIPPED_SCRIPT
#define ZELT_SHIPPED_SCRIPT ""
#endif

namespace {

volatile std::sig_atomic_t interrupts = 0;

void OnInterrupt(int) { interrupts = interrupts + 1; }

int BadUsage(const QString& why) {
  std::cerr << "zelt-provision: " << why.toStdString() << "\n" << provision::kUsage;
  return 2;
}

// Setup.KVS here, as zelt takes it, else the one shipped with the program.
QString ChooseScript() {
  if (QFileInfo(QStringLiteral("Setup.KVS")).isFile())
    return QFileInfo(QStringLiteral("Setup.KVS")).absoluteFilePath();
  return zelt::ShippedScript(QCoreApplication::applicationDirPath(),
                             QStringLiteral(ZELT_SHIPPED_SCRIPT));
}

// One device; its lines go where the bench reads them.
int RunJob(const provision::JobOptions& job) {
  if (job.lines_file.isEmpty()) return provision::RunDeviceJob(job, std::cout);
  std::ofstream lines(std::filesystem::path(job.lines_file.toStdU16String()), std::ios::app);
  if (!lines) {
    std::cerr << "zelt-provision: cannot write " << job.lines_file.toStdString() << '\n';
    return 1;
  }
  return provision::RunDeviceJob(job, lines);
}

int RunBench(provision::CommandLine& command) {
  provision::BenchOptions& options = command.bench;
  if (options.job.mode != provision::JobMode::kReadOnly) {
    QTemporaryDir work;
    const QStringList faults =
        provision::CheckProfile(options.job.profile, options.job.script, work.path());
    if (!faults.isEmpty()) {
      for (const QString& fault : faults) std::cerr << "zelt-provision: " << fault.toStdString() << '\n';
      return 2;
    }
  }
  options.program = QCoreApplication::applicationFilePath();

  provision::LiveView view(std::cout, isatty(fileno(stdout)) != 0);
  provision::Bench* bench_ptr = nullptr;
  provision::Bench bench(options, [&] {
    if (bench_ptr) view.Show(bench_ptr->devices());
  });
  bench_ptr = &bench;
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  int stops = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    for (; stops < interrupts; ++stops) bench.Stop();
    if (bench.Done()) QCoreApplication::quit();
  });
  tick.start(100);
  bench.Start();
  view.Show(bench.devices());
  if (!bench.Done()) QCoreApplication::exec();

  const auto& devices = bench.devices();
  int succeeded = 0;
  for (const provision::DeviceState& device : devices)
    if (provision::Succeeded(device.outcome)) ++succeeded;
  const int failed = static_cast<int>(devices.size()) - succeeded;
  int status = failed > 0 || devices.empty() ? 1 : 0;
  if (devices.empty()) std::cerr << "zelt-provision: no device port found\n";
  if (!command.report.isEmpty() && !provision::WriteReport(command.report, devices)) {
    std::cerr << "zelt-provision: the report cannot be written to "
              << command.report.toStdString() << '\n';
    status = 1;
  }
  std::cout << devices.size() << (devices.size() == 1 ? " device: " : " devices: ") << succeeded
            << " done, " << failed << " failed\n";
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  provision::CommandLine command;
  QString error;
  if (!provision::ParseCommandLine(QCoreApplication::arguments(), command, error))
    return BadUsage(error);
  if (command.help) {
    std::cout << provision::kUsage;
    return 0;
  }
  provision::JobOptions& job = command.bench.job;
  if (job.script.isEmpty()) job.script = ChooseScript();
  if (job.script.isEmpty() || !QFileInfo(job.script).isFile())
    return BadUsage(QStringLiteral("no Setup.KVS found (--script FILE)"));
  if (command.job) return RunJob(job);
  return RunBench(command);
}
