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
  using engine::Engine;
  using engine::Frame;

  RegisterGuarded(engine, "FILENAME", [&state](Engine& e, Frame&) { state.file_name = e.Pop(); });
  RegisterGuarded(engine, "SECTION", [&state](Engine& e, Frame&) { state.section = e.Pop(); });

  RegisterGuarded(engine, "READINI", [&state](Engine& e, Frame&) {
    std::string file = e.Pop();
    std::string key = e.Pop();
    std::string default_value = e.Pop();
    e.Push(ProfileReadKey(file, state.section, key, default_value));
  });
  RegisterGuarded(engine, "WRITEINI", [&state](Engine& e, Frame&) {
    std::string file = e.Pop();
    std::string key = e.Pop();
    std::string value = e.Pop();
    ReportIfFailed(e, ProfileWriteKey(file, state.section, key, value), file);
  });

  RegisterGuarded(engine, "KEY%", [&state](Engine& e, Frame&) {
    std::string key = e.Pop();
    e.Push(ReadLongValue(state.settings_text, state.file_name, state.section, key));
  });
  // The writing KEY words put the base directory in front of the name, the
  // reading one does not; the base directory is empty, so both reach one file.
  RegisterGuarded(engine, "KEY!", [&state](Engine& e, Frame&) {
    std::string key = e.Pop();
    std::string value = e.Pop();
    const std::string file = e.base_dir() + state.file_name;
    ReportIfFailed(e, WriteLongValue(file, state.section, key, value), file);
  });
  RegisterGuarded(engine, "DELETEKEY", [&state](Engine& e, Frame&) {
    std::string key = e.Pop();
    const std::string file = e.base_dir() + state.file_name;
    ReportIfFailed(e, ProfileDeleteKey(file, state.section, key), file);
  });
}

}  // namespace files
