#include "link_log.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

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

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Whether the file, `size` bytes long, already ends with the pause line:
// nothing is written after it.
bool EndsPaused(std::FILE* file, long size) {
  const std::string_view paused = kLogPaused;
  const long tail = std::min<long>(size, static_cast<long>(paused.size()) + 64);
  std::string bytes(static_cast<size_t>(tail), '\0');
  if (std::fseek(file, size - tail, SEEK_SET) != 0) return false;
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  return bytes.find(paused) != std::string::npos;
}

bool Write(std::FILE* file, const std::string& line) {
  return std::fwrite(line.data(), 1, line.size(), file) == line.size();
}

}  // namespace

bool AppendLinkLog(const std::string& folder, std::string_view text, const std::tm& when,
                   long cap) {
  const std::filesystem::path path = std::filesystem::u8path(folder + LinkLogFileName(when));
#ifdef _WIN32
  // Any folder name, not just the code page's.
  std::unique_ptr<std::FILE, FileCloser> file(_wfopen(path.c_str(), L"a+b"));
#else
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "a+b"));
#endif
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return false;
  const long size = std::ftell(file.get());
  if (size < 0) return false;
  const std::string line = LinkFileLine(text, when);
  if (size + static_cast<long>(line.size()) > cap) {
    if (!EndsPaused(file.get(), size) && std::fseek(file.get(), 0, SEEK_END) == 0)
      Write(file.get(), LinkFileLine(kLogPaused, when));
    return false;
  }
  const bool written = Write(file.get(), line);
  return std::fclose(file.release()) == 0 && written;
}

}  // namespace zlink
