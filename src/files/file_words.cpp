#include "file_words.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <system_error>

#include "cp1251.h"
#include "os_path.h"
#include "settings_reader.h"

namespace files {
namespace fs = std::filesystem;

namespace {

FileDialogs default_dialogs;

int32_t CountBytes(std::FILE* file, size_t limit) {
  char chunk[65536];
  size_t count = 0;
  while (count < limit) {
    size_t want = std::min(sizeof chunk, limit - count);
    size_t got = std::fread(chunk, 1, want, file);
    count += got;
    if (got < want) break;
  }
  return static_cast<int32_t>(count);
}

bool CopyFile(const std::string& source, const std::string& target) {
  FilePtr from = OpenForReading(source);
  auto to_path = OsPath(target);
  if (!from || !to_path) return false;
  ReplacementFile to;
  if (!to.Begin(*to_path)) return false;
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, from.get())) > 0)
    if (!to.Write(std::string_view(chunk, got))) return false;
  if (std::ferror(from.get())) return false;
  // Closed before the new file takes the target's place: Windows replaces no
  // file that is open, and the source may be the target itself.
  from.reset();
  return to.Commit();
}

// Append mode creates a missing file and never truncates one that exists.
bool AppendByte(const fs::path& path, int32_t code) {
  FilePtr file = OpenPath(path, "ab");
  if (!file) return false;
  const bool put = std::fputc(static_cast<unsigned char>(code & 0xFF), file.get()) != EOF;
  return std::fclose(file.release()) == 0 && put;  // a full disk shows when the byte leaves
}

void AppendOrSay(engine::Engine& e, FileWordsState& state, const std::string& name,
                 int32_t code) {
  const std::string what = engine::Cp1251("файл ");
  auto path = OsPath(name);
  if (!path || path->empty()) {
    SayWriteFailed(e, what, name, Left::kNone);
    return;
  }
  if (!state.writes.MayWrite(*path, e.line_serial())) return;
  state.settings.Forget(*path);
  if (!AppendByte(*path, code))
    SayWriteFailed(e, what, name, state.writes.Failed(*path, e.line_serial()));
}

// The old file's name in the script's own terms: ".name.old" beside it.
std::string AsideScriptName(const std::string& name) {
  const size_t slash = name.find_last_of("/\\");
  const size_t leaf = slash == std::string::npos ? 0 : slash + 1;
  return name.substr(0, leaf) + "." + name.substr(leaf) + ".old";
}

}  // namespace

void SayWriteFailed(engine::Engine& engine, const std::string& what, const std::string& name,
                    Left left) {
  std::string outcome;
  switch (left) {
    case Left::kOld:
      outcome = engine::Cp1251(" (файл остался прежним)");
      break;
    case Left::kNone:
      outcome = engine::Cp1251(" (файл не создан)");
      break;
    case Left::kAside:
      outcome = engine::Cp1251(" (прежний файл сохранён как ") + AsideScriptName(name) + ")";
      break;
  }
  engine.ShowStatus(engine::Cp1251("Не удалось записать ") + what + name + outcome);
}

int32_t FileWordsState::NextNumber() {
  last_number = last_number == std::numeric_limits<int32_t>::max() ? 1 : last_number + 1;
  return last_number;
}

void FileWordsState::CloseSlot() {
  slot_file.reset();
  slot = 0;
}

void AddGuardedWords(engine::Engine& engine, const engine::WordList<FileWordContext>& list,
                     FileWordContext context) {
  engine::AddRows(engine, list, [context](engine::WordRun<FileWordContext>::Type run) {
    return [run, context](engine::Engine& e, engine::Frame& f) mutable {
      try {
        run(context, e, f);
      } catch (const engine::Fault&) {
        throw;
      } catch (...) {
        throw engine::Fault{};
      }
    };
  });
}

using engine::Engine;
using engine::Frame;

constexpr engine::WordRow<FileWordContext> kFileRows[] = {
    {"EXIST", "name -- flag", "A positive number when the file can be opened for reading, else 0.",
     [](FileWordContext& c, Engine& e, Frame&) {
       FilePtr file = OpenForReading(e.Pop());
       e.Push(file ? engine::NumberToText(c.state.NextNumber()) : engine::kFalse);
     }},
    {"DELETEFILE", "name --",
     "Deletes the file; a missing file is ignored. Until the line ends the old file is kept aside, "
     "and put back should writing the new one fail.",
     [](FileWordContext& c, Engine& e, Frame&) {
       auto path = OsPath(e.Pop());
       if (!path || path->empty()) return;
       c.state.settings.Forget(*path);
       c.state.writes.Delete(*path, e.line_serial());
     }},
    {"COPYFILE", "source target -- flag",
     "Copies source to target, replacing it; 255 on success, else 0.",
     [](FileWordContext& c, Engine& e, Frame&) {
       std::string target = e.Pop();
       std::string source = e.Pop();
       if (auto path = OsPath(target)) c.state.settings.Forget(*path);
       e.Push(engine::Truth(CopyFile(source, target)));
     }},
    {"WRITEFILE", "code name --",
     "Appends the byte code (low 8 bits) to the file, creating it when missing. After a failed "
     "write the file takes no more bytes until the line ends.",
     [](FileWordContext& c, Engine& e, Frame&) {
       std::string name = e.Pop();
       int32_t code = e.PopNumber();
       AppendOrSay(e, c.state, name, code);
     }},
    {"LENFILE", "name -- n",
     "Length of the file in bytes (at most 500000); 0 when it cannot be opened.",
     [](FileWordContext& c, Engine& e, Frame&) {
       c.state.CloseSlot();
       FilePtr file = OpenForReading(e.Pop());
       e.Push(engine::NumberToText(file ? CountBytes(file.get(), kFileReadLimit) : 0));
     }},
    {"OPENFILE", "name -- n",
     "Opens the file for READFILE/READFILES; a positive number, or -1 when it cannot be opened.",
     [](FileWordContext& c, Engine& e, Frame&) {
       c.state.CloseSlot();
       c.state.slot_file = OpenForReading(e.Pop());
       if (c.state.slot_file) c.state.slot = c.state.NextNumber();
       e.Push(c.state.slot_file ? engine::NumberToText(c.state.slot) : "-1");
     }},
    {"READFILE", "-- code", "The next byte of the open file as 0..255; 0 with no file open.",
     [](FileWordContext& c, Engine& e, Frame&) {
       if (c.state.slot <= 0 || !c.state.slot_file) {
         e.Push(engine::kFalse);
         return;
       }
       int byte = std::fgetc(c.state.slot_file.get());
       e.Push(engine::NumberToText(byte == EOF ? ' ' : byte));  // a blank past the end
     }},
    {"READFILES", "count -- text", "Up to count next bytes of the open file as one text.",
     [](FileWordContext& c, Engine& e, Frame&) {
       std::string count_text = e.Pop();
       auto count = engine::ToNumber(count_text);
       if (!count || c.state.slot <= 0 || !c.state.slot_file) {
         e.Push(count_text);
         return;
       }
       size_t wanted = std::clamp<int64_t>(*count, 0, kFileReadLimit);
       e.Push(ReadUpTo(c.state.slot_file.get(), wanted));
     }},
    {"CLOSEFILE", "--", "Closes the open file.",
     [](FileWordContext& c, Engine&, Frame&) { c.state.CloseSlot(); }},
    {"DLGFILTER", "filter --",
     "The next OPENDLG or WRITEDLG offers this filter (\"CSV (*.csv)\", several joined by ;;).",
     [](FileWordContext& c, Engine& e, Frame&) { c.state.dialog_filter = e.Pop(); }},
    {"OPENDLG", "name -- chosen",
     "Shows the open-file dialog; the chosen file name, or empty when cancelled.",
     [](FileWordContext& c, Engine& e, Frame&) {
       std::string initial = e.Pop();
       const std::string offered = std::exchange(c.state.dialog_filter, std::string());
       e.Push(c.dialogs.Open(initial, offered).value_or(std::string()));
     }},
    {"WRITEDLG", "name -- chosen",
     "Shows the save-file dialog; the chosen file name, or empty when cancelled.",
     [](FileWordContext& c, Engine& e, Frame&) {
       std::string initial = e.Pop();
       const std::string offered = std::exchange(c.state.dialog_filter, std::string());
       e.Push(c.dialogs.Save(initial, offered).value_or(std::string()));
     }},
    {"PATH", "-- dir",
     "The base folder of Setup.KVS and the trace log (empty: the working folder).",
     [](FileWordContext&, Engine& e, Frame&) { e.Push(e.base_dir()); }},
    {"SPATH", "-- dir", "The second path prefix (always empty).",
     [](FileWordContext&, Engine& e, Frame&) { e.Push(std::string()); }},
};

const engine::WordList<FileWordContext> kFileWords{"Files", kFileRows};

void RegisterFileWords(engine::Engine& engine, FileWordsState& state, FileDialogs* dialogs) {
  const FileWordContext context{state, dialogs ? *dialogs : default_dialogs};
  AddGuardedWords(engine, kFileWords, context);
  AddGuardedWords(engine, kSettingsWords, context);
}

}  // namespace files
