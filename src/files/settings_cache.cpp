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
  bracket_lines_ = BracketLineStarts(text_);
  return true;
}

const SettingsSection& SettingsCache::Section(std::string_view name) {
  auto found = sections_.find(name);
  if (found != sections_.end()) return found->second;
  const std::string_view body = SectionBody(text_, bracket_lines_, name);
  return sections_.emplace(std::string(name), SettingsSection::OfBody(body)).first->second;
}

std::string SettingsCache::ReadLongValue(std::string_view file_name, std::string_view section,
                                         std::string_view key) {
  std::optional<fs::path> path = OsPath(file_name);
  if (!path || path->empty() || !Load(*path)) return {};
  return JoinLongValue(Section(section), key);
}

}  // namespace files
