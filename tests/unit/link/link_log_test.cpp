#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "link_log.h"
#include "link_texts.h"
#include "port_args.h"

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

TEST(LinkLog, AppendsLineByLineAndLosesLinesItCannotWrite) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("zelt_link_log_" + std::to_string(::getpid()));
  fs::remove_all(folder);  // process numbers repeat (under Wine soon)
  fs::create_directories(folder);
  const std::string dir = folder.string() + "/";
  const std::tm when = Sixth_December_2026();
  EXPECT_TRUE(zlink::AppendLinkLog(dir, "one", when));
  EXPECT_TRUE(zlink::AppendLinkLog(dir, "two", when));
  {
    // Closed before the folder goes: Windows deletes no open file.
    std::ifstream in(folder / "061226Log.Txt", std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), "one 06.12.26-14:05:09\r\ntwo 06.12.26-14:05:09\r\n");
  }
  EXPECT_FALSE(zlink::AppendLinkLog(dir + "missing/", "lost", when));
  fs::remove_all(folder);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// A noisy line must not fill the disk: past the day's cap one line says the
// log is paused, nothing else is written that day, and the next day's file
// starts afresh.
TEST(LinkLog, PausesADayPastItsCap) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("zelt_link_cap_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string dir = folder.string() + "/";
  std::tm when = Sixth_December_2026();
  const fs::path day = folder / "061226Log.Txt";
  const std::string paused = zlink::LinkFileLine(zlink::kLogPaused, when);

  // Just under the real cap of 64 MB (a sparse file, written in no time).
  std::ofstream(day, std::ios::binary) << "x";
  fs::resize_file(day, 64 * 1024 * 1024 - 30);
  EXPECT_TRUE(zlink::AppendLinkLog(dir, "fits", when));  // 24 bytes
  EXPECT_FALSE(zlink::AppendLinkLog(dir, "does not fit", when));
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(zlink::AppendLinkLog(dir, "noise", when));
  const std::string text = ReadFile(day);
  EXPECT_EQ(text.size(), 64u * 1024 * 1024 - 6 + paused.size());
  EXPECT_EQ(text.substr(text.size() - 24 - paused.size()),
            "fits 06.12.26-14:05:09\r\n" + paused);

  // A small cap, and a day that is cut several times by restarts.
  when.tm_mday = 7;
  const fs::path next = folder / "071226Log.Txt";
  int written = 0;
  while (zlink::AppendLinkLog(dir, "line", when, 200)) ++written;
  EXPECT_EQ(written, 200 / 24);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(zlink::AppendLinkLog(dir, "more", when, 200));
  const std::string small = ReadFile(next);
  EXPECT_EQ(small.size(), static_cast<size_t>(written) * 24 + paused.size());
  EXPECT_EQ(small.find(zlink::kLogPaused), small.rfind(zlink::kLogPaused));
  fs::remove_all(folder);
}

TEST(PortArgs, RepeatableInBothForms) {
  EXPECT_EQ(zlink::ParsePortArgs({"DEBUG", "--port", "/dev/pts/3", "--port=ttyUSB0", "x"}),
            (std::vector<std::string>{"/dev/pts/3", "ttyUSB0"}));
  EXPECT_TRUE(zlink::ParsePortArgs({"--port"}).empty());
  EXPECT_TRUE(zlink::ParsePortArgs({"--port="}).empty());
  EXPECT_EQ(zlink::ParsePortArgs({"--port", "--demo", "--port", "COM3"}),
            (std::vector<std::string>{"COM3"}));
  const char* argv[] = {"zelt", "--port", "COM5", nullptr};
  EXPECT_EQ(zlink::ParsePortArgs(3, argv), (std::vector<std::string>{"COM5"}));
}

}  // namespace
