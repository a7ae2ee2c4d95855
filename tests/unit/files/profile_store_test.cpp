#include "profile_store.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "settings_reader.h"
#include "test_support.h"

namespace files {
namespace {

using files_test::AsOrdinaryUser;
using files_test::ReadBytes;
using files_test::TempDir;
using files_test::WriteBytes;
namespace fs = std::filesystem;

// Odd but legal content around the keys that an edit must not touch.
const std::string kOdd = files_test::Bytes(
    "; comment \xC7\xE5\xEB\xFC\xF2\r\n"
    "[Main]\r\n"
    "Tel=1\r\n"
    "junk line without equals\n"
    "Bin=\x00\xFF\x80\r\n"
    "  \r\n"
    "\r\n"
    "[Other]\r\n"
    "Tel=2");

TEST(ProfileDocument, ChangesAnExistingKeyInItsLineAndNothingElse) {
  ProfileDocument document(kOdd);
  ASSERT_TRUE(document.Set("Main", "Tel", "99"));
  std::string expected = kOdd;
  expected.replace(expected.find("Tel=1"), 5, "Tel=99");
  EXPECT_EQ(document.Text(), expected);

  ProfileDocument last(kOdd);  // the unterminated last line gets its CR LF
  ASSERT_TRUE(last.Set("Other", "Tel", "3"));
  EXPECT_EQ(last.Text(), kOdd.substr(0, kOdd.size() - 1) + "3\r\n");
}

TEST(ProfileDocument, AddsKeysAtTheSectionEndAndSectionsAtTheFileEnd) {
  ProfileDocument document(kOdd);
  ASSERT_TRUE(document.Set("Main", "New", "v"));
  std::string expected = kOdd;
  size_t after_bin = expected.find("\r\n", expected.find("Bin=")) + 2;
  expected.insert(after_bin, "New=v\r\n");  // before the blank lines
  EXPECT_EQ(document.Text(), expected);

  ASSERT_TRUE(document.Set("Third", "K", "1"));
  EXPECT_EQ(document.Text(), expected + "\r\n[Third]\r\nK=1\r\n");

  ProfileDocument empty;
  ASSERT_TRUE(empty.Set("S", "K", "V"));
  EXPECT_EQ(empty.Text(), "[S]\r\nK=V\r\n");
  ASSERT_TRUE(empty.Set("S", "L", ""));
  EXPECT_EQ(empty.Text(), "[S]\r\nK=V\r\nL=\r\n");
}

TEST(ProfileDocument, DeleteRemovesEveryLineOfTheKeyInThatSectionOnly) {
  ProfileDocument document("[A]\r\nK=1\r\nKK=2\r\nK=3\r\n[B]\r\nK=4\r\n");
  EXPECT_TRUE(document.Delete("A", "K"));
  EXPECT_EQ(document.Text(), "[A]\r\nKK=2\r\n[B]\r\nK=4\r\n");
  EXPECT_FALSE(document.Delete("A", "K"));
  EXPECT_FALSE(document.Delete("C", "K"));
  EXPECT_EQ(document.Text(), "[A]\r\nKK=2\r\n[B]\r\nK=4\r\n");
}

TEST(ProfileDocument, RefusesWhatWouldNotReadBack) {
  ProfileDocument document(kOdd);
  EXPECT_FALSE(document.Set("Main", "Tel", "a\r\n[Evil]"));
  EXPECT_FALSE(document.Set("Main", "Tel", "a\nb"));
  EXPECT_FALSE(document.Set("Main", "T\rel", "1"));
  EXPECT_FALSE(document.Set("Ma\nin", "Tel", "1"));
  EXPECT_FALSE(document.Set("Main", "A=B", "1"));
  EXPECT_FALSE(document.Set("Main", "[X]", "1"));
  EXPECT_FALSE(document.changed());
  EXPECT_EQ(document.Text(), kOdd);
}

TEST(ProfileDocument, ReadsWhatTheReaderReads) {
  ProfileDocument document;
  document.Set("S", "Tel", "7");
  document.Set("S", "XTel", "5");
  document.Set("T", "Tel", "[S]");
  std::string text = document.Text();
  for (const char* key : {"Tel", "XTel", "None"})
    EXPECT_EQ(document.Get("S", key).value_or(""), ReadSettingsValue(text, "S", key)) << key;
  EXPECT_EQ(*document.Get("T", "Tel"), "[S]");
  EXPECT_EQ(ReadSettingsValue(text, "T", "Tel"), "[S]");
}

class ProfileFiles : public ::testing::Test {
 protected:
  std::string Name(const std::string& leaf) { return dir_.Name(leaf); }
  TempDir dir_;
};

TEST_F(ProfileFiles, ReadKeyAnswersTheDefaultForWhatIsMissing) {
  WriteBytes(dir_.path() / "a.ini", "[S]\r\nK=v\r\nE=\r\n");
  EXPECT_EQ(ProfileReadKey(Name("a.ini"), "S", "K", "d"), "v");
  EXPECT_EQ(ProfileReadKey(Name("a.ini"), "S", "E", "d"), "");
  EXPECT_EQ(ProfileReadKey(Name("a.ini"), "S", "X", "d"), "d");
  EXPECT_EQ(ProfileReadKey(Name("a.ini"), "T", "K", "d"), "d");
  EXPECT_EQ(ProfileReadKey(Name("none.ini"), "S", "K", "d"), "d");
  EXPECT_EQ(ProfileReadKey(dir_.path().string(), "S", "K", "d"), "d");
  EXPECT_FALSE(fs::exists(dir_.path() / "none.ini"));

  WriteBytes(dir_.path() / "long.ini", "[S]\r\nK=" + std::string(3000, 'z') + "\r\n");
  EXPECT_EQ(ProfileReadKey(Name("long.ini"), "S", "K", ""), std::string(2047, 'z'));
  EXPECT_EQ(ProfileReadKey(Name("long.ini"), "S", "X", std::string(3000, 'd')),
            std::string(2047, 'd'));
}

TEST_F(ProfileFiles, WriteKeyCreatesAndEditsFilesInPlaceOfTheOldOnes) {
  ASSERT_TRUE(ProfileWriteKey(Name("n.ini"), "S", "K", "1"));
  EXPECT_EQ(ReadBytes(dir_.path() / "n.ini"), "[S]\r\nK=1\r\n");

  WriteBytes(dir_.path() / "odd.ini", kOdd);
  fs::permissions(dir_.path() / "odd.ini", fs::perms(0640));
  ASSERT_TRUE(ProfileWriteKey(Name("odd.ini"), "Main", "Tel", "2"));
  std::string expected = kOdd;
  expected.replace(expected.find("Tel=1"), 5, "Tel=2");
  EXPECT_EQ(ReadBytes(dir_.path() / "odd.ini"), expected);
#ifndef _WIN32
  EXPECT_EQ(fs::status(dir_.path() / "odd.ini").permissions(), fs::perms(0640));
#endif
  EXPECT_EQ(dir_.Entries(), (std::vector<std::string>{"n.ini", "odd.ini"}));  // no leftovers
}

TEST_F(ProfileFiles, WriteThroughASymbolicLinkChangesTheLinkedFile) {
  UNIX_ONLY("symbolic links need a privilege on Windows");
  WriteBytes(dir_.path() / "real.ini", "[S]\r\nK=1\r\n");
  fs::create_symlink("real.ini", dir_.path() / "link.ini");
  ASSERT_TRUE(ProfileWriteKey(Name("link.ini"), "S", "K", "2"));
  EXPECT_TRUE(fs::is_symlink(dir_.path() / "link.ini"));
  EXPECT_EQ(ReadBytes(dir_.path() / "real.ini"), "[S]\r\nK=2\r\n");
}

TEST_F(ProfileFiles, DeleteKeyNeverCreatesAFile) {
  EXPECT_TRUE(ProfileDeleteKey(Name("none.ini"), "S", "K"));
  EXPECT_FALSE(fs::exists(dir_.path() / "none.ini"));
  WriteBytes(dir_.path() / "a.ini", "[S]\r\nK=1\r\nL=2\r\n");
  EXPECT_TRUE(ProfileDeleteKey(Name("a.ini"), "S", "K"));
  EXPECT_EQ(ReadBytes(dir_.path() / "a.ini"), "[S]\r\nL=2\r\n");
}

TEST_F(ProfileFiles, WritesThatCannotBeDoneFailAndChangeNothing) {
  EXPECT_FALSE(ProfileWriteKey("", "S", "K", "1"));
  EXPECT_FALSE(ProfileWriteKey(std::string("x.ini\0y", 7), "S", "K", "1"));
  EXPECT_FALSE(ProfileWriteKey(dir_.path().string(), "S", "K", "1"));  // a folder
  EXPECT_FALSE(ProfileWriteKey(Name("no/such/folder.ini"), "S", "K", "1"));
  fs::create_directory(dir_.path() / "sub");
  EXPECT_FALSE(ProfileWriteKey(Name("sub"), "S", "K", "1"));
  EXPECT_FALSE(ProfileDeleteKey(Name("sub"), "S", "K"));
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{"sub"});
}

TEST_F(ProfileFiles, ReadOnlyFileOrFolderIsLeftAsItWas) {
  UNIX_ONLY("Windows has no folder permission bits");
  fs::permissions(dir_.path(), fs::perms::all);
  WriteBytes(dir_.path() / "ro.ini", "[S]\r\nK=1\r\n");
  fs::permissions(dir_.path() / "ro.ini", fs::perms(0444));
  fs::create_directory(dir_.path() / "locked");
  WriteBytes(dir_.path() / "locked" / "rw.ini", "[S]\r\nK=1\r\n");
  fs::permissions(dir_.path() / "locked" / "rw.ini", fs::perms(0666));
  fs::permissions(dir_.path() / "locked", fs::perms(0555));
  WriteBytes(dir_.path() / "secret.ini", "[S]\r\nK=1\r\n");
  fs::permissions(dir_.path() / "secret.ini", fs::perms(0222));

  std::string ro = Name("ro.ini"), rw = Name("locked/rw.ini"), secret = Name("secret.ini");
  EXPECT_TRUE(AsOrdinaryUser([&] {
    return !ProfileWriteKey(ro, "S", "K", "2") && !ProfileWriteKey(rw, "S", "K", "2") &&
           !ProfileWriteKey(rw, "S", "New", "2") && !ProfileDeleteKey(rw, "S", "K") &&
           !ProfileWriteKey(secret, "S", "K", "2") &&  // cannot be read, so not kept
           ProfileReadKey(secret, "S", "K", "d") == "d";
  }));
  EXPECT_EQ(ReadBytes(dir_.path() / "ro.ini"), "[S]\r\nK=1\r\n");
  EXPECT_EQ(ReadBytes(dir_.path() / "locked" / "rw.ini"), "[S]\r\nK=1\r\n");
  EXPECT_EQ(ReadBytes(dir_.path() / "secret.ini"), "[S]\r\nK=1\r\n");
  EXPECT_EQ(dir_.Entries(), (std::vector<std::string>{"locked", "ro.ini", "secret.ini"}));
}

// A full disk, made by a file size limit: the new contents do not fit, and
// the old file must come through whole.
TEST_F(ProfileFiles, FullDiskLeavesTheOldFileWhole) {
#ifdef _WIN32
  UNIX_ONLY("the full disk is made with a file size limit (setrlimit)");
#else
  std::string old_text = "[S]\r\nA=" + std::string(6000, 'a') + "\r\nK=1\r\n";
  WriteBytes(dir_.path() / "a.ini", old_text);

  rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  auto old_handler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 8192;
  setrlimit(RLIMIT_FSIZE, &small);
  bool written = ProfileWriteKey(Name("a.ini"), "S", "K", std::string(4000, 'k'));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, old_handler);

  EXPECT_FALSE(written);
  EXPECT_EQ(ReadBytes(dir_.path() / "a.ini"), old_text);
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{"a.ini"});
#endif
}


// Temporary files of a.ini that killed writers left behind.
void LeaveStaleTemps(const fs::path& folder, int count) {
  for (int n = 0; n < count; ++n)
    WriteBytes(folder / (".a.ini.new" + std::to_string(n)), "half-written");
}

TEST_F(ProfileFiles, StaleTemporaryFilesAreReusedAndRemoved) {
  WriteBytes(dir_.path() / "a.ini", "[S]\r\nK=1\r\n");
  LeaveStaleTemps(dir_.path(), 100);
  EXPECT_TRUE(ProfileWriteKey(Name("a.ini"), "S", "K", "2"));
  EXPECT_EQ(ReadBytes(dir_.path() / "a.ini"), "[S]\r\nK=2\r\n");
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{"a.ini"});
}

#ifndef _WIN32  // locks, links and killed processes of the Unix kind
// A temporary file that another writer holds, or a link, folder or fifo in
// its place, is never taken or removed.
TEST_F(ProfileFiles, TemporaryFilesInUseAndLinksAreLeftAlone) {
  WriteBytes(dir_.path() / "a.ini", "[S]\r\nK=1\r\n");
  LeaveStaleTemps(dir_.path(), 1);
  int busy = open((dir_.path() / ".a.ini.new0").c_str(), O_WRONLY);
  ASSERT_GE(busy, 0);
  ASSERT_EQ(flock(busy, LOCK_EX | LOCK_NB), 0);
  WriteBytes(dir_.path() / "stranger", "keep");
  fs::create_symlink(dir_.path() / "stranger", dir_.path() / ".a.ini.new1");
  fs::create_directory(dir_.path() / ".a.ini.new2");
  ASSERT_EQ(mkfifo((dir_.path() / ".a.ini.new3").c_str(), 0666), 0);

  EXPECT_TRUE(ProfileWriteKey(Name("a.ini"), "S", "K", "2"));
  close(busy);
  EXPECT_EQ(ReadBytes(dir_.path() / "a.ini"), "[S]\r\nK=2\r\n");
  EXPECT_EQ(ReadBytes(dir_.path() / ".a.ini.new0"), "half-written");
  EXPECT_EQ(ReadBytes(dir_.path() / "stranger"), "keep");
  EXPECT_EQ(dir_.Entries(),
            (std::vector<std::string>{".a.ini.new0", ".a.ini.new1", ".a.ini.new2", ".a.ini.new3",
                                      "a.ini", "stranger"}));
}

// Writers killed at random moments: the file is always wholly one of the
// values written, at most one temporary file is ever left, and the next write
// after the last kill leaves none.
TEST_F(ProfileFiles, KilledWritersLeaveTheOldOrTheNewFile) {
  const std::string file = Name("a.ini");
  auto value = [](int n) { return std::string(3000 + n, static_cast<char>('a' + n % 26)); };
  ASSERT_TRUE(ProfileWriteKey(file, "S", "K", value(0)));
  std::srand(12);
  for (int kill_number = 0; kill_number < 50; ++kill_number) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int n = 1;; n = n % 40 + 1) ProfileWriteKey(file, "S", "K", value(n));
    }
    usleep(200 + std::rand() % 8000);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    const std::string text = ReadBytes(file);
    const std::string head = "[S]\r\nK=";
    const size_t size = text.size() - head.size() - 2;
    const bool whole = text.size() >= head.size() + 3002 && text.size() <= head.size() + 3042 &&
                       text == head + value(size - 3000) + "\r\n";
    EXPECT_TRUE(whole) << "kill " << kill_number << ": " << text.size() << " bytes";
    auto entries = dir_.Entries();
    EXPECT_LE(entries.size(), 2u) << "kill " << kill_number;
  }
  EXPECT_TRUE(ProfileWriteKey(file, "S", "K", "last"));
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{"a.ini"});
}
#endif

}  // namespace
}  // namespace files
