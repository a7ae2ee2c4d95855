// The file words (EXIST ... CLOSEFILE, OPENDLG, WRITEDLG, PATH, SPATH) and the
// settings-file words (FILENAME, SECTION, READINI, WRITEINI, KEY%, KEY!,
// DELETEKEY), with the registers they share.
#pragma once

#include <cstdint>
#include <string>

#include "engine.h"
#include "file_access.h"
#include "file_dialogs.h"
#include "line_writes.h"
#include "settings_cache.h"

namespace files {

struct FileWordsState {
  // Open-file slot: a positive number while OPENFILE's file is open.
  int32_t slot = 0;
  FilePtr slot_file;
  int32_t last_number = 0;
  std::string dialog_filter;  // DLGFILTER: for the next dialog only

  std::string file_name;      // FILENAME; KEY words and BDIMPORT use it
  std::string section;        // SECTION
  SettingsCache settings;     // the file KEY% read last
  LineWrites writes;          // rewrites and failed writes of the running line

  // A fresh positive number for an opened file.
  int32_t NextNumber();
  void CloseSlot();
};

// What the file and settings-file words work on; both must outlive the
// engine's use of the words.
struct FileWordContext {
  FileWordsState& state;
  FileDialogs& dialogs;
};
extern const engine::WordList<FileWordContext> kFileWords;
extern const engine::WordList<FileWordContext> kSettingsWords;

// Registers both lists. `dialogs` must outlive the engine; null gives the
// default that answers as a cancelled dialog.
void RegisterFileWords(engine::Engine& engine, FileWordsState& state,
                       FileDialogs* dialogs = nullptr);

// Registers a list whose words end every failure as an engine::Fault, so
// that nothing but a Fault ever leaves a handler.
void AddGuardedWords(engine::Engine& engine, const engine::WordList<FileWordContext>& list,
                     FileWordContext context);

// Says in the status bar that a write to the file named `name` failed, and
// what the name holds now. `what` is the kind of file ("файл ", "файл
// настроек "), in Windows-1251.
void SayWriteFailed(engine::Engine& engine, const std::string& what, const std::string& name,
                    Left left);

}  // namespace files
