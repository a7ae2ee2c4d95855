#include "os_path.h"

#include "cp1251.h"

namespace files {

std::optional<std::filesystem::path> OsPath(std::string_view script_name) {
  if (script_name.find('\0') != std::string_view::npos) return std::nullopt;
  std::string utf8 = engine::Utf8FromCp1251(script_name);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string ScriptName(const std::filesystem::path& path) {
  std::u8string utf8 = path.u8string();
  return engine::Cp1251(std::string_view(reinterpret_cast<const char*>(utf8.data()),
                                         utf8.size()));
}

}  // namespace files
