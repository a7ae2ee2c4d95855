// File names reach the file words as Windows-1251 bytes. The OS gets them
// through OsPath, and names coming back from the OS (dialogs) through
// ScriptName, so a name survives the round trip.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace files {

// The OS path for a script's file name. Windows-1251 maps one to one onto
// Unicode, so Cyrillic names reach the same files that other programs see
// (UTF-8 on Linux, UTF-16 on Windows); ASCII names are unchanged. A name with
// a zero byte has no OS path (the OS would silently cut it short).
std::optional<std::filesystem::path> OsPath(std::string_view script_name);

// The script's Windows-1251 text for an OS path; characters the code page
// lacks become '?'.
std::string ScriptName(const std::filesystem::path& path);

}  // namespace files
