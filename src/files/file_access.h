// Plain file access shared by the file words and the settings files.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace files {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// fopen on an OS path.
FilePtr OpenPath(const std::filesystem::path& path, const char* mode);

// Opens a script's file name for binary reading. Directories and names the OS
// cannot take count as missing files.
FilePtr OpenForReading(std::string_view script_name);

// Reads up to `limit` bytes from the file's current position.
std::string ReadUpTo(std::FILE* file, size_t limit);

// The whole file, or nothing when it cannot be read. Missing files set
// *missing so that callers can tell them from unreadable ones.
std::optional<std::string> ReadWhole(const std::filesystem::path& path, bool* missing);

// New contents for a file, written beside it and renamed over it on Commit,
// so that the file is either wholly old or wholly new, whatever fails. A
// symbolic link is followed to the file it names; a read-only file or a
// directory is refused. Dropped without Commit, the new contents vanish.
class ReplacementFile {
 public:
  ReplacementFile() = default;
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  ~ReplacementFile();

  // False when the target may not be replaced or no file can be made beside it.
  bool Begin(const std::filesystem::path& target);
  bool Write(std::string_view bytes);
  bool Commit();

 private:
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temp_;
  FilePtr file_;
  bool failed_ = false;
};

// Writes `contents` as the whole new contents of the file, as above.
bool ReplaceContents(const std::filesystem::path& path, std::string_view contents);

}  // namespace files
