// kvs: runs script lines without a window, and checks script files.
//   kvs [LINE ...]          executes each LINE in order in one engine
//   kvs                     executes the lines of standard input
//   kvs --trace [LINE ...]  the same, printing each word with the stack after it
//   kvs --port PATH [LINE ...]  the same against the device on PATH (--demo: a
//                           simulated one), with the device words and the wait
//   kvs --check [FILE]      checks FILE (Setup.KVS) against every word of zelt
//   kvs --words-md          the word reference, docs/words.md
//   kvs --syntax            the KSyntaxHighlighting definition for .KVS files
//   kvs --help              the usage
// Lines are UTF-8 and run as Windows-1251. Afterwards the stack is printed,
// bottom value first, one per line; bytes that would not print as one line
// are written \xHH. Status-bar texts and event lines go to standard error, and
// so does a word of a line that only zelt runs (a window or table word).
#include <QCommandLineParser>
#include <QStringList>
#include <cstdio>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "cp1251.h"
#include "device_run.h"
#include "device_words.h"
#include "engine.h"
#include "file_words.h"
#include "program_commands.h"
#include "program_words.h"
#include "script_text.h"
#include "utf8_console.h"

namespace {

class TerminalHost : public engine::Host {
 public:
  void ShowStatus(const std::string& text) override {
    std::cerr << "status: " << engine::Utf8FromCp1251(text) << '\n';
  }
  void AddMemoLine(engine::Memo memo, const std::string& line) override {
    if (memo == engine::Memo::kEvents)
      std::cerr << "event: " << engine::Utf8FromCp1251(line) << '\n';
  }
};

// The engine's own words and the file and settings-file words.
void RegisterWords(engine::Engine& e) {
  engine::RegisterCoreWords(e);
  static files::FileWordsState file_state;
  files::RegisterFileWords(e, file_state);  // dialogs answer as cancelled
}

// The device words without a device: stores, snapshot and script text work,
// records are logged but never queued.
void RegisterOfflineDeviceWords(engine::Engine& e) {
  static device::DeviceStores device_stores;
  static struct NoLinks : device::LinkTable {
    device::LinkEnd* Slot(int) override { return nullptr; }
  } no_links;
  device::RegisterDeviceWords(e, device_stores, no_links);
}

// The window and table words are not in kvs's table: the engine would push
// them as texts without a word. Standard error names them, once per line.
void SayZeltOnlyWords(const engine::Engine& e, const std::string& line) {
  static const engine::WordReference program = zelt::ProgramWords();
  std::set<std::string> said;
  for (const check::Token& token : check::Tokenize(line, false)) {
    if (token.kind != check::TokenKind::kWord || e.HasWord(token.text)) continue;
    const engine::WordEntry* entry = program.Find(token.text);
    if (!entry || !said.insert(token.text).second) continue;
    std::cerr << "kvs: " << engine::Utf8FromCp1251(token.text) << " (" << entry->group
              << ") runs in zelt only; kvs has no window and pushes it as a text\n";
  }
}

void RunLine(engine::Engine& e, const std::string& line) {
  SayZeltOnlyWords(e, line);
  e.ExecuteLine(line);
}

bool NeedsEscape(unsigned char byte) {
  // 0x98 is the one byte that Windows-1251 leaves without a character.
  return byte < 0x20 || byte == 0x7F || byte == '\\' || byte == 0x98;
}

std::string Printable(const std::string& value) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  std::string plain;
  auto flush = [&] {
    out += engine::Utf8FromCp1251(plain);
    plain.clear();
  };
  for (unsigned char byte : value) {
    if (!NeedsEscape(byte)) {
      plain += static_cast<char>(byte);
      continue;
    }
    flush();
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
  }
  flush();
  return out;
}

// The stack on one line, top last; values with blanks or empty in quotes.
std::string StackLine(const engine::Engine& e) {
  std::string line;
  for (int slot = 1; slot <= e.Depth(); ++slot) {
    const std::string& value = e.StackValue(slot);
    if (!line.empty()) line += ' ';
    const bool quote = value.empty() || value.find(' ') != std::string::npos;
    line += quote ? "\"" + Printable(value) + "\"" : Printable(value);
  }
  return line;
}

void TraceSteps(engine::Engine& e) {
  e.SetStepObserver([&e](std::string_view step) {
    std::string shown = Printable(std::string(step));
    if (shown.size() < 12) shown.resize(12, ' ');
    std::cout << shown << " | " << StackLine(e) << '\n';
  });
}

const char kUsage[] =
    "Usage: kvs [LINE]...\n"
    "       kvs --trace [LINE]...\n"
    "       kvs --port PATH [--timeout S] [LINE]...\n"
    "       kvs --demo [LINE]...\n"
    "       kvs --check [FILE]\n"
    "Runs script lines of the ZELT-2 GSM configurator without a window: each LINE,\n"
    "or each line of standard input, in one engine; then prints the stack, bottom\n"
    "value first, one per line. Lines are UTF-8 and run as Windows-1251. A line\n"
    "that begins with '-' goes after \"--\".\n"
    "\n"
    "  --trace [LINE]...  print each step with the stack after it, top last\n"
    "  --port PATH        run the lines against the device on serial port PATH: the\n"
    "                     device words, WAITREAD and the settings-file words; ends\n"
    "                     when the lines, the device wait and the send queue have ended\n"
    "  --demo             the same against the simulated device of zelt --demo\n"
    "  --timeout S        seconds to wait for the device's first answer (default 10)\n"
    "  --check [FILE]     check FILE (default Setup.KVS) against every word of zelt\n"
    "  --words-md [FILE]  write the word reference in Markdown to FILE or standard output\n"
    "  --syntax [FILE]    write the syntax definition for .KVS files to FILE or standard output\n"
    "  --help             print this help and quit\n"
    "\n"
    "Exit status: 0 done, 1 --check found faults, 2 bad usage, 3 no answer from the\n"
    "device or the device lost, 4 the device refused records (WRFAILS).\n";

// Options that take a value.
bool TakesValue(const QString& name) {
  return name == QLatin1String("port") || name == QLatin1String("timeout");
}

// kvs's own options come first; the first argument that is not one of them
// starts the lines, even when it begins with '-' ("-1 ABS").
QStringList WithLinesMarked(const QStringList& arguments) {
  QStringList out{arguments.value(0)};
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--") || !argument.startsWith(QLatin1Char('-'))) {
      out += arguments.mid(i);
      return out;
    }
    const QString name = argument.mid(2).section(QLatin1Char('='), 0, 0);
    if (!argument.startsWith(QLatin1String("--")) || name.isEmpty() ||
        name.contains(QLatin1Char(' '))) {
      out += QStringLiteral("--");
      out += arguments.mid(i);
      return out;
    }
    out += argument;
    if (TakesValue(name) && !argument.contains(QLatin1Char('=')) && i + 1 < arguments.size())
      out += arguments[++i];
  }
  return out;
}

int BadUsage(const QString& why) {
  std::cerr << "kvs: " << why.toStdString() << "\n" << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  kvs::UseUtf8Console(&argc, &argv);
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments += QString::fromUtf8(argv[i]);

  QCommandLineParser parser;
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
  const QCommandLineOption help(QStringLiteral("help"));
  const QCommandLineOption trace(QStringLiteral("trace"));
  const QCommandLineOption check(QStringLiteral("check"));
  const QCommandLineOption words_md(QStringLiteral("words-md"));
  const QCommandLineOption syntax(QStringLiteral("syntax"));
  const QCommandLineOption port(QStringLiteral("port"), {}, QStringLiteral("PATH"));
  const QCommandLineOption demo(QStringLiteral("demo"));
  const QCommandLineOption timeout(QStringLiteral("timeout"), {}, QStringLiteral("S"));
  parser.addOptions({help, trace, check, words_md, syntax, port, demo, timeout});
  if (!parser.parse(WithLinesMarked(arguments))) return BadUsage(parser.errorText());
  const QStringList positional = parser.positionalArguments();

  if (parser.isSet(help)) {
    std::cout << kUsage;
    return 0;
  }
  const bool on_device = parser.isSet(port) || parser.isSet(demo);
  if (parser.isSet(check) || parser.isSet(words_md) || parser.isSet(syntax)) {
    if (positional.size() > 1 || on_device || parser.isSet(trace))
      return BadUsage(QStringLiteral("--check, --words-md and --syntax take one FILE alone"));
    const std::string file = positional.value(0).toStdString();
    if (parser.isSet(check)) return kvs::Check(file.empty() ? "Setup.KVS" : file);
    return kvs::Reference(file, parser.isSet(words_md));
  }
  kvs::DeviceRun run;
  if (on_device) {
    if (parser.isSet(port) && parser.isSet(demo))
      return BadUsage(QStringLiteral("--port and --demo exclude each other"));
    run.port = parser.value(port);
    run.demo = parser.isSet(demo);
    if (parser.isSet(timeout)) {
      bool ok = false;
      run.timeout_s = parser.value(timeout).toInt(&ok);
      if (!ok || run.timeout_s <= 0)
        return BadUsage(QStringLiteral("--timeout takes a number of seconds above 0"));
    }
  } else if (parser.isSet(timeout)) {
    return BadUsage(QStringLiteral("--timeout goes with --port or --demo"));
  }

  TerminalHost host;
  engine::Engine e(&host);
  RegisterWords(e);
  if (parser.isSet(trace)) TraceSteps(e);

  std::vector<std::string> lines;
  if (!positional.isEmpty()) {
    for (const QString& line : positional) lines.push_back(engine::Cp1251(line.toStdString()));
  } else {
    std::string line;
    while (std::getline(std::cin, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(engine::Cp1251(line));
    }
  }

  int status = 0;
  if (on_device) {
    status = kvs::RunOnDevice(e, run, lines, [&e](const std::string& line) { RunLine(e, line); });
  } else {
    RegisterOfflineDeviceWords(e);
    for (const std::string& line : lines) RunLine(e, line);
  }

  for (int slot = 1; slot <= e.Depth(); ++slot)
    std::cout << Printable(e.StackValue(slot)) << '\n';
  std::cout.flush();
  return status;
}
