#include "window_file_dialogs.h"

#include <filesystem>

#include "cp1251.h"
#include "main_form.h"
#include "os_path.h"

namespace ui {

namespace {

std::optional<std::string> ToScriptName(const QString& chosen) {
  if (chosen.isEmpty()) return std::nullopt;
  return files::ScriptName(std::filesystem::path(chosen.toStdU16String()));
}

}  // namespace

std::optional<std::string> WindowFileDialogs::Open(const std::string& initial_name,
                                                   const std::string& filter) {
  return ToScriptName(form_.dialogs().OpenDialog(engine::FromCp1251(initial_name),
                                                 engine::FromCp1251(filter)));
}

std::optional<std::string> WindowFileDialogs::Save(const std::string& initial_name,
                                                   const std::string& filter) {
  return ToScriptName(form_.dialogs().SaveDialog(engine::FromCp1251(initial_name),
                                                 engine::FromCp1251(filter)));
}

}  // namespace ui
