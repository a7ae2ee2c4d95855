#include "file_access.h"

#include <cerrno>
#include <system_error>

#include "os_path.h"

#ifdef _WIN32
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace files {
namespace fs = std::filesystem;

namespace {

bool IsDirectory(std::FILE* file) {
#ifdef _WIN32
  (void)file;
  return false;  // Windows refuses to open directories as files
#else
  struct stat info;
  return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
#endif
}

bool MayWrite(const fs::path& path) {
#ifdef _WIN32
  std::error_code ec;
  auto perms = fs::status(path, ec).permissions();
  return !ec && (perms & fs::perms::owner_write) != fs::perms::none;
#else
  return access(path.c_str(), W_OK) == 0;
#endif
}

bool SyncToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

}  // namespace

FilePtr OpenPath(const fs::path& path, const char* mode) {
#ifdef _WIN32
  std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return FilePtr(_wfopen(path.c_str(), wide_mode.c_str()));
#else
  return FilePtr(std::fopen(path.c_str(), mode));
#endif
}

FilePtr OpenForReading(std::string_view script_name) {
  auto path = OsPath(script_name);
  if (!path || path->empty()) return nullptr;
  FilePtr file = OpenPath(*path, "rb");
  if (file && IsDirectory(file.get())) file.reset();
  return file;
}

std::string ReadUpTo(std::FILE* file, size_t limit) {
  std::string bytes;
  char chunk[65536];
  while (bytes.size() < limit) {
    size_t want = std::min(sizeof chunk, limit - bytes.size());
    size_t got = std::fread(chunk, 1, want, file);
    bytes.append(chunk, got);
    if (got < want) break;
  }
  return bytes;
}

std::optional<std::string> ReadWhole(const fs::path& path, bool* missing) {
  errno = 0;
  FilePtr file = OpenPath(path, "rb");
  if (missing) *missing = !file && errno == ENOENT;
  if (!file || IsDirectory(file.get())) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, got);
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

ReplacementFile::~ReplacementFile() { Discard(); }

void ReplacementFile::Discard() {
  if (file_) file_.reset();
  if (!temp_.empty()) {
    std::error_code ec;
    fs::remove(temp_, ec);
    temp_.clear();
  }
}

bool ReplacementFile::Begin(const fs::path& target) {
  Discard();
  failed_ = true;
  if (target.empty()) return false;
  std::error_code ec;
  target_ = target;
  if (fs::is_symlink(target, ec)) {
    target_ = fs::weakly_canonical(target, ec);
    if (ec) return false;
  }
  auto status = fs::status(target_, ec);
  bool exists = !ec && fs::exists(status);
  if (exists && (fs::is_directory(status) || !MayWrite(target_))) return false;

  fs::path folder = target_.parent_path();
  for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
    fs::path name = ".";
    if (target_.filename().native().size() < 200) name += target_.filename().native();
    name += ".new" + std::to_string(attempt);  // hidden, and short enough for any name
    temp_ = folder / name;
    errno = 0;
    file_ = OpenPath(temp_, "wbx");  // exclusive: never clobber a stranger's file
    if (!file_ && errno != EEXIST) break;
  }
  if (!file_) {
    temp_.clear();
    return false;
  }
  if (exists) fs::permissions(temp_, status.permissions(), ec);
  failed_ = false;
  return true;
}

bool ReplacementFile::Write(std::string_view bytes) {
  if (failed_ || !file_) return false;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size())
    failed_ = true;
  return !failed_;
}

bool ReplacementFile::Commit() {
  if (failed_ || !file_) {
    Discard();
    return false;
  }
  bool written = SyncToDisk(file_.get());
  written = (std::fclose(file_.release()) == 0) && written;
  if (!written) {
    Discard();
    return false;
  }
  std::error_code ec;
  fs::rename(temp_, target_, ec);
  if (ec) {
    Discard();
    return false;
  }
  temp_.clear();
  return true;
}

bool ReplaceContents(const fs::path& path, std::string_view contents) {
  ReplacementFile file;
  return file.Begin(path) && file.Write(contents) && file.Commit();
}

}  // namespace files
