#include "program_options.h"

#include <QCommandLineParser>
#include <cstdio>

#include "main_form.h"

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#endif

namespace zelt {

namespace {

struct OptionHelp {
  const char* name;
  const char* value;  // nullptr for a flag
  const char* help;
};

constexpr OptionHelp kOptions[] = {
    {"DEBUG", nullptr, "show the link memo (any letter case, anywhere on the line)"},
    {"--demo", nullptr, "talk to a simulated ZELT-2 GSM instead of a real device"},
    {"--port", "NAME", "use this serial port instead of the USB port scan (repeatable;\n"
                       "                          also --port=NAME)"},
    {"--screenshot", "FILE", "save a PNG of the window after start-up, then quit"},
    {"--screenshot-delay", "MS", "wait this long before --screenshot (default 1000)"},
    {"--screenshot-pages", "DIR", "read the device, save every page as DIR/page-NN.png, quit"},
    {"--watch", nullptr, "read Setup.KVS again whenever it changes and show the page anew"},
    {"--help", nullptr, "print this help and quit (also -h)"},
    {"--version", nullptr, "print the version and quit"},
};

// Qt's own options, which QApplication takes out of the line.
constexpr const char* kQtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "session", "display", "geometry", "title", "name",
    "icon", "style", "stylesheet", "qmljsdebugger"};
constexpr const char* kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "testability"};

QString NameOf(const QString& argument) {
  return argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1)
      .section(QLatin1Char('='), 0, 0);
}

const OptionHelp* OwnOption(const QString& name) {
  for (const OptionHelp& option : kOptions) {
    if (QLatin1String(option.name) == QLatin1String("--") + name) return &option;
  }
  return nullptr;
}

bool IsFlag(const QString& name) {
  for (const char* flag : kQtFlags) {
    if (name == QLatin1String(flag)) return true;
  }
  return name == QLatin1String("h") || (OwnOption(name) && !OwnOption(name)->value);
}

bool IsQtOptionWithValue(const QString& name) {
  for (const char* option : kQtOptionsWithValue) {
    if (name == QLatin1String(option)) return true;
  }
  return false;
}

// The parser's failure in the words of this program: the first unknown
// option as typed, an option that ends the line without its value, or a flag
// given a value. A Qt option without its value is left to Qt.
QString ErrorText(const QCommandLineParser& parser, const QStringList& arguments) {
  const QStringList unknown = parser.unknownOptionNames();
  for (const QString& argument : arguments) {
    if (!argument.startsWith(QLatin1Char('-'))) continue;
    const QString name = NameOf(argument);
    if (!unknown.isEmpty()) {
      if (name == unknown.first()) return QStringLiteral("unknown option: ") + argument;
      continue;
    }
    if (IsFlag(name) && argument.contains(QLatin1Char('=')))
      return QStringLiteral("unknown option: ") + argument;
  }
  const QString& last = arguments.last();
  if (const OptionHelp* own = OwnOption(NameOf(last)); own && own->value)
    return last + QStringLiteral(" needs ") + QLatin1String(own->value);
  if (IsQtOptionWithValue(NameOf(last))) return {};
  return parser.errorText();
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments_after_program) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringLiteral("version"));
  const QCommandLineOption demo(QStringLiteral("demo"));
  const QCommandLineOption watch(QStringLiteral("watch"));
  const QCommandLineOption port(QStringLiteral("port"), {}, QStringLiteral("NAME"));
  const QCommandLineOption screenshot(QStringLiteral("screenshot"), {}, QStringLiteral("FILE"));
  const QCommandLineOption delay(QStringLiteral("screenshot-delay"), {}, QStringLiteral("MS"));
  const QCommandLineOption pages(QStringLiteral("screenshot-pages"), {}, QStringLiteral("DIR"));
  parser.addOptions({help, version, demo, watch, port, screenshot, delay, pages});
  for (const char* name : kQtOptionsWithValue)
    parser.addOption(QCommandLineOption(QLatin1String(name), {}, QStringLiteral("VALUE")));
  for (const char* name : kQtFlags) parser.addOption(QCommandLineOption(QLatin1String(name)));

  CommandLine line;
  if (!parser.parse(QStringList{QStringLiteral("zelt")} + arguments_after_program))
    line.error = ErrorText(parser, arguments_after_program);
  for (const QString& word : parser.positionalArguments())
    line.debug |= word.toUpper() == QLatin1String("DEBUG");
  for (const QString& name : parser.values(port)) {
    if (name.startsWith(QLatin1Char('-')) && line.error.isEmpty())
      line.error = QStringLiteral("--port needs NAME");
    else if (!name.isEmpty())
      line.ports << name;
  }
  line.demo = parser.isSet(demo);
  line.watch = parser.isSet(watch);
  line.help = parser.isSet(help);
  line.version = parser.isSet(version);
  line.screenshot.file = parser.value(screenshot);
  line.screenshot.pages = parser.value(pages);
  bool ok = false;
  const int ms = parser.value(delay).toInt(&ok);
  if (ok && ms >= 0) line.screenshot.delay_ms = ms;
  return line;
}

QStringList ProgramArguments(int argc, char* argv[]) {
  QStringList arguments;
#ifdef Q_OS_WIN
  // The ANSI argv loses what the code page cannot hold.
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) arguments << QString::fromWCharArray(wide[i]);
    LocalFree(wide);
    return arguments;
  }
#endif
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

QString Usage() {
  QString text = QStringLiteral(
      "Usage: zelt [OPTION]...\n"
      "The ZELT-2 GSM configurator. It finds the device on a USB serial port and runs\n"
      "the pages of Setup.KVS.\n\n");
  for (const OptionHelp& option : kOptions) {
    QString head = QLatin1String(option.name);
    if (option.value) head += QLatin1Char(' ') + QLatin1String(option.value);
    text += QStringLiteral("  %1 %2\n").arg(head, -23).arg(QString::fromUtf8(option.help));
  }
  return text;
}

QString VersionText() { return QStringLiteral("zelt ") + QLatin1String(ui::kVersion); }

int AnswerCommandLine(const CommandLine& line) {
  if (line.help) {
    std::fputs(qPrintable(Usage()), stdout);
    return 0;
  }
  if (line.version) {
    std::printf("%s\n", qPrintable(VersionText()));
    return 0;
  }
  if (!line.error.isEmpty()) {
    std::fprintf(stderr, "zelt: %s\n\n%s", qPrintable(line.error), qPrintable(Usage()));
    return 2;
  }
  return -1;
}

}  // namespace zelt
