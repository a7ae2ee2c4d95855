#include "link_log.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "link_texts.h"

namespace zlink {
namespace {

std::string TwoDigits(int n) {
  n = ((n % 100) + 100) % 100;
  return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

}  // namespace

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm result{};
#ifdef _WIN32
  localtime_s(&result, &now);
#else
  localtime_r(&now, &result);
#endif
  return result;
}

std::string LinkLogFileName(const std::tm& when) {
  return TwoDigits(when.tm_mday) + TwoDigits(when.tm_mon + 1) + TwoDigits(when.tm_year) +
         "Log.Txt";
}

std::string LinkStamp(const std::tm& when) {
  return TwoDigits(when.tm_mday) + "." + TwoDigits(when.tm_mon + 1) + "." +
         TwoDigits(when.tm_year) + "-" + TwoDigits(when.tm_hour) + ":" + TwoDigits(when.tm_min) +
         ":" + TwoDigits(when.tm_sec);
}

std::string LinkFileLine(std::string_view text, const std::tm& when) {
  std::string line(text);
  line += ' ';
  line += LinkStamp(when);
  line += "\r\n";
  return line;
}

std::string LinkMemoLine(std::string_view text, const std::tm& when) {
  std::string line(text);
  line += "  ";
  line += LinkStamp(when);
  return line;
}

namespace {

#ifdef _WIN32
using FileInfo = struct _stat64;
// Shared with other readers and writers, and the file may be moved or
// deleted while it is open.
int OpenForAppend(const std::filesystem::path& path) {
  const HANDLE handle =
      CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return -1;
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_APPEND | _O_BINARY);
  if (fd < 0) CloseHandle(handle);
  return fd;
}
bool StatPath(const std::filesystem::path& path, FileInfo* info) {
  return _wstat64(path.c_str(), info) == 0;
}
bool StatOpen(int fd, FileInfo* info) { return _fstat64(fd, info) == 0; }
int64_t WriteSome(int fd, const char* data, size_t size) {
  return _write(fd, data, static_cast<unsigned>(size));
}
int64_t ReadAt(int fd, char* data, size_t size, int64_t offset) {
  if (_lseeki64(fd, offset, SEEK_SET) < 0) return -1;
  return _read(fd, data, static_cast<unsigned>(size));
}
bool Truncate(int fd, int64_t size) { return _chsize_s(fd, size) == 0; }
void CloseFile(int fd) { _close(fd); }
#else
using FileInfo = struct stat;
int OpenForAppend(const std::filesystem::path& path) {
  return ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
}
bool StatPath(const std::filesystem::path& path, FileInfo* info) {
  return ::stat(path.c_str(), info) == 0;
}
bool StatOpen(int fd, FileInfo* info) { return ::fstat(fd, info) == 0; }
int64_t WriteSome(int fd, const char* data, size_t size) {
  ssize_t n;
  do n = ::write(fd, data, size); while (n < 0 && errno == EINTR);
  return n;
}
int64_t ReadAt(int fd, char* data, size_t size, int64_t offset) {
  return ::pread(fd, data, size, offset);
}
bool Truncate(int fd, int64_t size) { return ::ftruncate(fd, size) == 0; }
void CloseFile(int fd) { ::close(fd); }
#endif

}  // namespace

LinkLog::Result LinkLog::Append(const std::string& folder, std::string_view text,
                                const std::tm& when, long cap) {
  const std::filesystem::path path = std::filesystem::u8path(folder + LinkLogFileName(when));
  FileInfo info{};
  // A new day, or the file moved away or replaced: the name leads elsewhere.
  if (fd_ >= 0 && (path != path_ || !StatPath(path_, &info) ||
                   static_cast<uint64_t>(info.st_dev) != device_ ||
                   static_cast<uint64_t>(info.st_ino) != inode_))
    Close();
  if (fd_ < 0 && (!Open(path) || !StatOpen(fd_, &info))) return Lost();
  const int64_t size = info.st_size;
  const std::string line = LinkFileLine(text, when);
  if (size + static_cast<int64_t>(line.size()) > cap) {
    if (!paused_) {
      paused_ = EndsPaused(size);
      if (!paused_ && !WriteWhole(LinkFileLine(kLogPaused, when))) return Lost();
      paused_ = true;
    }
    return Result::kOverCap;
  }
  if (!WriteWhole(line)) return Lost();
  failing_ = false;
  return Result::kWritten;
}

bool LinkLog::TakeNewFailure() { return std::exchange(failure_unsaid_, false); }

void LinkLog::Close() {
  if (fd_ >= 0) CloseFile(fd_);
  fd_ = -1;
  paused_ = false;
}

bool LinkLog::Open(const std::filesystem::path& path) {
  fd_ = OpenForAppend(path);
  FileInfo info{};
  if (fd_ < 0 || !StatOpen(fd_, &info)) {
    Close();
    return false;
  }
  path_ = path;
  device_ = static_cast<uint64_t>(info.st_dev);
  inode_ = static_cast<uint64_t>(info.st_ino);
  return true;
}

// Read once per opened file, when it first reaches the cap.
bool LinkLog::EndsPaused(int64_t size) {
  const std::string_view paused = kLogPaused;
  const int64_t tail = std::min<int64_t>(size, static_cast<int64_t>(paused.size()) + 64);
  std::string bytes(static_cast<size_t>(tail), '\0');
  const int64_t n = ReadAt(fd_, bytes.data(), bytes.size(), size - tail);
  bytes.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return bytes.find(paused) != std::string::npos;
}

bool LinkLog::WriteWhole(const std::string& line) {
  size_t done = 0;
  while (done < line.size()) {
    const int64_t n = WriteSome(fd_, line.data() + done, line.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  if (done == line.size()) return true;
  // A full disk took part of the line: the file ends where it did.
  FileInfo info{};
  if (done > 0 && StatOpen(fd_, &info))
    Truncate(fd_, static_cast<int64_t>(info.st_size) - static_cast<int64_t>(done));
  return false;
}

LinkLog::Result LinkLog::Lost() {
  Close();
  if (!failing_) failure_unsaid_ = true;
  failing_ = true;
  return Result::kLost;
}

}  // namespace zlink
