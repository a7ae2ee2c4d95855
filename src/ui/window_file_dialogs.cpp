#include "window_file_dialogs.h"

#include <filesystem>

#include "main_form.h"
#include "os_path.h"
#include "window_text.h"

namespace ui {

namespace {

std::optional<std::string> ToScriptName(const QString& chosen) {
  if (chosen.isEmpty()) return std::nullopt;
  return files::ScriptName(std::filesystem::path(chosen.toStdU16String()));
}

}  // namespace

std::optional<std::string> WindowFileDialogs::Open(const std::string& initial_name,
                                                   const std::string& filter) {
  return ToScriptName(form_.dialogs().OpenDialog(FromCp1251(initial_name), FromCp1251(filter)));
}

std::optional<std::string> WindowFileDialogs::Save(const std::string& initial_name,
                                                   const std::string& filter) {
  return ToScriptName(form_.dialogs().SaveDialog(FromCp1251(initial_name), FromCp1251(filter)));
}

}  // namespace ui
