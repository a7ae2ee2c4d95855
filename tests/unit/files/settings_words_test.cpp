#include <gtest/gtest.h>

#include <chrono>

#include "cp1251.h"
#include "words_fixture.h"

namespace files {
namespace {

using files_test::ReadBytes;
using files_test::Stack;
using files_test::WriteBytes;
namespace fs = std::filesystem;

class SettingsWords : public files_test::WordsTest {
 protected:
  void UseFile(const std::string& leaf, const std::string& section) {
    Run(Q(leaf) + "FILENAME " + section + " SECTION");
  }
};

TEST_F(SettingsWords, LongValueThroughKeyWords) {
  UseFile("s.ini", "Main");
  std::string value;
  for (int i = 0; i < 2500; ++i) value += static_cast<char>('0' + i % 10);
  value[0] = value[999] = value[1000] = value[2499] = '~';
  engine_.ClearStack();
  engine_.Push(value);
  engine_.ExecuteLine("Tel KEY!");
  EXPECT_EQ(engine_.Depth(), 0);
  std::string text = ReadBytes(Path("s.ini"));
  EXPECT_NE(text.find("\r\nTel="), std::string::npos);
  EXPECT_NE(text.find("\r\nTel_1="), std::string::npos);
  EXPECT_NE(text.find("\r\nTel_2="), std::string::npos);
  EXPECT_EQ(text.find("Tel_3="), std::string::npos);
  EXPECT_EQ(Run("Tel KEY%"), Stack{value});

  EXPECT_EQ(Run("short Tel KEY! Tel KEY%"), Stack{"short"});
  EXPECT_EQ(ReadBytes(Path("s.ini")), "[Main]\r\nTel=short\r\n");
  EXPECT_EQ(Run("Tel DELETEKEY Tel KEY% None KEY%"), (Stack{"", ""}));
  EXPECT_EQ(ReadBytes(Path("s.ini")), "[Main]\r\n");
}

TEST_F(SettingsWords, KeyReadFromAnUnreadableFileIsEmpty) {
  WriteBytes(Path("a.ini"), "[Main]\r\nTel=1\r\n");
  UseFile("a.ini", "Main");
  EXPECT_EQ(Run("Tel KEY%"), Stack{"1"});
  UseFile("none.ini", "Main");
  EXPECT_EQ(Run("Tel KEY%"), Stack{""});
  Run("\"\" FILENAME");
  EXPECT_EQ(Run("Tel KEY% 1 Tel KEY! Tel DELETEKEY"), Stack{""});
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{"a.ini"});
}

// The file is read once for the words that follow, and again once it changed.
TEST_F(SettingsWords, KeyReadsTheFileAgainOnlyWhenItChanged) {
  WriteBytes(Path("p.ini"), "[M]\r\nK=1\r\n[N]\r\nK=5\r\n");
  UseFile("p.ini", "M");
  EXPECT_EQ(Run("K KEY% N SECTION K KEY% M SECTION K KEY%"), (Stack{"1", "5", "1"}));
  EXPECT_EQ(state_.settings.loads(), 1);

  EXPECT_EQ(Run("2 K KEY! K KEY%"), Stack{"2"});
  EXPECT_EQ(Run("K KEY% 3 " + Q("p.ini") + "WRITEFILE K KEY%"), (Stack{"2", "2"}));
  EXPECT_EQ(state_.settings.loads(), 3);

  // Another program's write of the same size, a second later.
  const auto modified = fs::last_write_time(Path("p.ini"));
  const std::string before = ReadBytes(Path("p.ini"));
  std::string after = before;
  after[after.find("K=2")] = 'X';
  WriteBytes(Path("p.ini"), after);
  fs::last_write_time(Path("p.ini"), modified + std::chrono::seconds(1));
  EXPECT_EQ(Run("K KEY% X KEY%"), (Stack{"", "2"}));
  fs::remove(Path("p.ini"));
  EXPECT_EQ(Run("X KEY%"), Stack{""});
}

TEST_F(SettingsWords, KeyWordsKeepOtherLinesAndFailSilently) {
  std::string before = "; note\r\n[Main]\r\nA=1\r\n\r\n[Other]\r\nTel=x\r\n";
  WriteBytes(Path("a.ini"), before);
  UseFile("a.ini", "Main");
  Run("2 Tel KEY!");
  EXPECT_EQ(ReadBytes(Path("a.ini")), "; note\r\n[Main]\r\nA=1\r\nTel=2\r\n\r\n[Other]\r\nTel=x\r\n");
  // A value with a line break would corrupt the file: refused, nothing pushed.
  engine_.ClearStack();
  engine_.Push("3\r\n[Other]\r\nTel=y");
  engine_.ExecuteLine("Tel KEY!");
  EXPECT_EQ(engine_.Depth(), 0);
  EXPECT_EQ(ReadBytes(Path("a.ini")), "; note\r\n[Main]\r\nA=1\r\nTel=2\r\n\r\n[Other]\r\nTel=x\r\n");
  EXPECT_EQ(Run("Tel DELETEKEY Tel KEY%"), Stack{""});
  EXPECT_EQ(ReadBytes(Path("a.ini")), before);
}

TEST_F(SettingsWords, ReadIniAndWriteIni) {
  Run("Main SECTION");
  EXPECT_EQ(Run("v1 K " + Q("i.ini") + "WRITEINI"), Stack{});
  EXPECT_EQ(ReadBytes(Path("i.ini")), "[Main]\r\nK=v1\r\n");
  EXPECT_EQ(Run("dflt K " + Q("i.ini") + "READINI dflt X " + Q("i.ini") + "READINI dflt K " +
                Q("none.ini") + "READINI"),
            (Stack{"v1", "dflt", "dflt"}));
  Run("Other SECTION");
  EXPECT_EQ(Run("dflt K " + Q("i.ini") + "READINI"), Stack{"dflt"});
  // Folder as file: the write fails silently, the read gives the default.
  EXPECT_EQ(Run("v K " + Q("") + "WRITEINI dflt K " + Q("") + "READINI"), Stack{"dflt"});

  engine_.ClearStack();
  engine_.Push(std::string(3000, 'z'));
  engine_.ExecuteLine("Long " + Q("i.ini") + "WRITEINI dflt Long " + Q("i.ini") + "READINI");
  ASSERT_EQ(engine_.Depth(), 1);
  EXPECT_EQ(engine_.StackValue(1), std::string(2047, 'z'));
}


class StatusHost : public engine::Host {
 public:
  void ShowStatus(const std::string& text) override { statuses.push_back(text); }
  std::vector<std::string> statuses;
};

// Every settings write that does not reach its file names the file in the
// status bar, and what the name holds now; what the words take from the stack
// stays the same.
TEST_F(SettingsWords, FailedWritesNameTheFileInTheStatusBar) {
  StatusHost host;
  engine_.SetHost(&host);
  const std::string failed = engine::Cp1251("Не удалось записать файл настроек ");
  const std::string kept = engine::Cp1251(" (файл остался прежним)");
  const std::string none = engine::Cp1251(" (файл не создан)");
  Run("Main SECTION");
  fs::create_directory(Path("folder.ini"));
  EXPECT_EQ(Run("keep v K " + Q("folder.ini") + "WRITEINI"), Stack{"keep"});
  ASSERT_EQ(host.statuses, std::vector<std::string>{failed + Path("folder.ini") + kept});

  UseFile("no/such/dir.ini", "Main");
  EXPECT_EQ(Run("keep v K KEY!"), Stack{"keep"});
  EXPECT_EQ(host.statuses.size(), 2u);
  EXPECT_EQ(host.statuses.back(), failed + Path("no/such/dir.ini") + none);

  // Writes that work, and deleting from a file that does not exist, say nothing.
  host.statuses.clear();
  UseFile("ok.ini", "Main");
  Run("v K KEY! K DELETEKEY X DELETEKEY v K " + Q("ok.ini") + "WRITEINI");
  UseFile("none.ini", "Main");
  Run("K DELETEKEY");
  EXPECT_TRUE(host.statuses.empty());

  // A read-only file and a read-only folder, as an ordinary user. Unix-only:
  // Windows has no folder permission bits, and Wine run as root writes a
  // read-only file all the same.
#ifndef _WIN32
  WriteBytes(Path("ro.ini"), "[Main]\r\nK=1\r\n");
  fs::permissions(Path("ro.ini"), fs::perms(0444));
  fs::create_directory(Path("locked"));
  fs::permissions(Path("locked"), fs::perms(0555));
  fs::permissions(dir_.path(), fs::perms::all);
  EXPECT_TRUE(files_test::AsOrdinaryUser([&] {
    host.statuses.clear();
    UseFile("ro.ini", "Main");
    Run("2 K KEY!");
    Run("2 K " + Q("locked/new.ini") + "WRITEINI");
    return host.statuses == std::vector<std::string>{failed + Path("ro.ini") + kept,
                                                     failed + Path("locked/new.ini") + none};
  }));
#endif
  engine_.SetHost(nullptr);
}

}  // namespace
}  // namespace files
