// The link's log lines: one file per day beside the program ("ddmmyy" +
// "Log.Txt"), and the lines of the link memo. Pure C++.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace zlink {

std::tm LocalNow();

// "061226Log.Txt" for 6 December 2026.
std::string LinkLogFileName(const std::tm& when);
// "06.12.26-14:05:09".
std::string LinkStamp(const std::tm& when);
// The file's line: text, one blank, the stamp, CR LF.
std::string LinkFileLine(std::string_view text, const std::tm& when);
// The memo's line: text, two blanks, the stamp.
std::string LinkMemoLine(std::string_view text, const std::tm& when);

// The most one day's file grows: a noisy line would otherwise fill the disk.
constexpr long kLinkLogDayCap = 64L * 1024 * 1024;

// The day's link log file, kept open between lines: a line costs a look at
// the file's name (for its size, and whether it was moved away or replaced)
// and one write. The file is opened again on a new day, after a failed
// write, or when its name no longer leads to it. Other writers may append to
// the same file meanwhile.
class LinkLog {
 public:
  enum class Result { kWritten, kOverCap, kLost };

  LinkLog() = default;
  LinkLog(const LinkLog&) = delete;
  LinkLog& operator=(const LinkLog&) = delete;
  ~LinkLog() { Close(); }

  // Appends one line to the day's file in `folder` (UTF-8, ending with a
  // separator). A line that would take the file past `cap` is not written;
  // the first such line of the day writes kLogPaused instead, and logging
  // goes on in the next day's file. A line that cannot be written whole is
  // lost and leaves nothing of itself in the file.
  Result Append(const std::string& folder, std::string_view text, const std::tm& when,
                long cap = kLinkLogDayCap);
  // True once for each run of lost lines, until a line is written again: the
  // owner says the trouble once.
  bool TakeNewFailure();
  void Close();

 private:
  bool Open(const std::filesystem::path& path);
  bool EndsPaused(int64_t size);
  // Writes all of `line` or, failing that, takes back what got written.
  bool WriteWhole(const std::string& line);
  Result Lost();

  int fd_ = -1;
  std::filesystem::path path_;
  uint64_t device_ = 0, inode_ = 0;
  bool paused_ = false;  // the open file ends with the pause line
  bool failing_ = false;         // the last line was lost
  bool failure_unsaid_ = false;  // lines began to be lost since TakeNewFailure
};

}  // namespace zlink
