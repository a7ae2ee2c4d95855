// The settings-file reader behind KEY%: loads the file whole and looks keys up
// in it, joining long values that the writer split into key, key_1, key_2 ...
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings_format.h"

namespace files {

// The most LENFILE and READFILES read of one file.
constexpr size_t kFileReadLimit = 500000;

// The key lines of one section of a settings text, ready for lookups. Views
// into the text: keep the text alive while the section is used.
class SettingsSection {
 public:
  SettingsSection(std::string_view text, std::string_view section);
  // The key lines of a section's body: the lines after its header, up to the
  // next line that begins with "[".
  static SettingsSection OfBody(std::string_view body);

  // The value of the first line of that key, or nothing.
  std::optional<std::string_view> Find(std::string_view key) const;

 private:
  SettingsSection() = default;

  std::vector<std::string_view> lines_;
  // The first value per name before the first "="; a key holding "=" is
  // looked up line by line.
  std::unordered_map<std::string_view, std::string_view> first_;
};

// The long value of key in a section: key, then key_1, key_2 ... joined.
std::string JoinLongValue(const SettingsSection& section, std::string_view key);

// The value of key in section of a loaded settings text; empty when missing.
std::string ReadSettingsValue(std::string_view text, std::string_view section,
                              std::string_view key);

// Takes one "~" off the front, then one off the end.
void TrimTildes(std::string& text);

// "key_n": the name of the nth piece of a long value.
std::string PieceKey(std::string_view key, int n);

// Loads the whole file into `text`. When the file cannot be read, `text` is
// emptied.
bool LoadSettingsText(std::string_view file_name, std::string& text);

// Loads the file into `buffer`, then reads the whole long value of key.
std::string ReadLongValue(std::string& buffer, std::string_view file_name,
                          std::string_view section, std::string_view key);

// The long value of key in an already loaded text.
std::string JoinLongValue(std::string_view text, std::string_view section,
                          std::string_view key);

}  // namespace files
