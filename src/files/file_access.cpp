#include "file_access.h"

#include <cerrno>
#include <system_error>

#include "os_path.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/file.h>
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
  // Read straight into a buffer of the file's size; a file that grows
  // meanwhile is read on to its end.
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  std::string bytes(ec ? 0 : static_cast<size_t>(size), '\0');
  size_t have = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file.get());
  bytes.resize(have);
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, got);
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

ReplacementFile::~ReplacementFile() { Discard(); }

// While the temporary file is ours its lock is held (the file open): it is
// removed or renamed before it is closed, never after, where another writer
// could already have taken it for a stale one. Windows cannot rename or
// remove an open file; there the other writer's remove fails instead.
void ReplacementFile::Discard() {
  std::error_code ec;
#ifdef _WIN32
  file_.reset();
  if (!temp_.empty()) fs::remove(temp_, ec);
#else
  if (!temp_.empty()) fs::remove(temp_, ec);
  file_.reset();
#endif
  temp_.clear();
}

namespace {

constexpr int kTempNames = 100;

// ".name.newN": hidden, and short enough for any name.
fs::path TempName(const fs::path& target, int number) {
  fs::path name = ".";
  if (target.filename().native().size() < 200) name += target.filename().native();
  name += ".new" + std::to_string(number);
  return target.parent_path() / name;
}

#ifdef _WIN32
// A temporary file left by a killed writer is closed, so it can be removed;
// one that another program is still writing cannot (it is open without
// delete sharing).
FilePtr ClaimTemp(const fs::path& temp, bool* may_go_on) {
  *may_go_on = true;
  std::error_code ec;
  fs::remove(temp, ec);
  errno = 0;
  FilePtr file = OpenPath(temp, "wbx");  // exclusive: never clobber a stranger's file
  if (!file && errno != EEXIST) *may_go_on = false;
  return file;
}

void RemoveIfStale(const fs::path& temp) {
  std::error_code ec;
  fs::remove(temp, ec);
}
#else
// The writer holds an exclusive lock on its temporary file until it has
// renamed it; the system drops the lock of a killed writer, so a file that
// can be locked is a stale one. Only a plain file that the name still names
// once locked is taken: never a link, never a file renamed meanwhile.
int LockIfStale(const fs::path& temp, int flags) {
  // Non-blocking: a fifo in the way must not hang the window.
  int fd = open(temp.c_str(), flags | O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) return -1;
  struct stat opened, named;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || fstat(fd, &opened) != 0 ||
      lstat(temp.c_str(), &named) != 0 || !S_ISREG(opened.st_mode) ||
      opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) {
    close(fd);
    errno = EEXIST;
    return -1;
  }
  return fd;
}

// Takes the temporary file: a new one, or a stale one emptied for reuse.
FilePtr ClaimTemp(const fs::path& temp, bool* may_go_on) {
  errno = 0;
  int fd = LockIfStale(temp, O_CREAT);
  // Something else in the way (a link, a folder, a fifo) is passed over.
  *may_go_on = fd >= 0 || errno == EEXIST || errno == ELOOP || errno == EWOULDBLOCK ||
               errno == EISDIR || errno == ENXIO;
  if (fd < 0) return nullptr;
  FilePtr file;
  if (ftruncate(fd, 0) == 0) file.reset(fdopen(fd, "wb"));
  if (!file) close(fd);
  return file;
}

void RemoveIfStale(const fs::path& temp) {
  int fd = LockIfStale(temp, 0);
  if (fd < 0) return;
  unlink(temp.c_str());
  close(fd);
}
#endif

}  // namespace

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

  // Writers killed before their rename leave temporary files behind: the
  // first one that is not being written is reused, the others removed, so
  // they never pile up.
  int number = 0;
  for (; number < kTempNames && !file_; ++number) {
    temp_ = TempName(target_, number);
    bool may_go_on = true;
    file_ = ClaimTemp(temp_, &may_go_on);
    if (!file_ && !may_go_on) break;
  }
  if (!file_) {
    temp_.clear();
    return false;
  }
  for (; number < kTempNames; ++number) RemoveIfStale(TempName(target_, number));
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
  if (failed_ || !file_ || !SyncToDisk(file_.get())) {
    Discard();
    return false;
  }
  std::error_code ec;
#ifdef _WIN32
  if (std::fclose(file_.release()) != 0) {
    Discard();
    return false;
  }
  fs::rename(temp_, target_, ec);
#else
  fs::rename(temp_, target_, ec);
  if (!ec) {
    temp_.clear();  // the target now; closing it cannot lose what fsync wrote
    file_.reset();
    return true;
  }
#endif
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
