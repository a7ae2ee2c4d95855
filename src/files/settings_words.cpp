#include <functional>
#include <string>

#include "cp1251.h"
#include "file_words.h"
#include "long_value.h"
#include "os_path.h"
#include "profile_store.h"

namespace files {

namespace {

// Runs a settings write unless one to that file failed earlier in the line. A
// write that does not reach the file is said in the status bar; the word's
// stack effect stays the same. A value the file cannot hold is refused before
// anything is written, and refused only.
void WriteSettings(engine::Engine& e, FileWordsState& state, const std::string& file,
                   bool holdable, const std::function<bool()>& write) {
  const std::string what = engine::Cp1251("файл настроек ");
  auto path = OsPath(file);
  if (!path || path->empty()) {
    SayWriteFailed(e, what, file, Left::kNone);
    return;
  }
  const uint32_t line = e.line_serial();
  if (!state.writes.MayWrite(*path, line)) return;
  state.settings.Forget(*path);
  if (!holdable)
    SayWriteFailed(e, what, file, LineWrites::Untouched(*path));
  else if (!write())
    SayWriteFailed(e, what, file, state.writes.Failed(*path, line));
}

}  // namespace

void RegisterSettingsWords(engine::Engine& engine, FileWordsState& state) {
  engine::WordGroup group(engine, "Settings files");
  using engine::Engine;
  using engine::Frame;

  engine.Document("FILENAME", "name --", "Settings file for KEY%, KEY! and DELETEKEY.");
  RegisterGuarded(engine, "FILENAME", [&state](Engine& e, Frame&) { state.file_name = e.Pop(); });
  engine.Document("SECTION", "name --", "Section for the settings-file words.");
  RegisterGuarded(engine, "SECTION", [&state](Engine& e, Frame&) { state.section = e.Pop(); });

  engine.Document("READINI", "default key file -- value",
                  "The key's value in the current section of the file, or the default.");
  RegisterGuarded(engine, "READINI", [&state](Engine& e, Frame&) {
    std::string file = e.Pop();
    std::string key = e.Pop();
    std::string default_value = e.Pop();
    e.Push(ProfileReadKey(file, state.section, key, default_value));
  });
  engine.Document("WRITEINI", "value key file --",
                  "Writes the key's value in the current section of the file.");
  RegisterGuarded(engine, "WRITEINI", [&state](Engine& e, Frame&) {
    std::string file = e.Pop();
    std::string key = e.Pop();
    std::string value = e.Pop();
    WriteSettings(e, state, file, ProfileDocument::Writable(state.section, key, value),
                  [&] { return ProfileWriteKey(file, state.section, key, value); });
  });

  engine.Document("KEY%", "key -- value",
                  "The key's value (long values joined from key, key_1 ...) in the FILENAME file "
                  "and SECTION.");
  RegisterGuarded(engine, "KEY%", [&state](Engine& e, Frame&) {
    std::string key = e.Pop();
    e.Push(state.settings.ReadLongValue(state.file_name, state.section, key));
  });
  // The writing KEY words put the base directory in front of the name, the
  // reading one does not; the base directory is empty, so both reach one file.
  engine.Document("KEY!", "value key --",
                  "Writes the key's value, split under key, key_1 ... when longer than 1000 "
                  "characters.");
  RegisterGuarded(engine, "KEY!", [&state](Engine& e, Frame&) {
    std::string key = e.Pop();
    std::string value = e.Pop();
    const std::string file = e.base_dir() + state.file_name;
    WriteSettings(e, state, file, ProfileDocument::Writable(state.section, key, value),
                  [&] { return WriteLongValue(file, state.section, key, value); });
  });
  engine.Document("DELETEKEY", "key --",
                  "Deletes the key in the FILENAME file and SECTION; its continuation keys "
                  "(key_1 ...) stay.");
  RegisterGuarded(engine, "DELETEKEY", [&state](Engine& e, Frame&) {
    std::string key = e.Pop();
    const std::string file = e.base_dir() + state.file_name;
    WriteSettings(e, state, file, true,
                  [&] { return ProfileDeleteKey(file, state.section, key); });
  });
}

}  // namespace files
