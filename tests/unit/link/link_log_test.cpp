#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "link_log.h"
#include "link_texts.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

std::tm Sixth_December_2026() {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 11;
  t.tm_mday = 6;
  t.tm_hour = 14;
  t.tm_min = 5;
  t.tm_sec = 9;
  return t;
}

TEST(LinkLog, NamesAndLines) {
  const std::tm when = Sixth_December_2026();
  EXPECT_EQ(zlink::LinkLogFileName(when), "061226Log.Txt");
  EXPECT_EQ(zlink::LinkFileLine(">:024300BB", when), ">:024300BB 06.12.26-14:05:09\r\n");
  EXPECT_EQ(zlink::LinkMemoLine("<024300BB", when), "<024300BB  06.12.26-14:05:09");
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

std::filesystem::path FreshFolder(const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / (name + std::to_string(::getpid()));
  fs::remove_all(folder);  // process numbers repeat (under Wine soon)
  fs::create_directories(folder);
  return folder;
}

using Result = zlink::LinkLog::Result;

// The file kept open between lines reads exactly as one opened per line:
// across a day's change, a second writer, a restart and a file moved away.
TEST(LinkLog, ADayOfLinesReadsAsLineByLineAppends) {
  namespace fs = std::filesystem;
  const fs::path folder = FreshFolder("zelt_link_log_");
  const std::string dir = folder.string() + "/";
  std::tm when = Sixth_December_2026();
  std::string day6, day7, moved;
  {
    zlink::LinkLog log, other;
    for (int i = 0; i < 3; ++i) {
      when.tm_sec = i;
      EXPECT_EQ(log.Append(dir, "<0243BB", when), Result::kWritten);
      EXPECT_EQ(log.Append(dir, ">:024300BB", when), Result::kWritten);
      EXPECT_EQ(other.Append(dir, "second link", when), Result::kWritten);
      for (const char* text : {"<0243BB", ">:024300BB", "second link"})
        day6 += zlink::LinkFileLine(text, when);
    }
    // Moved away mid-day: the moved file keeps what it had, the day goes on
    // in a new file of the day's name.
    fs::rename(folder / "061226Log.Txt", folder / "moved.txt");
    moved = day6;
    day6.clear();
    EXPECT_EQ(log.Append(dir, "after the move", when), Result::kWritten);
    day6 += zlink::LinkFileLine("after the move", when);
    when.tm_mday = 7;
    when.tm_hour = 0;
    EXPECT_EQ(log.Append(dir, "<0244BA", when), Result::kWritten);
    day7 += zlink::LinkFileLine("<0244BA", when);
  }
  zlink::LinkLog restarted;
  EXPECT_EQ(restarted.Append(dir, "restarted", when), Result::kWritten);
  day7 += zlink::LinkFileLine("restarted", when);
  EXPECT_EQ(restarted.Append(dir + "missing/", "lost", when), Result::kLost);
  restarted.Close();  // Windows deletes no open file
  EXPECT_EQ(ReadFile(folder / "moved.txt"), moved);
  EXPECT_EQ(ReadFile(folder / "061226Log.Txt"), day6);
  EXPECT_EQ(ReadFile(folder / "071226Log.Txt"), day7);
  fs::remove_all(folder);
}

#ifndef _WIN32
// A full file system (here a file-size limit) takes part of a line: the file
// ends where it did, and the trouble is news once per run of lost lines.
TEST(LinkLog, ALineThatDoesNotFitLeavesNothingAndIsToldOnce) {
  namespace fs = std::filesystem;
  const fs::path folder = FreshFolder("zelt_link_full_");
  const std::string dir = folder.string() + "/";
  const std::tm when = Sixth_December_2026();
  const std::string one = zlink::LinkFileLine("one", when);
  zlink::LinkLog log;
  ASSERT_EQ(log.Append(dir, "one", when), Result::kWritten);
  EXPECT_FALSE(log.TakeNewFailure());

  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  const auto limit = [&](rlim_t bytes) {
    rlimit small = saved;
    small.rlim_cur = bytes;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  };
  limit(one.size() + 10);
  EXPECT_EQ(log.Append(dir, "two is cut", when), Result::kLost);
  EXPECT_EQ(log.Append(dir, "three", when), Result::kLost);
  const std::string while_full = ReadFile(folder / "061226Log.Txt");
  EXPECT_TRUE(log.TakeNewFailure());
  EXPECT_FALSE(log.TakeNewFailure());
  limit(saved.rlim_cur);
  EXPECT_EQ(log.Append(dir, "four", when), Result::kWritten);
  EXPECT_FALSE(log.TakeNewFailure());
  limit(0);
  EXPECT_EQ(log.Append(dir, "five", when), Result::kLost);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_TRUE(log.TakeNewFailure());

  EXPECT_EQ(while_full, one);
  EXPECT_EQ(ReadFile(folder / "061226Log.Txt"), one + zlink::LinkFileLine("four", when));
  fs::remove_all(folder);
}
#endif

// A noisy line must not fill the disk: past the day's cap one line says the
// log is paused, nothing else is written that day, and the next day's file
// starts afresh.
TEST(LinkLog, PausesADayPastItsCap) {
  namespace fs = std::filesystem;
  const fs::path folder = FreshFolder("zelt_link_cap_");
  const std::string dir = folder.string() + "/";
  std::tm when = Sixth_December_2026();
  const fs::path day = folder / "061226Log.Txt";
  const std::string paused = zlink::LinkFileLine(zlink::kLogPaused, when);

  // Just under the real cap of 64 MB (a sparse file, written in no time).
  std::ofstream(day, std::ios::binary) << "x";
  fs::resize_file(day, 64 * 1024 * 1024 - 30);
  {
    zlink::LinkLog log;
    EXPECT_EQ(log.Append(dir, "fits", when), Result::kWritten);  // 24 bytes
    EXPECT_EQ(log.Append(dir, "does not fit", when), Result::kOverCap);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(log.Append(dir, "noise", when), Result::kOverCap);
    EXPECT_FALSE(log.TakeNewFailure());
  }
  const std::string text = ReadFile(day);
  EXPECT_EQ(text.size(), 64u * 1024 * 1024 - 6 + paused.size());
  EXPECT_EQ(text.substr(text.size() - 24 - paused.size()),
            "fits 06.12.26-14:05:09\r\n" + paused);

  // A small cap, and a day that is cut several times by restarts.
  when.tm_mday = 7;
  const fs::path next = folder / "071226Log.Txt";
  int written = 0;
  zlink::LinkLog log;
  while (log.Append(dir, "line", when, 200) == Result::kWritten) ++written;
  EXPECT_EQ(written, 200 / 24);
  log.Close();
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(zlink::LinkLog().Append(dir, "more", when, 200), Result::kOverCap);
  const std::string small = ReadFile(next);
  EXPECT_EQ(small.size(), static_cast<size_t>(written) * 24 + paused.size());
  EXPECT_EQ(small.find(zlink::kLogPaused), small.rfind(zlink::kLogPaused));
  fs::remove_all(folder);
}


}  // namespace
