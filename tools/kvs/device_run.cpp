#include "device_run.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <iostream>
#include <memory>

#include "device_session.h"
#include "device_simulator.h"
#include "engine.h"
#include "run_until.h"

namespace kvs {

using device::RunUntil;

int RunOnDevice(engine::Engine& e, const DeviceRun& run, const std::vector<std::string>& lines,
                const std::function<void(const std::string&)>& run_line) {
  static int argc = 1;
  static char name[] = "kvs";
  static char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);

  std::unique_ptr<sim::DeviceSimulator> demo;
  QString port = run.port;
  if (run.demo) {
    demo = std::make_unique<sim::DeviceSimulator>(sim::DemoOptions());
    QString reason;
    if (!demo->Start(&reason)) {
      std::cerr << "kvs: cannot start the simulated device: " << reason.toStdString() << '\n';
      return kNoAnswer;
    }
    port = demo->PortPath();
  }
  const std::string named = port.toStdString();

  device::DeviceSession session(e);
  session.RegisterWords();
  using FirstAnswer = device::DeviceSession::FirstAnswer;
  switch (session.OpenAndAwaitAnswer(port, QDeadlineTimer(run.timeout_s * 1000LL))) {
    case FirstAnswer::kAnswered:
      break;
    case FirstAnswer::kPortNotOpened:
      std::cerr << "kvs: " << named << ": the port cannot be opened\n";
      return kNoAnswer;
    case FirstAnswer::kPortLost:
    case FirstAnswer::kNoAnswer:
      std::cerr << "kvs: no answer from the device on " << named << " within " << run.timeout_s
                << " s\n";
      return kNoAnswer;
  }

  auto wait_ended = [&] {
    return !session.wait().Armed() && session.wait().pending_script().empty();
  };
  bool gone = false;
  for (const std::string& line : lines) {
    run_line(line);
    RunUntil([&] { return wait_ended() || session.Lost(); });
    if ((gone = session.Lost())) break;
  }
  if (!gone) {
    RunUntil([&] { return session.Settled() || session.Lost(); });
    gone = session.Lost();
  }
  if (gone) {
    session.EndAfterLoss();
    std::cerr << "kvs: the device on " << named << " stopped answering\n";
  }

  int status = gone ? kNoAnswer : 0;
  if (session.stores().failed_write_total > 0) {
    std::cerr << "kvs: the device did not take " << session.stores().failed_write_total
              << " bytes written to it (WRFAILS)\n";
    if (status == 0) status = kRefused;
  }
  if (const uint64_t given_up = session.records_given_up(); given_up > 0) {
    std::cerr << "kvs: the device refused " << given_up << " records again after their repeat\n";
    if (status == 0) status = kRefused;
  }
  return status;
}

}  // namespace kvs
