#include "line_writes.h"

#include <algorithm>
#include <system_error>

namespace files {
namespace fs = std::filesystem;

namespace {

// One entry per file, however the script names it.
fs::path Key(const fs::path& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  return (ec ? path : absolute).lexically_normal();
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

}  // namespace

LineWrites::~LineWrites() {
  for (const Entry& entry : entries_) End(entry);
}

fs::path LineWrites::AsideName(const fs::path& path) {
  fs::path name = ".";
  name += path.filename().native();
  name += ".old";
  return path.parent_path() / name;
}

void LineWrites::End(const Entry& entry) {
  // A failed rewrite's old file is back at its name, or is the only copy left.
  if (entry.failed || entry.aside.empty()) return;
  std::error_code ec;
  fs::remove(entry.aside, ec);
}

void LineWrites::EndOtherLines(uint32_t line) {
  auto other = [line](const Entry& entry) { return entry.line != line; };
  for (const Entry& entry : entries_)
    if (other(entry)) End(entry);
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), other), entries_.end());
}

LineWrites::Entry* LineWrites::Find(const fs::path& key) {
  for (Entry& entry : entries_)
    if (entry.path == key) return &entry;
  return nullptr;
}

void LineWrites::Delete(const fs::path& path, uint32_t line) {
  EndOtherLines(line);
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(path, ec))) return;  // files only
  const fs::path key = Key(path);
  Entry* entry = Find(key);
  // The unfinished new file goes; the old one is aside already, or could not
  // be put back and must stay where it is.
  if (entry && ((entry->rewrite && !entry->failed) ||
                (entry->failed && !entry->aside.empty() && Exists(entry->aside)))) {
    fs::remove(path, ec);
    return;
  }
  Entry fresh{key, {}, line, true, false};
  if (Exists(path)) {
    fs::path aside = AsideName(key);
    fs::rename(path, aside, ec);
    if (ec)
      fs::remove(path, ec);  // deleted as before, when it cannot be kept
    else
      fresh.aside = aside;
  }
  if (entry)
    *entry = fresh;
  else
    entries_.push_back(fresh);
}

bool LineWrites::MayWrite(const fs::path& path, uint32_t line) {
  EndOtherLines(line);
  const Entry* entry = Find(Key(path));
  return !entry || !entry->failed;
}

Left LineWrites::Failed(const fs::path& path, uint32_t line) {
  EndOtherLines(line);
  const fs::path key = Key(path);
  Entry* entry = Find(key);
  if (!entry) {
    entries_.push_back(Entry{key, {}, line, false, false});
    entry = &entries_.back();
  }
  const bool undo = entry->rewrite && !entry->failed;
  entry->failed = true;
  std::error_code ec;
  if (undo && !entry->aside.empty()) {
    fs::rename(entry->aside, key, ec);
    if (ec) return Left::kAside;
  } else if (undo) {
    fs::remove(key, ec);
  }
  return Untouched(key);
}

Left LineWrites::Untouched(const fs::path& path) { return Exists(path) ? Left::kOld : Left::kNone; }

}  // namespace files
