#include <string>

#include "cp1251.h"
#include "file_words.h"
#include "long_value.h"
#include "profile_store.h"
#include "settings_reader.h"

namespace files {

namespace {

// A settings write that did not reach the file is said in the status bar; the
// word's stack effect stays the same.
void ReportIfFailed(engine::Engine& e, bool written, const std::string& file) {
  if (!written) e.ShowStatus(engine::Cp1251("Не удалось записать файл настроек ") + file);
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
    ReportIfFailed(e, ProfileWriteKey(file, state.section, key, value), file);
  });

  engine.Document("KEY%", "key -- value",
                  "The key's value (long values joined from key, key_1 ...) in the FILENAME file "
                  "and SECTION.");
  RegisterGuarded(engine, "KEY%", [&state](Engine& e, Frame&) {
    std::string key = e.Pop();
    e.Push(ReadLongValue(state.settings_text, state.file_name, state.section, key));
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
    ReportIfFailed(e, WriteLongValue(file, state.section, key, value), file);
  });
  engine.Document("DELETEKEY", "key --",
                  "Deletes the key (and its continuation keys) in the FILENAME file and SECTION.");
  RegisterGuarded(engine, "DELETEKEY", [&state](Engine& e, Frame&) {
    std::string key = e.Pop();
    const std::string file = e.base_dir() + state.file_name;
    ReportIfFailed(e, ProfileDeleteKey(file, state.section, key), file);
  });
}

}  // namespace files
