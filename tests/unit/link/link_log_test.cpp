#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "link_log.h"
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
