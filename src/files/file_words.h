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

  std::string file_name;      // FILENAME; KEY words and BDIMPORT use it
  std::string section;        // SECTION
  SettingsCache settings;     // the file KEY% read last
  LineWrites writes;          // rewrites and failed writes of the running line

  // A fresh positive number for an opened file.
  int32_t NextNumber();
  void CloseSlot();
};

// Registers all of them. `dialogs` must outlive the engine; null gives the
// default that answers as a cancelled dialog.
void RegisterFileWords(engine::Engine& engine, FileWordsState& state,
                       FileDialogs* dialogs = nullptr);

void RegisterByteFileWords(engine::Engine& engine, FileWordsState& state,
                           FileDialogs* dialogs);
void RegisterSettingsWords(engine::Engine& engine, FileWordsState& state);

// Says in the status bar that a write to the file named `name` failed, and
// what the name holds now. `what` is the kind of file ("файл ", "файл
// настроек "), in Windows-1251.
void SayWriteFailed(engine::Engine& engine, const std::string& what, const std::string& name,
                    Left left);

// Registers a word whose every failure ends it as an engine::Fault, so that
// nothing but a Fault ever leaves a handler.
void RegisterGuarded(engine::Engine& engine, const std::string& name,
                     engine::WordHandler handler);

}  // namespace files
