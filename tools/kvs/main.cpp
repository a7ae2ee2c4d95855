// kvs: runs script lines without a window, and checks script files.
//   kvs [LINE ...]          executes each LINE in order in one engine
//   kvs                     executes the lines of standard input
//   kvs --trace [LINE ...]  the same, printing each word with the stack after it
//   kvs --check [FILE]      checks FILE (Setup.KVS) against every word of zelt
//   kvs --words-md          the word reference, docs/words.md
//   kvs --syntax            the KSyntaxHighlighting definition for .KVS files
//   kvs --help              the usage
// Lines are UTF-8 and run as Windows-1251. Afterwards the stack is printed,
// bottom value first, one per line; bytes that would not print as one line
// are written \xHH. Status-bar texts and event lines go to standard error, and
// so does a word of a line that only zelt runs (a window or table word).
#include <cstdio>
#include <cstring>
#include <iostream>
#include <set>
#include <string>

#include "cp1251.h"
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

// Every word kvs knows: the engine's own, the file and settings-file words, and
// the device words.
void RegisterWords(engine::Engine& e) {
  engine::RegisterCoreWords(e);
  static files::FileWordsState file_state;
  files::RegisterFileWords(e, file_state);  // dialogs answer as cancelled
  // The device words without a device: stores, snapshot and script text work,
  // records are logged but never queued.
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
    "       kvs --check [FILE]\n"
    "Runs script lines of the ZELT-2 GSM configurator without a window: each LINE,\n"
    "or each line of standard input, in one engine; then prints the stack, bottom\n"
    "value first, one per line. Lines are UTF-8 and run as Windows-1251.\n"
    "\n"
    "  --trace [LINE]...  print each step with the stack after it, top last\n"
    "  --check [FILE]     check FILE (default Setup.KVS) against every word of zelt\n"
    "  --words-md [FILE]  write the word reference in Markdown to FILE or standard output\n"
    "  --syntax [FILE]    write the syntax definition for .KVS files to FILE or standard output\n"
    "  --help             print this help and quit\n";

}  // namespace

int main(int argc, char** argv) {
  kvs::UseUtf8Console(&argc, &argv);
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::cout << kUsage;
    return 0;
  }
  if (argc > 1 && kvs::IsProgramCommand(argv[1])) return kvs::RunProgramCommand(argc, argv);

  TerminalHost host;
  engine::Engine e(&host);
  RegisterWords(e);
  int first = 1;
  if (argc > 1 && std::strcmp(argv[1], "--trace") == 0) {
    TraceSteps(e);
    first = 2;
  }

  if (argc > first) {
    for (int i = first; i < argc; ++i) RunLine(e, engine::Cp1251(argv[i]));
  } else {
    std::string line;
    while (std::getline(std::cin, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      RunLine(e, engine::Cp1251(line));
    }
  }

  for (int slot = 1; slot <= e.Depth(); ++slot)
    std::cout << Printable(e.StackValue(slot)) << '\n';
  std::cout.flush();
  return 0;
}
