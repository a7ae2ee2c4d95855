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

using engine::Engine;
using engine::Frame;

constexpr engine::WordRow<FileWordContext> kSettingsRows[] = {
    {"FILENAME", "name --", "Settings file for KEY%, KEY! and DELETEKEY.",
     [](FileWordContext& c, Engine& e, Frame&) { c.state.file_name = e.Pop(); }},
    {"SECTION", "name --", "Section for the settings-file words.",
     [](FileWordContext& c, Engine& e, Frame&) { c.state.section = e.Pop(); }},
    {"READINI", "default key file -- value",
     "The key's value in the current section of the file, or the default.",
     [](FileWordContext& c, Engine& e, Frame&) {
       std::string file = e.Pop();
       std::string key = e.Pop();
       std::string default_value = e.Pop();
       e.Push(ProfileReadKey(file, c.state.section, key, default_value));
     }},
    {"WRITEINI", "value key file --", "Writes the key's value in the current section of the file.",
     [](FileWordContext& c, Engine& e, Frame&) {
       std::string file = e.Pop();
       std::string key = e.Pop();
       std::string value = e.Pop();
       WriteSettings(e, c.state, file, ProfileDocument::Writable(c.state.section, key, value),
                     [&] { return ProfileWriteKey(file, c.state.section, key, value); });
     }},
    {"KEY%", "key -- value",
     "The key's value (long values joined from key, key_1 ...) in the FILENAME file and SECTION.",
     [](FileWordContext& c, Engine& e, Frame&) {
       std::string key = e.Pop();
       e.Push(c.state.settings.ReadLongValue(c.state.file_name, c.state.section, key));
     }},
    {"KEY!", "value key --",
     "Writes the key's value, split under key, key_1 ... when longer than 1000 characters.",
     [](FileWordContext& c, Engine& e, Frame&) {
       std::string key = e.Pop();
       std::string value = e.Pop();
       const std::string file = e.base_dir() + c.state.file_name;
       WriteSettings(e, c.state, file, ProfileDocument::Writable(c.state.section, key, value),
                     [&] { return WriteLongValue(file, c.state.section, key, value); });
     }},
    {"DELETEKEY", "key --",
     "Deletes the key in the FILENAME file and SECTION; its continuation keys (key_1 ...) stay.",
     [](FileWordContext& c, Engine& e, Frame&) {
       std::string key = e.Pop();
       const std::string file = e.base_dir() + c.state.file_name;
       WriteSettings(e, c.state, file, true,
                     [&] { return ProfileDeleteKey(file, c.state.section, key); });
     }},
};

const engine::WordList<FileWordContext> kSettingsWords{"Settings files", kSettingsRows};

}  // namespace files
