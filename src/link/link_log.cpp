#include "link_log.h"

#include <cstdio>
#include <filesystem>

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

bool AppendLinkLog(const std::string& folder, std::string_view text, const std::tm& when) {
  const std::filesystem::path path = std::filesystem::u8path(folder + LinkLogFileName(when));
#ifdef _WIN32
  std::FILE* file = _wfopen(path.c_str(), L"ab");  // any folder name, not just the code page's
#else
  std::FILE* file = std::fopen(path.c_str(), "ab");
#endif
  if (file == nullptr) return false;
  const std::string line = LinkFileLine(text, when);
  const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace zlink
