// The open and save dialogs that OPENDLG and WRITEDLG show. The window
// realises them with its standard dialogs; this default answers every call as
// a cancelled dialog (kvs, tests).
#pragma once

#include <optional>
#include <string>

namespace files {

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;

  // Each shows its dialog modally with the initial file name preset and
  // returns the full path the operator chose, or nothing when cancelled.
  // Names in and out are Windows-1251 texts as the scripts see them; convert
  // OS paths with ScriptName (os_path.h) so that OsPath finds them again.
  // Open: the single filter "Все файлы (*.*)" matching *.*. Save: no filter.
  // A `filter` that is not empty (set by DLGFILTER, Qt style with entries
  // separated by ";;") is offered instead.
  virtual std::optional<std::string> Open(const std::string& /*initial_name*/,
                                          const std::string& /*filter*/) {
    return std::nullopt;
  }
  virtual std::optional<std::string> Save(const std::string& /*initial_name*/,
                                          const std::string& /*filter*/) {
    return std::nullopt;
  }
};

}  // namespace files
