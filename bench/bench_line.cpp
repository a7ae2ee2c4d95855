// The program against the simulated device over a real pseudo-terminal, as a
// user meets it. Prints one JSON object for bench/compare.
//   bench_line latency [POLLS]   poll->reply times while 500 records a second
//                                flow through the dispatcher and the memos
//   bench_line script block|byte BYTES
//                                READSCR and WRITESCR of a script at 9600 baud
//   bench_line journal [SECONDS] the shipped pages' record hook (an INSERT into
//                                Tables.db) at 500 records a second: how long
//                                each run holds the window thread
// The device runs in this process (the simulator zelt-sim is made of) and
// shares the event loop with the program.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device_simulator.h"
#include "engine.h"
#include "event_system.h"
#include "main_form.h"
#include "program.h"
#include "zelt_device.h"

namespace {

bool WaitFor(const std::function<bool()>& done, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
  return done();
}

double ResidentMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * 4096.0 / (1 << 20);
}

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<size_t>(share * values.size()))];
}

// The device on a pseudo-terminal in `folder`, the program on it, connected.
struct Session {
  Session(sim::SimulatorOptions options, const QTemporaryDir& folder,
          const std::string& pages = ":NONE\r\n;\r\n") {
    options.link_path = folder.filePath("port");
    simulator = std::make_unique<sim::DeviceSimulator>(options);
    QString error;
    if (!simulator->Start(&error)) Fail("the device did not start: " + error.toStdString());
    const std::string script = folder.filePath("Setup.KVS").toStdString();
    std::ofstream(script, std::ios::binary) << pages;
    program = std::make_unique<zelt::Program>(QStringList{simulator->PortPath()}, script);
    program->engine().Register("DONE", [this](engine::Engine&, engine::Frame&) { ++done; });
    if (!program->events().StartUp({})) Fail("START failed");
    const QString connected = QString::fromUtf8("ZELT-2GSM - Подключено.");
    if (!WaitFor([&] { return program->form().LabelStatCon()->text() == connected; }, 10000))
      Fail("the device did not connect");
  }
  [[noreturn]] static void Fail(const std::string& why) {
    std::fprintf(stderr, "bench_line: %s\n", why.c_str());
    std::exit(1);
  }
  // Runs a line that ends in a device wait and DONE; the milliseconds it took.
  double Timed(const std::string& line) {
    const int before = done;
    QElapsedTimer clock;
    clock.start();
    program->engine().ExecuteLine(line);
    if (!WaitFor([&] { return done > before; }, 600000)) Fail("no answer to: " + line);
    return clock.nsecsElapsed() / 1e6;
  }

  std::unique_ptr<sim::DeviceSimulator> simulator;
  std::unique_ptr<zelt::Program> program;
  int done = 0;
};

// The device sends 500 read answers a second: ten every 20 ms.
struct RecordFeed {
  explicit RecordFeed(zsim::ZeltDevice& device) {
    const std::string record = std::string("\x13\xAC\x00\x14", 4) + std::string(16, '\x07');
    QObject::connect(&timer, &QTimer::timeout, [this, &device, record] {
      for (int i = 0; i < 10; ++i, ++records) device.QueueRecord(record);
    });
    timer.start(20);
  }
  QTimer timer;
  int records = 0;
};

int Latency(int polls) {
  QTemporaryDir folder;
  sim::SimulatorOptions options;
  options.line.poll_interval_ms = 0;
  Session session(options, folder);
  zsim::ZeltDevice& device = session.simulator->device();

  std::vector<double> latencies;
  latencies.reserve(polls);
  QElapsedTimer clock;
  clock.start();
  qint64 sent_at = -1;
  QObject::connect(&device, &zsim::ZeltDevice::FrameSent,
                   [&](const QByteArray&) { sent_at = clock.nsecsElapsed(); });
  QObject::connect(&device, &zsim::ZeltDevice::FrameReceived, [&](const QByteArray&) {
    if (sent_at < 0) return;
    latencies.push_back((clock.nsecsElapsed() - sent_at) / 1e6);
    sent_at = -1;
  });
  // Each record through the dispatcher and the three memos.
  RecordFeed feed(device);
  // The event loop's longest pause: a 1 ms timer that should tick on time.
  double longest_stall = 0;
  qint64 last_tick = clock.nsecsElapsed();
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    longest_stall = std::max(longest_stall, (now - last_tick) / 1e6);
    last_tick = now;
  });
  tick.start(1);

  const double rss_start = ResidentMb();
  double rss_half = 0;
  WaitFor([&] {
    if (rss_half == 0 && latencies.size() >= static_cast<size_t>(polls / 2)) rss_half = ResidentMb();
    return latencies.size() >= static_cast<size_t>(polls);
  }, 600000);
  const double seconds = clock.nsecsElapsed() / 1e9;
  std::printf(
      "{\"polls\": %zu, \"median_ms\": %.4f, \"p99_ms\": %.4f, \"max_ms\": %.3f, "
      "\"records\": %d, \"seconds\": %.2f, \"longest_stall_ms\": %.1f, "
      "\"rss_start_mb\": %.1f, \"rss_half_mb\": %.1f, \"rss_end_mb\": %.1f}\n",
      latencies.size(), Percentile(latencies, 0.5), Percentile(latencies, 0.99),
      Percentile(latencies, 1.0), feed.records, seconds, longest_stall, rss_start, rss_half,
      ResidentMb());
  return 0;
}

// The journal of the shipped pages: its table and its record hook as they are
// there, the hook's run timed by the words T0 and T1 around it.
constexpr char kJournalPages[] =
    ":START\r\nJOURNAL_TABLE RUN \"T0 JOURNAL_ADD RUN T1\" 1 ONREADCK\r\n;\r\n"
    ":JOURNAL_TABLE\r\n"
    " CLEARITEMS\r\n"
    " \"CREATE TABLE IF NOT EXISTS journal (id INTEGER PRIMARY KEY AUTOINCREMENT,\" ADDITEMS\r\n"
    " \"t TEXT, code TEXT, answer TEXT, rec TEXT)\" ADDITEMS\r\n"
    " QUERYEXEC\r\n;\r\n"
    ":JOURNAL_ADD\r\n"
    " 225 !\r\n"
    " CLEARITEMS\r\n"
    " \"INSERT INTO journal (t, code, answer, rec) VALUES (datetime('now','localtime'), '\" "
    "225 % 7 2 SMID &\r\n"
    " \"', '\" & 225 % 7 2 SMID \"AC\" = IF \"YES\" ELSE \"NO\" FI & \"', '\" & 225 % & \"')\" & "
    "ADDITEMS\r\n"
    " QUERYEXEC\r\n;\r\n";

int Journal(int seconds) {
  QTemporaryDir folder;
  QDir::setCurrent(folder.path());  // Tables.db goes beside the pages
  sim::SimulatorOptions options;
  options.line.poll_interval_ms = 0;
  std::vector<double> runs;
  QElapsedTimer hook;
  // T0 and T1 are registered after START: the hook runs only for records.
  auto session = std::make_unique<Session>(options, folder, kJournalPages);
  engine::Engine& engine = session->program->engine();
  engine.Register("T0", [&](engine::Engine&, engine::Frame&) { hook.start(); });
  engine.Register("T1", [&](engine::Engine&, engine::Frame&) { runs.push_back(hook.nsecsElapsed() / 1e6); });
  zsim::ZeltDevice& device = session->simulator->device();
  RecordFeed feed(device);
  QElapsedTimer clock;
  clock.start();
  WaitFor([&] { return clock.elapsed() > seconds * 1000; }, seconds * 1000 + 1000);
  feed.timer.stop();
  engine.ExecuteLine("CLEARITEMS \"SELECT count(*) AS c FROM journal\" ADDITEMS QUERY2 `c` FIELD2");
  const std::string stored = engine.Pop();
  const auto over_1ms = std::count_if(runs.begin(), runs.end(), [](double ms) { return ms > 1.0; });
  std::printf("{\"runs\": %zu, \"records\": %d, \"stored\": %s, \"median_ms\": %.4f, "
              "\"p99_ms\": %.4f, \"max_ms\": %.3f, \"over_1ms\": %td, \"seconds\": %d}\n",
              runs.size(), feed.records, stored.empty() ? "0" : stored.c_str(), Percentile(runs, 0.5),
              Percentile(runs, 0.99), Percentile(runs, 1.0), over_1ms, seconds);
  return 0;
}

int Script(bool block, size_t size) {
  QTemporaryDir folder;
  sim::SimulatorOptions options;
  options.realtime = true;  // zelt-sim --realtime --poll-ms 0
  options.line.poll_interval_ms = 0;
  Session session(options, folder);
  std::string text;
  for (int i = 0; text.size() < size; ++i) text += "IN" + std::to_string(i % 8) + " ON: SMS 1\r\n";
  text.resize(size);
  session.simulator->model().SetScript(text);

  // Characters on the line each way, each frame with its CR LF. The device's
  // side is paced at 9600 baud; the program's writes to the pseudo-terminal
  // are not.
  long long from_device = 0, to_device = 0;
  // Replies that came at least the link's 110 ms pacing pause after the
  // device's frame before them.
  int paced = 0;
  QElapsedTimer since_sent;
  since_sent.start();
  zsim::ZeltDevice& device = session.simulator->device();
  QObject::connect(&device, &zsim::ZeltDevice::FrameSent, [&](const QByteArray& line) {
    from_device += line.size() + 2;
    since_sent.restart();
  });
  QObject::connect(&device, &zsim::ZeltDevice::FrameReceived, [&](const QByteArray& frame) {
    to_device += frame.size() + 2;
    if (since_sent.elapsed() >= 110) ++paced;
  });

  const std::string flag = block ? "0" : "\"\"";
  const double read_ms = session.Timed("1 2 " + flag + " READSCR 300 WAITREAD DONE");
  const long long read_from = from_device, read_to = to_device;
  const int read_paced = paced;
  engine::Engine& engine = session.program->engine();
  engine.ExecuteLine("RSCRIPT");
  if (engine.Pop() != text) Session::Fail("the script read differs");
  engine.ExecuteLine("RSCRIPT SSCRIPT");
  from_device = to_device = 0;
  paced = 0;
  const double write_ms = session.Timed("1 2 " + flag + " WRITESCR 300 WAITREAD DONE");
  if (session.simulator->model().Script() != text) Session::Fail("the script written differs");
  std::printf("{\"bytes\": %zu, \"read_ms\": %.1f, \"read_from_device\": %lld, "
              "\"read_to_device\": %lld, \"read_paced\": %d, \"write_ms\": %.1f, "
              "\"write_from_device\": %lld, \"write_to_device\": %lld, \"write_paced\": %d}\n",
              size, read_ms, read_from, read_to, read_paced, write_ms, from_device, to_device, paced);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "latency") return Latency(argc > 2 ? std::atoi(argv[2]) : 10000);
  if (mode == "journal") return Journal(argc > 2 ? std::atoi(argv[2]) : 10);
  if (mode == "script" && argc > 3)
    return Script(std::strcmp(argv[2], "block") == 0, static_cast<size_t>(std::atoi(argv[3])));
  std::fprintf(stderr, "usage: bench_line latency [POLLS] | script block|byte BYTES | journal [SECONDS]\n");
  return 2;
}
