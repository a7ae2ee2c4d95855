#include "settings_reader.h"

#include "file_access.h"
#include "os_path.h"
#include "settings_format.h"

namespace files {

SettingsSection::SettingsSection(std::string_view text, std::string_view section)
    : SettingsSection(OfBody(SectionBody(text, BracketLineStarts(text), section))) {}

SettingsSection SettingsSection::OfBody(std::string_view body) {
  SettingsSection section;
  for (const LineSpan& line : SplitLines(body)) {
    std::string_view content = Content(body, line);
    if (IsHeaderLine(content)) break;
    size_t equals = content.find('=');
    if (equals == std::string_view::npos) continue;
    section.lines_.push_back(content);
    section.first_.emplace(content.substr(0, equals), content.substr(equals + 1));
  }
  return section;
}

std::optional<std::string_view> SettingsSection::Find(std::string_view key) const {
  if (key.find('=') == std::string_view::npos) {
    auto it = first_.find(key);
    if (it == first_.end()) return std::nullopt;
    return it->second;
  }
  for (std::string_view content : lines_)
    if (auto value = ValueOf(content, key)) return value;
  return std::nullopt;
}

std::string ReadSettingsValue(std::string_view text, std::string_view section,
                              std::string_view key) {
  auto value = SettingsSection(text, section).Find(key);
  return value ? std::string(*value) : std::string();
}

void TrimTildes(std::string& text) {
  if (!text.empty() && text.front() == '~') text.erase(0, 1);
  if (!text.empty() && text.back() == '~') text.pop_back();
}

std::string PieceKey(std::string_view key, int n) {
  std::string name(key);
  name += '_';
  name += std::to_string(n);
  return name;
}

bool LoadSettingsText(std::string_view file_name, std::string& text) {
  text.clear();
  auto path = OsPath(file_name);
  if (!path || path->empty()) return false;
  auto whole = ReadWhole(*path, nullptr);
  if (!whole) return false;
  text = std::move(*whole);
  return true;
}

std::string JoinLongValue(std::string_view text, std::string_view section,
                          std::string_view key) {
  return JoinLongValue(SettingsSection(text, section), key);
}

std::string JoinLongValue(const SettingsSection& lines, std::string_view key) {
  auto first = lines.Find(key);
  std::string result(first.value_or(std::string_view()));
  TrimTildes(result);
  // Every piece found is a different line, so the chain ends within the text.
  for (int n = 1;; ++n) {
    auto piece = lines.Find(PieceKey(key, n));
    if (!piece || piece->empty()) break;
    std::string trimmed(*piece);
    TrimTildes(trimmed);
    result += trimmed;
  }
  return result;
}

std::string ReadLongValue(std::string& buffer, std::string_view file_name,
                          std::string_view section, std::string_view key) {
  LoadSettingsText(file_name, buffer);
  return JoinLongValue(buffer, section, key);
}

}  // namespace files
