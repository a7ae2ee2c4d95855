#include "settings_cache.h"

#include <system_error>

#include "file_access.h"
#include "os_path.h"
#include "settings_format.h"

namespace files {

namespace fs = std::filesystem;

std::optional<SettingsCache::Stamp> SettingsCache::StampOf(const fs::path& path) {
  std::error_code error;
  Stamp stamp{fs::absolute(path, error), 0, {}};
  if (error || !fs::is_regular_file(stamp.path, error)) return std::nullopt;
  stamp.size = fs::file_size(stamp.path, error);
  if (error) return std::nullopt;
  stamp.modified = fs::last_write_time(stamp.path, error);
  if (error) return std::nullopt;
  return stamp;
}

void SettingsCache::Clear() {
  sections_.clear();
  bracket_lines_.clear();
  text_.clear();
  stamp_.reset();
}

void SettingsCache::Forget(const fs::path& path) {
  std::error_code error;
  if (stamp_ && stamp_->path == fs::absolute(path, error)) Clear();
}

bool SettingsCache::Load(const fs::path& path) {
  // Taken before the read: a file changed meanwhile differs at the next look.
  std::optional<Stamp> stamp = StampOf(path);
  if (stamp && stamp_ == stamp) return true;
  Clear();
  if (!stamp) return false;
  std::optional<std::string> whole = ReadWhole(stamp->path, nullptr);
  ++loads_;
  if (!whole) return false;
  text_ = std::move(*whole);
  stamp_ = std::move(stamp);
  for (size_t at = text_.find('['); at != std::string::npos; at = text_.find('[', at + 1))
    if (at == 0 || text_[at - 1] == '\n' || text_[at - 1] == '\r') bracket_lines_.push_back(at);
  return true;
}

const SettingsSection& SettingsCache::Section(std::string_view name) {
  auto found = sections_.find(name);
  if (found != sections_.end()) return found->second;
  const std::string_view text = text_;
  std::string_view body;
  for (size_t i = 0; i < bracket_lines_.size(); ++i) {
    const size_t begin = bracket_lines_[i];
    size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) end = text.size();
    if (!IsHeaderOf(text.substr(begin, end - begin), name)) continue;
    if (end < text.size() && text[end] == '\r') ++end;
    if (end < text.size() && text[end] == '\n') ++end;
    const size_t stop = i + 1 < bracket_lines_.size() ? bracket_lines_[i + 1] : text.size();
    body = text.substr(end, stop - end);
    break;
  }
  return sections_.emplace(std::string(name), SettingsSection::OfBody(body)).first->second;
}

std::string SettingsCache::ReadLongValue(std::string_view file_name, std::string_view section,
                                         std::string_view key) {
  std::optional<fs::path> path = OsPath(file_name);
  if (!path || path->empty() || !Load(*path)) return {};
  return JoinLongValue(Section(section), key);
}

}  // namespace files
