// Files rewritten on a disk that fills up: the old file stays whole, or no
// file is left where there was none, and the failure is said once.
#include <gtest/gtest.h>

#include "../../support/small_disk.h"
#include "cp1251.h"
#include "words_fixture.h"

namespace files {
namespace {

using files_test::ReadBytes;
using files_test::Stack;
using files_test::WriteBytes;
namespace fs = std::filesystem;

class StatusHost : public engine::Host {
 public:
  void ShowStatus(const std::string& text) override { statuses.push_back(text); }
  std::vector<std::string> statuses;
};

class FullDisk : public files_test::WordsTest {
 protected:
  FullDisk() { engine_.SetHost(&host_); }
  ~FullDisk() override { engine_.SetHost(nullptr); }

  // A profile as the shipped pages save one: the file deleted, then key by key.
  std::string SaveProfile(const std::string& leaf) {
    std::string line = Q(leaf) + "DELETEFILE " + Q(leaf) + "FILENAME Settings SECTION ";
    for (int i = 0; i < 64; ++i) line += std::string(90, 'v') + " S" + std::to_string(i) + " KEY! ";
    return line + "saved Saved KEY! Saved KEY%";
  }
  // A script file as the shipped pages save one: deleted, then byte by byte.
  std::string SaveBytes(const std::string& leaf, int count) {
    return Q(leaf) + "DELETEFILE " + std::to_string(count) + " \"DROP 66 `" + Path(leaf) +
           "` WRITEFILE\" FOR " + Q(leaf) + "LENFILE";
  }
  // What differs from the expected outcome, for the child to report.
  static std::string Differ(const std::string& what, const std::string& got,
                            const std::string& expected) {
    if (got == expected) return "";
    return what + ": got " + std::to_string(got.size()) + " bytes \"" + got.substr(0, 60) +
           "\"; ";
  }
  std::string Statuses() {
    std::string all;
    for (const std::string& status : host_.statuses) all += status + "|";
    host_.statuses.clear();
    return all;
  }
  std::string Said(const std::string& what, const std::string& leaf, const char* outcome) {
    return engine::Cp1251("Не удалось записать ") + engine::Cp1251(what) + Path(leaf) +
           engine::Cp1251(outcome) + "|";
  }

  StatusHost host_;
};

TEST_F(FullDisk, ProfileAndByteFileKeepTheOldFileOrLeaveNone) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has neither a tmpfs to mount nor a file-size limit";
#else
  const std::string old_profile = "[Settings]\r\n" + std::string(1050, 'o') + "\r\n";
  const std::string old_bytes(1000, 'o');
  const std::string answer = test_support::OnSmallDisk(dir_.path(), [&](test_support::SmallDisk& disk) {
    WriteBytes(Path("p.ini"), old_profile);
    WriteBytes(Path("s.txt"), old_bytes);
    disk.Fill(0);
    std::string found;
    found += Differ("profile's answer", Run(SaveProfile("p.ini")).at(0), "");
    found += Differ("profile", ReadBytes(Path("p.ini")), old_profile);
    found += Differ("profile's status", Statuses(),
                    Said("файл настроек ", "p.ini", " (файл остался прежним)"));
    found += Differ("script's length", Run(SaveBytes("s.txt", 6000)).at(0), "1000");
    found += Differ("script", ReadBytes(Path("s.txt")), old_bytes);
    found += Differ("script's status", Statuses(),
                    Said("файл ", "s.txt", " (файл остался прежним)"));
    // Where there was no file, none is left.
    Run(SaveProfile("new.ini") + " " + SaveBytes("new.txt", 6000));
    found += Differ("new files", std::to_string(fs::exists(Path("new.ini"))) +
                                     std::to_string(fs::exists(Path("new.txt"))), "00");
    found += Differ("new files' status", Statuses(),
                    Said("файл настроек ", "new.ini", " (файл не создан)") +
                        Said("файл ", "new.txt", " (файл не создан)"));
    // A later line may try again; nothing of the rewrites is left beside.
    Run("x K " + Q("p.ini") + "WRITEINI");
    Statuses();
    std::vector<std::string> left = dir_.Entries();
    std::erase(left, ".filler");
    found += Differ("folder", ::testing::PrintToString(left), "{ \"p.ini\", \"s.txt\" }");
    return found;
  });
  EXPECT_TRUE(answer.ends_with(": ok")) << answer;
#endif
}

// On a disk with room the rewrite is what it was: the old file is gone at
// once, the new one complete, and nothing is left beside it after the line.
TEST_F(FullDisk, RewriteWithRoomReadsAsBefore) {
  WriteBytes(Path("p.ini"), "[Settings]\r\nOld=1\r\n");
  WriteBytes(Path("s.txt"), "old");
  EXPECT_EQ(Run(Q("p.ini") + "DELETEFILE " + Q("p.ini") + "EXIST " + Q("p.ini") +
                "FILENAME Settings SECTION 1 New KEY! Old KEY% New KEY%"),
            (Stack{"0", "", "1"}));
  EXPECT_EQ(Run(SaveBytes("s.txt", 5)), Stack{"5"});
  EXPECT_EQ(ReadBytes(Path("p.ini")), "[Settings]\r\nNew=1\r\n");
  EXPECT_EQ(ReadBytes(Path("s.txt")), "BBBBB");
  Run("67 " + Q("s.txt") + "WRITEFILE");
  EXPECT_EQ(dir_.Entries(), (std::vector<std::string>{"p.ini", "s.txt"}));
  EXPECT_TRUE(host_.statuses.empty());
}

}  // namespace
}  // namespace files
