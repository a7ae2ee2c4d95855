// The settings file that KEY% read last, kept while it stays as it was (the
// same path, size and modification time) and this program has not written it
// since. A profile of many megabytes is read once for all the KEY% words of a
// load, and each of its sections is split into keys once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings_reader.h"

namespace files {

class SettingsCache {
 public:
  SettingsCache() = default;
  SettingsCache(const SettingsCache&) = delete;
  SettingsCache& operator=(const SettingsCache&) = delete;

  // The long value of key in section of the named file; empty when the file
  // cannot be read.
  std::string ReadLongValue(std::string_view file_name, std::string_view section,
                            std::string_view key);
  // This program wrote or removed the file: the next read loads it afresh.
  void Forget(const std::filesystem::path& path);
  // How many times a file was read from the disk.
  int loads() const { return loads_; }

 private:
  struct Stamp {
    std::filesystem::path path;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified;
    bool operator==(const Stamp&) const = default;
  };
  static std::optional<Stamp> StampOf(const std::filesystem::path& path);
  // True when the text held is the file's as it is now.
  bool Load(const std::filesystem::path& path);
  void Clear();
  const SettingsSection& Section(std::string_view name);

  std::optional<Stamp> stamp_;
  std::string text_;
  std::vector<size_t> bracket_lines_;  // where the lines that begin with "[" begin
  std::map<std::string, SettingsSection, std::less<>> sections_;
  int loads_ = 0;
};

}  // namespace files
