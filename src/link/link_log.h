// The link's log lines: one file per day beside the program ("ddmmyy" +
// "Log.Txt"), and the lines of the link memo. Pure C++.
#pragma once

#include <ctime>
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

// Appends one line to the day's file in `folder` (UTF-8, ending with a
// separator), opening and closing the file for this line alone. A line that
// would take the file past `cap` is not written; the first such line of the
// day writes kLogPaused instead, and logging goes on in the next day's file.
// A file that cannot be written loses the line. False when the line was lost.
bool AppendLinkLog(const std::string& folder, std::string_view text, const std::tm& when,
                   long cap = kLinkLogDayCap);

}  // namespace zlink
