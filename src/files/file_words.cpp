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

void RegisterGuarded(engine::Engine& engine, const std::string& name,
                     engine::WordHandler handler) {
  engine.Register(name, [handler = std::move(handler)](engine::Engine& e, engine::Frame& f) {
    try {
      handler(e, f);
    } catch (const engine::Fault&) {
      throw;
    } catch (...) {
      throw engine::Fault{};
    }
  });
}

void RegisterByteFileWords(engine::Engine& engine, FileWordsState& state,
                           FileDialogs* dialogs) {
  engine::WordGroup group(engine, "Files");
  FileDialogs* shown = dialogs ? dialogs : &default_dialogs;
  using engine::Engine;
  using engine::Frame;

  engine.Document("EXIST", "name -- flag",
                  "A positive number when the file can be opened for reading, else 0.");
  RegisterGuarded(engine, "EXIST", [&state](Engine& e, Frame&) {
    FilePtr file = OpenForReading(e.Pop());
    e.Push(file ? engine::NumberToText(state.NextNumber()) : engine::kFalse);
  });
  engine.Document("DELETEFILE", "name --",
                  "Deletes the file; a missing file is ignored. Until the line ends the old "
                  "file is kept aside, and put back should writing the new one fail.");
  RegisterGuarded(engine, "DELETEFILE", [&state](Engine& e, Frame&) {
    auto path = OsPath(e.Pop());
    if (!path || path->empty()) return;
    state.settings.Forget(*path);
    state.writes.Delete(*path, e.line_serial());
  });
  engine.Document("COPYFILE", "source target -- flag",
                  "Copies source to target, replacing it; 255 on success, else 0.");
  RegisterGuarded(engine, "COPYFILE", [&state](Engine& e, Frame&) {
    std::string target = e.Pop();
    std::string source = e.Pop();
    if (auto path = OsPath(target)) state.settings.Forget(*path);
    e.Push(engine::Truth(CopyFile(source, target)));
  });
  engine.Document("WRITEFILE", "code name --",
                  "Appends the byte code (low 8 bits) to the file, creating it when missing. "
                  "After a failed write the file takes no more bytes until the line ends.");
  RegisterGuarded(engine, "WRITEFILE", [&state](Engine& e, Frame&) {
    std::string name = e.Pop();
    int32_t code = e.PopNumber();
    AppendOrSay(e, state, name, code);
  });
  engine.Document("LENFILE", "name -- n",
                  "Length of the file in bytes (at most 500000); 0 when it cannot be opened.");
  RegisterGuarded(engine, "LENFILE", [&state](Engine& e, Frame&) {
    state.CloseSlot();
    FilePtr file = OpenForReading(e.Pop());
    e.Push(engine::NumberToText(file ? CountBytes(file.get(), kFileReadLimit) : 0));
  });
  engine.Document("OPENFILE", "name -- n",
                  "Opens the file for READFILE/READFILES; a positive number, or -1 when it "
                  "cannot be opened.");
  RegisterGuarded(engine, "OPENFILE", [&state](Engine& e, Frame&) {
    state.CloseSlot();
    state.slot_file = OpenForReading(e.Pop());
    if (state.slot_file) state.slot = state.NextNumber();
    e.Push(state.slot_file ? engine::NumberToText(state.slot) : "-1");
  });
  engine.Document("READFILE", "-- code",
                  "The next byte of the open file as 0..255; 0 with no file open.");
  RegisterGuarded(engine, "READFILE", [&state](Engine& e, Frame&) {
    if (state.slot <= 0 || !state.slot_file) {
      e.Push(engine::kFalse);
      return;
    }
    int byte = std::fgetc(state.slot_file.get());
    e.Push(engine::NumberToText(byte == EOF ? ' ' : byte));  // a blank past the end
  });
  engine.Document("READFILES", "count -- text",
                  "Up to count next bytes of the open file as one text.");
  RegisterGuarded(engine, "READFILES", [&state](Engine& e, Frame&) {
    std::string count_text = e.Pop();
    auto count = engine::ToNumber(count_text);
    if (!count || state.slot <= 0 || !state.slot_file) {
      e.Push(count_text);
      return;
    }
    size_t wanted = std::clamp<int64_t>(*count, 0, kFileReadLimit);
    e.Push(ReadUpTo(state.slot_file.get(), wanted));
  });
  engine.Document("CLOSEFILE", "--", "Closes the open file.");
  RegisterGuarded(engine, "CLOSEFILE", [&state](Engine&, Frame&) { state.CloseSlot(); });

  // DLGFILTER's filter serves the next dialog only.
  auto filter = std::make_shared<std::string>();
  engine.Document("DLGFILTER", "filter --",
                  "The next OPENDLG or WRITEDLG offers this filter (\"CSV (*.csv)\", several joined by ;;).");
  RegisterGuarded(engine, "DLGFILTER", [filter](Engine& e, Frame&) { *filter = e.Pop(); });
  engine.Document("OPENDLG", "name -- chosen",
                  "Shows the open-file dialog; the chosen file name, or empty when cancelled.");
  RegisterGuarded(engine, "OPENDLG", [shown, filter](Engine& e, Frame&) {
    std::string initial = e.Pop();
    const std::string offered = std::exchange(*filter, std::string());
    e.Push(shown->Open(initial, offered).value_or(std::string()));
  });
  engine.Document("WRITEDLG", "name -- chosen",
                  "Shows the save-file dialog; the chosen file name, or empty when cancelled.");
  RegisterGuarded(engine, "WRITEDLG", [shown, filter](Engine& e, Frame&) {
    std::string initial = e.Pop();
    const std::string offered = std::exchange(*filter, std::string());
    e.Push(shown->Save(initial, offered).value_or(std::string()));
  });
  engine.Document("PATH", "-- dir",
                  "The base folder of Setup.KVS and the trace log (empty: the working folder).");
  RegisterGuarded(engine, "PATH", [](Engine& e, Frame&) { e.Push(e.base_dir()); });
  engine.Document("SPATH", "-- dir", "The second path prefix (always empty).");
  RegisterGuarded(engine, "SPATH", [](Engine& e, Frame&) { e.Push(std::string()); });
}

void RegisterFileWords(engine::Engine& engine, FileWordsState& state, FileDialogs* dialogs) {
  RegisterByteFileWords(engine, state, dialogs);
  RegisterSettingsWords(engine, state);
}

}  // namespace files
