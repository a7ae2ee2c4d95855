#include <gtest/gtest.h>

#include "cp1251.h"
#include "settings_reader.h"
#include "words_fixture.h"

namespace files {
namespace {

using files_test::AsOrdinaryUser;
using files_test::ReadBytes;
using files_test::Stack;
using files_test::WriteBytes;
namespace fs = std::filesystem;

class FileWords : public files_test::WordsTest {};

TEST_F(FileWords, WriteFileAppendsOneByteAndCreatesMissingFiles) {
  EXPECT_EQ(Run("65 " + Q("w.bin") + "WRITEFILE 300 " + Q("w.bin") + "WRITEFILE -1 " + Q("w.bin") +
                "WRITEFILE $30 " + Q("w.bin") + "WRITEFILE"),
            Stack{});
  EXPECT_EQ(ReadBytes(Path("w.bin")), "A,\xFF" "0");
  // A code that is no number writes nothing and creates nothing.
  EXPECT_EQ(Run("abc " + Q("x.bin") + "WRITEFILE"), Stack{});
  EXPECT_FALSE(fs::exists(Path("x.bin")));
  // Into a folder, a missing folder or an empty name: nothing written, nothing pushed.
  EXPECT_EQ(Run("1 " + Q("") + "WRITEFILE 1 " + Q("no/w.bin") + "WRITEFILE 1 \"\" WRITEFILE"),
            Stack{});
}

TEST_F(FileWords, WriteFileNeverTruncates) {
  WriteBytes(Path("keep.bin"), "old");
  Run("66 " + Q("keep.bin") + "WRITEFILE");
  EXPECT_EQ(ReadBytes(Path("keep.bin")), "oldB");
  fs::permissions(dir_.path(), fs::perms::all);
  fs::permissions(Path("keep.bin"), fs::perms(0444));
  UNIX_ONLY("a read-only file: Wine run as root writes it all the same");
  std::string line = "67 " + Q("keep.bin") + "WRITEFILE";
  EXPECT_TRUE(AsOrdinaryUser([&] { return Run(line).empty(); }));
  EXPECT_EQ(ReadBytes(Path("keep.bin")), "oldB");
}

TEST_F(FileWords, LenFileMeasuresUpToTheLimit) {
  WriteBytes(Path("empty.bin"), "");
  WriteBytes(Path("abc.bin"), "ABC");
  WriteBytes(Path("big.bin"), std::string(kFileReadLimit + 10, 'x'));
  EXPECT_EQ(Run(Q("empty.bin") + "LENFILE " + Q("abc.bin") + "LENFILE " + Q("big.bin") +
                "LENFILE " + Q("none.bin") + "LENFILE " + Q("") + "LENFILE"),
            (Stack{"0", "3", "500000", "0", "0"}));
  EXPECT_EQ(Run("LENFILE"), Stack{"0"});
}

TEST_F(FileWords, ExistPushesAPositiveNumberForReadableFilesOnly) {
  WriteBytes(Path("a.bin"), "A");
  fs::create_directory(Path("sub"));
  Stack stack = Run(Q("a.bin") + "EXIST " + Q("none.bin") + "EXIST " + Q("sub") + "EXIST");
  ASSERT_EQ(stack.size(), 3u);
  EXPECT_GT(std::stoi(stack[0]), 0);
  EXPECT_EQ(stack[1], "0");
  EXPECT_EQ(stack[2], "0");
  EXPECT_EQ(Run("EXIST"), Stack{"0"});
}

TEST_F(FileWords, ReadsByteByByteAndInRuns) {
  WriteBytes(Path("abc.bin"), "ABC");
  Stack stack = Run(Q("abc.bin") + "OPENFILE READFILE READFILE READFILE READFILE");
  ASSERT_EQ(stack.size(), 5u);
  EXPECT_GT(std::stoi(stack[0]), 0);
  EXPECT_EQ(Stack(stack.begin() + 1, stack.end()), (Stack{"65", "66", "67", "32"}));

  stack = Run(Q("abc.bin") + "OPENFILE DROP 2 READFILES 5 READFILES 5 READFILES");
  EXPECT_EQ(stack, (Stack{"AB", "C", ""}));
  stack = Run(Q("abc.bin") + "OPENFILE DROP 0 READFILES -3 READFILES 99999999 READFILES");
  EXPECT_EQ(stack, (Stack{"", "", "ABC"}));
}

TEST_F(FileWords, WithoutAnOpenFileReadingPushesTheDefaults) {
  WriteBytes(Path("abc.bin"), "ABC");
  EXPECT_EQ(Run("READFILE 5 READFILES"), (Stack{"0", "5"}));
  EXPECT_EQ(Run(Q("none.bin") + "OPENFILE READFILE 5 READFILES"), (Stack{"-1", "0", "5"}));
  EXPECT_EQ(Run(Q("abc.bin") + "OPENFILE DROP CLOSEFILE READFILE 2 READFILES CLOSEFILE"),
            (Stack{"0", "2"}));
  EXPECT_EQ(Run(Q("abc.bin") + "OPENFILE DROP " + Q("abc.bin") + "LENFILE READFILE"),
            (Stack{"3", "0"}));
  // A count that is no number comes back unchanged, with a file open too.
  EXPECT_EQ(Run(Q("abc.bin") + "OPENFILE DROP 2a READFILES READFILE"), (Stack{"2a", "65"}));
}

TEST_F(FileWords, BytesPassUnchangedZeroIncluded) {
  std::string bytes = files_test::Bytes("\x00\xFF\r\n\xC0 ");
  WriteBytes(Path("bin"), bytes);
  EXPECT_EQ(Run(Q("bin") + "OPENFILE DROP 100 READFILES"), Stack{bytes});
  EXPECT_EQ(Run(Q("bin") + "OPENFILE DROP READFILE READFILE"), (Stack{"0", "255"}));
}

int OpenDescriptors() {
  int count = 0;
  for ([[maybe_unused]] auto& entry : fs::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

TEST_F(FileWords, OpenFileAndLenFileCloseTheFileInTheSlot) {
  UNIX_ONLY("counts the open descriptors in /proc/self/fd");
  WriteBytes(Path("abc.bin"), "ABC");
  int before = OpenDescriptors();
  std::string line;
  for (int i = 0; i < 50; ++i) line += Q("abc.bin") + "OPENFILE DROP ";
  Run(line);
  EXPECT_EQ(OpenDescriptors(), before + 1);  // only the slot's file
  Run(Q("abc.bin") + "LENFILE DROP");
  EXPECT_EQ(OpenDescriptors(), before);
  Run(Q("abc.bin") + "OPENFILE DROP " + Q("none.bin") + "OPENFILE DROP");
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_EQ(state_.slot, 0);
}

TEST_F(FileWords, CopyFileReplacesTheTargetOrLeavesItAlone) {
  WriteBytes(Path("src.bin"), files_test::Bytes("new\x00"));
  WriteBytes(Path("dst.bin"), "old contents");
  EXPECT_EQ(Run(Q("src.bin") + Q("dst.bin") + "COPYFILE"), Stack{"255"});
  EXPECT_EQ(ReadBytes(Path("dst.bin")), files_test::Bytes("new\x00"));
  EXPECT_EQ(Run(Q("src.bin") + Q("fresh.bin") + "COPYFILE"), Stack{"255"});
  EXPECT_EQ(ReadBytes(Path("fresh.bin")), files_test::Bytes("new\x00"));

  WriteBytes(Path("dst.bin"), "old");
  EXPECT_EQ(Run(Q("none.bin") + Q("dst.bin") + "COPYFILE"), Stack{"0"});
  EXPECT_EQ(ReadBytes(Path("dst.bin")), "old");
  EXPECT_EQ(Run(Q("src.bin") + Q("no/dst.bin") + "COPYFILE " + Q("src.bin") + Q("") +
                "COPYFILE"),
            (Stack{"0", "0"}));
  // Onto itself: the file stays whole.
  EXPECT_EQ(Run(Q("src.bin") + Q("src.bin") + "COPYFILE"), Stack{"255"});
  EXPECT_EQ(ReadBytes(Path("src.bin")), files_test::Bytes("new\x00"));
  // Names beyond 254 characters are used whole, not cut to another name.
  std::string long_leaf = std::string(250, 'n') + ".bin";
  EXPECT_EQ(Run(Q("src.bin") + Q(long_leaf) + "COPYFILE"), Stack{"255"});
  EXPECT_TRUE(fs::exists(Path(long_leaf)));
  EXPECT_EQ(dir_.Entries(),
            (std::vector<std::string>{"dst.bin", "fresh.bin", long_leaf, "src.bin"}));
}

TEST_F(FileWords, DeleteFileDeletesFilesOnly) {
  WriteBytes(Path("a.bin"), "A");
  fs::create_directory(Path("sub"));
  EXPECT_EQ(Run(Q("a.bin") + "DELETEFILE " + Q("a.bin") + "DELETEFILE " + Q("sub") +
                "DELETEFILE DELETEFILE"),
            Stack{});
  EXPECT_FALSE(fs::exists(Path("a.bin")));
  EXPECT_TRUE(fs::is_directory(Path("sub")));
}

TEST_F(FileWords, CyrillicNamesReachTheSameFileAsOtherPrograms) {
  std::string leaf = "\xD4\xE0\xE9\xEB.bin";  // "Файл.bin" in Windows-1251
  Run("70 " + Q(leaf) + "WRITEFILE");
  EXPECT_EQ(ReadBytes(dir_.path() / fs::path(u8"Файл.bin")), "F");
  EXPECT_EQ(Run(Q(leaf) + "LENFILE"), Stack{"1"});
}

TEST_F(FileWords, NamesWithoutAFolderAreInTheWorkingFolder) {
  fs::path saved = fs::current_path();
  fs::current_path(dir_.path());
  Run("65 here.bin WRITEFILE");
  Stack stack = Run("here.bin LENFILE");
  fs::current_path(saved);
  EXPECT_EQ(stack, Stack{"1"});
  EXPECT_EQ(ReadBytes(Path("here.bin")), "A");
}

TEST_F(FileWords, PathAndSpathAreEmpty) { EXPECT_EQ(Run("PATH SPATH"), (Stack{"", ""})); }

TEST_F(FileWords, DialogsByDefaultAnswerAsCancelled) {
  EXPECT_EQ(Run("keep *.* OPENDLG x.txt WRITEDLG"), (Stack{"keep", "", ""}));
}

class AnsweringDialogs : public FileDialogs {
 public:
  std::optional<std::string> Open(const std::string& initial, const std::string& filter) override {
    shown += "open:" + initial + Filter(filter) + ";";
    return std::string("C:\\data\\a.bin");
  }
  std::optional<std::string> Save(const std::string& initial, const std::string& filter) override {
    shown += "save:" + initial + Filter(filter) + ";";
    return std::nullopt;
  }
  static std::string Filter(const std::string& filter) {
    return filter.empty() ? std::string() : "[" + filter + "]";
  }
  std::string shown;
};

class DialogWords : public files_test::WordsTest {
 protected:
  DialogWords() : WordsTest(&dialogs_) {}
  static inline AnsweringDialogs dialogs_;
};

TEST_F(DialogWords, PassTheInitialNameAndPushTheAnswer) {
  EXPECT_EQ(Run("*.* OPENDLG \"my file.bin\" WRITEDLG"), (Stack{"C:\\data\\a.bin", ""}));
  EXPECT_EQ(dialogs_.shown, "open:*.*;save:my file.bin;");
}

TEST_F(DialogWords, FilterServesTheNextDialogOnly) {
  dialogs_.shown.clear();
  EXPECT_EQ(Run("\"CSV (*.csv);;All (*)\" DLGFILTER a.csv WRITEDLG b.csv WRITEDLG"),
            (Stack{"", ""}));
  EXPECT_EQ(Run("`Text (*.txt)` DLGFILTER *.* OPENDLG"), (Stack{"C:\\data\\a.bin"}));
  EXPECT_EQ(dialogs_.shown,
            "save:a.csv[CSV (*.csv);;All (*)];save:b.csv;open:*.*[Text (*.txt)];");
}

}  // namespace
}  // namespace files
