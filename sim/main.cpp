// zelt-sim: a ZELT-2 GSM device on a pseudo-terminal. The first line of
// standard output is the path of the port to open; control lines are read
// from standard input (see docs/protocol.md).
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "device_simulator.h"
#include "pty_port.h"
#include "sim_control.h"
#include "zelt_device.h"

namespace {

int signal_pipe[2] = {-1, -1};

void OnSignal(int) {
  const char c = 1;
  [[maybe_unused]] ssize_t n = ::write(signal_pipe[1], &c, 1);
}

void Say(const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("zelt-sim"));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("ZELT-2 GSM device simulator on a pseudo-terminal"));
  parser.addHelpOption();
  QCommandLineOption link_opt(QStringLiteral("link"), QStringLiteral("Also make PATH a symbolic link to the port."), QStringLiteral("PATH"));
  QCommandLineOption realtime_opt(QStringLiteral("realtime"), QStringLiteral("Pace the output at 9600 baud."));
  QCommandLineOption poll_opt(QStringLiteral("poll-ms"), QStringLiteral("Pause between exchanges (default 100)."), QStringLiteral("MS"), QStringLiteral("100"));
  QCommandLineOption timeout_opt(QStringLiteral("timeout-ms"), QStringLiteral("Wait for a reply before repeating (default 300)."), QStringLiteral("MS"), QStringLiteral("300"));
  QCommandLineOption noise_opt(QStringLiteral("noise"), QStringLiteral("Chance of junk before each frame, 0 to 1."), QStringLiteral("RATE"), QStringLiteral("0"));
  QCommandLineOption refuse_opt(QStringLiteral("refuse"), QStringLiteral("Share of commands refused (record code 92), 0 to 1."), QStringLiteral("RATE"), QStringLiteral("0"));
  QCommandLineOption image_opt(QStringLiteral("image"), QStringLiteral("Memory image: loaded at start (made when missing), saved after each write."), QStringLiteral("FILE"));
  QCommandLineOption unplug_opt(QStringLiteral("unplug-after"), QStringLiteral("Close the line after MS milliseconds."), QStringLiteral("MS"));
  QCommandLineOption verbose_opt(QStringLiteral("verbose"), QStringLiteral("Show every frame on standard error."));
  parser.addOptions({link_opt, realtime_opt, poll_opt, timeout_opt, noise_opt, refuse_opt, image_opt,
                     unplug_opt, verbose_opt});
  parser.process(app);

  sim::SimulatorOptions options;
  options.line_kind = sim::LineKind::kPseudoTerminal;
  bool ok_poll = false, ok_timeout = false, ok_noise = false, ok_refuse = false, ok_unplug = true;
  options.line.poll_interval_ms = parser.value(poll_opt).toInt(&ok_poll);
  options.line.reply_timeout_ms = parser.value(timeout_opt).toInt(&ok_timeout);
  options.noise_rate = parser.value(noise_opt).toDouble(&ok_noise);
  options.refuse_rate = parser.value(refuse_opt).toDouble(&ok_refuse);
  if (parser.isSet(unplug_opt)) options.unplug_after_ms = parser.value(unplug_opt).toInt(&ok_unplug);
  if (!ok_poll || !ok_timeout || !ok_noise || !ok_refuse || !ok_unplug ||
      options.line.poll_interval_ms < 0 || options.line.reply_timeout_ms < 1 ||
      options.noise_rate < 0 || options.noise_rate > 1 || options.refuse_rate < 0 ||
      options.refuse_rate > 1 || (parser.isSet(unplug_opt) && options.unplug_after_ms < 0)) {
    std::fputs("zelt-sim: bad --poll-ms, --timeout-ms, --noise, --refuse or --unplug-after\n", stderr);
    return 2;
  }
  options.realtime = parser.isSet(realtime_opt);
  if (parser.isSet(link_opt)) options.link_path = parser.value(link_opt);
  if (parser.isSet(image_opt)) options.image_path = parser.value(image_opt);

  sim::DeviceSimulator simulator(options);
  auto& port = static_cast<zsim::PtyPort&>(simulator.line());
  zsim::ZeltDevice& device = simulator.device();
  QString error;
  if (!simulator.Start(&error)) {
    std::fprintf(stderr, "zelt-sim: %s\n", error.toLocal8Bit().constData());
    return 1;
  }
  Say(port.SlavePath());
  QObject::connect(&simulator, &sim::DeviceSimulator::Unplugged, [] { Say(QStringLiteral("unplugged")); });
  if (parser.isSet(verbose_opt)) {
    QObject::connect(&device, &zsim::ZeltDevice::FrameSent, [](const QByteArray& line) {
      std::fprintf(stderr, "> %s\n", line.constData());
    });
    QObject::connect(&device, &zsim::ZeltDevice::FrameReceived, [](const QByteArray& text) {
      std::fprintf(stderr, "< :%s\n", text.constData());
    });
  }
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QByteArray pending;
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
      input.setEnabled(false);  // no more control lines; the device goes on
      return;
    }
    pending.append(buffer, static_cast<int>(n));
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
      const QString line = QString::fromLocal8Bit(pending.left(end));
      pending.remove(0, end + 1);
      bool quit = false;
      const QString answer = zsim::RunControlLine(device, line, &quit);
      if (line.trimmed().startsWith(QLatin1String("plug")) && port.IsOpen()) Say(answer + QLatin1Char(' ') + port.SlavePath());
      else if (!answer.isEmpty()) Say(answer);
      if (quit) app.quit();
    }
  });

  if (::pipe(signal_pipe) == 0) {
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
  }
  QSocketNotifier signal_notifier(signal_pipe[0], QSocketNotifier::Read);
  QObject::connect(&signal_notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

  const int code = app.exec();
  port.Close();
  return code;
}
