// Start-up as the operator waits for it: from the moment the process was
// started to the end of START, with the pages of the Setup.KVS given and the
// simulated device. zelt's own start-up sequence, then one JSON line and quit.
//   bench_startup SETUP_KVS SPAWNED_NS
// SPAWNED_NS is the monotonic clock (CLOCK_MONOTONIC, in nanoseconds) read by
// the caller just before it started this process.
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "event_system.h"
#include "program.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_startup SETUP_KVS SPAWNED_NS\n");
    return 2;
  }
  const long long spawned_ns = std::atoll(argv[2]);
  QApplication app(argc, argv);
  zelt::ProgramOptions options;
  options.demo = true;
  options.script = argv[1];
  QString error;
  const std::unique_ptr<zelt::Program> program = zelt::Program::Create(options, &error);
  if (!program) {
    std::fprintf(stderr, "bench_startup: %s\n", qPrintable(error));
    return 1;
  }
  program->StartOnFirstShow({});
  // Connected after the start-up, so it runs once START has ended.
  QObject::connect(&program->form(), &ui::TMainForm::FirstShown, &program->form(), [&] {
    const long long now_ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count();
    std::printf("{\"start_ms\": %.2f}\n", (now_ns - spawned_ns) / 1e6);
    std::fflush(stdout);
    QTimer::singleShot(0, &app, &QApplication::quit);
  });
  program->form().show();
  return app.exec();
}
