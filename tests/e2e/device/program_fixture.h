// The zelt program, built as zelt builds it, talking to the simulated device
// in this process over a real pseudo-terminal (Unix) or a memory line.
#pragma once

#include <fstream>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "cp1251.h"
#include "device_simulator.h"
#include "engine.h"
#include "event_system.h"
#include "file_words.h"
#include "link_registry.h"
#include "main_form.h"
#include "memory_line.h"
#include "program.h"
#include "rs.h"
#include "port_supervision.h"
#include "supervision_system.h"
#include "tables.h"
#ifndef _WIN32
#include "pty_port.h"
#endif

namespace device_e2e {

// Runs the event loop until `done` holds or `ms` pass. Unlike QTest::qWaitFor
// it does not sleep between turns, so the line keeps its real pace.
inline bool WaitFor(const std::function<bool()>& done, int ms) {
  if (done()) return true;
  QElapsedTimer clock;
  clock.start();
  QEventLoop loop;
  QTimer check;
  check.setInterval(1);
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (done() || clock.elapsed() > ms) loop.quit();
  });
  check.start();
  loop.exec();
  return done();
}

// Fast polls keep the tests short; the protocol is the same at any pace. The
// reply time-out stays above the link's 110 ms pacing pause.
inline sim::SimulatorOptions FastDevice(const QString& link_path = {}) {
  sim::SimulatorOptions options;
  options.line.poll_interval_ms = 5;
  options.line.reply_timeout_ms = 150;
  options.link_path = link_path;
  return options;
}

// A line of the simulator's kind where no device answers, under `name`.
class SilentLine {
 public:
  explicit SilentLine(const QString& name) {
#ifdef _WIN32
    line_ = std::make_unique<zsim::MemoryLine>(name);
#else
    auto pty = std::make_unique<zsim::PtyPort>();
    pty->SetLinkPath(name);
    line_ = std::move(pty);
#endif
  }
  zsim::DeviceLine* operator->() { return line_.get(); }

 private:
  std::unique_ptr<zsim::DeviceLine> line_;
};

// zelt's own program, with what the tests add: a temporary working folder
// for the script and the link logs, and the word DONE that counts its runs.
class Program {
 public:
  // `script`: the Setup.KVS to run; by default one without definitions, so
  // START, ONSTOPWAIT and the rest run empty.
  explicit Program(const QStringList& ports, const std::string& script = {})
      : program(MakeProgram(dir, ports, script)),
        form(program->form()),
        engine(program->engine()),
        file_state(program->file_state()),
        events(&program->events()),
        device(&program->device()) {
    engine.Register("DONE", [this](engine::Engine&, engine::Frame&) { ++done; });
  }
  ~Program() {
    program.reset();
    zlink::SetLinkLogFolder(QString());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  bool Connected() const {
    return form.LabelStatCon()->text() == QString::fromUtf8("ZELT-2GSM - Подключено.");
  }
  // Runs the line, which must end in a device wait followed by DONE, and
  // waits for DONE.
  bool RunAndWait(const std::string& line, int ms = 20000) {
    const int before = done;
    engine.ExecuteLine(line);
    return WaitFor([&] { return done > before; }, ms);
  }
  std::string Pushed(const std::string& line) {
    engine.ExecuteLine(line);
    return engine.Pop();
  }


  QTemporaryDir dir;
  std::unique_ptr<zelt::Program> program;
  ui::TMainForm& form;
  engine::Engine& engine;
  files::FileWordsState& file_state;
  ui::EventSystem* events;
  ui::DeviceLinkSystem* device;
  int done = 0;

 private:
  // The link logs go to the temporary folder from the first link on.
  static std::unique_ptr<zelt::Program> MakeProgram(const QTemporaryDir& dir,
                                                    const QStringList& ports,
                                                    const std::string& script) {
    zlink::SetLinkLogFolder(dir.path());
    if (!script.empty()) return std::make_unique<zelt::Program>(ports, script);
    // A script file of one empty definition: a missing one would be reported.
    const std::string own = dir.filePath("Setup.KVS").toStdString();
    std::ofstream(own, std::ios::binary) << ":NONE\r\n;\r\n";
    return std::make_unique<zelt::Program>(ports, own);
  }
};

// The simulated device on a line of its own and the program talking to it;
// the fixtures of the device tests start from here.
struct DeviceSession {
  // Starts the device on a line in the temporary folder, then the program on
  // that line with `script` (see Program).
  ::testing::AssertionResult StartDevice(sim::SimulatorOptions options,
                                         const std::string& script = {}) {
    options.link_path = folder.filePath("port");
    simulator = std::make_unique<sim::DeviceSimulator>(options);
    QString error;
    if (!simulator->Start(&error)) return ::testing::AssertionFailure() << error.toStdString();
    program = std::make_unique<Program>(QStringList{simulator->PortPath()}, script);
    return ::testing::AssertionSuccess();
  }
  // Runs START and waits until the device is connected.
  ::testing::AssertionResult Connect() {
    if (!program->events->StartUp({})) return ::testing::AssertionFailure() << "START failed";
    if (!WaitFor([&] { return program->Connected(); }, 5000))
      return ::testing::AssertionFailure() << "the device did not connect";
    return ::testing::AssertionSuccess();
  }
  void StopDevice() {
    program.reset();
    simulator.reset();
  }

  QTemporaryDir folder;
  std::unique_ptr<sim::DeviceSimulator> simulator;
  std::unique_ptr<Program> program;
};

}  // namespace device_e2e
