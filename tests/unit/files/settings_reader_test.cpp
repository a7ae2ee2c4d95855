#include "settings_reader.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace files {
namespace {

using files_test::TempDir;
using files_test::WriteBytes;

const std::string kFile =
    "[Main]\r\n"
    "Name=Zelt\r\n"
    "Tel=+7900\r\n"
    "\r\n"
    "[Other]\r\n"
    "Tel=other\r\n";

TEST(ReadSettingsValue, FindsKeysOfTheirOwnSectionOnly) {
  EXPECT_EQ(ReadSettingsValue(kFile, "Main", "Tel"), "+7900");
  EXPECT_EQ(ReadSettingsValue(kFile, "Main", "Name"), "Zelt");
  EXPECT_EQ(ReadSettingsValue(kFile, "Other", "Tel"), "other");
  EXPECT_EQ(ReadSettingsValue(kFile, "Other", "Name"), "");
  EXPECT_EQ(ReadSettingsValue(kFile, "main", "Tel"), "");  // names compare exactly
  EXPECT_EQ(ReadSettingsValue(kFile, "Main", "tel"), "");
  EXPECT_EQ(ReadSettingsValue(kFile, "None", "Tel"), "");
  EXPECT_EQ(ReadSettingsValue("", "Main", "Tel"), "");
}

TEST(ReadSettingsValue, KeyMatchesOnlyAtTheStartOfAKeyLine) {
  std::string text = "[Main]\r\nXTel=5\r\nNote=Tel=9\r\nTel=7\r\n";
  EXPECT_EQ(ReadSettingsValue(text, "Main", "Tel"), "7");
  EXPECT_EQ(ReadSettingsValue(text, "Main", "XTel"), "5");
}

TEST(ReadSettingsValue, BracketsInsideValuesNeitherEndNorStartSections) {
  std::string text =
      "[Main]\r\n"
      "Note=see [Other] and [x\r\n"
      "Tel=7\r\n"
      "[Other]\r\n"
      "Tel=8\r\n";
  EXPECT_EQ(ReadSettingsValue(text, "Main", "Tel"), "7");
  EXPECT_EQ(ReadSettingsValue(text, "Other", "Tel"), "8");
  // A header with more on its line is no header.
  EXPECT_EQ(ReadSettingsValue("[Main] x\r\nTel=1\r\n", "Main", "Tel"), "");
}

TEST(ReadSettingsValue, LastLineWithoutLineEndReadsItsValue) {
  EXPECT_EQ(ReadSettingsValue("[Main]\r\nTel=7", "Main", "Tel"), "7");
  EXPECT_EQ(ReadSettingsValue("[Main]\nA=1\nTel=7\n", "Main", "Tel"), "7");  // LF only
  EXPECT_EQ(ReadSettingsValue("[Main]\r\nTel=\r\n", "Main", "Tel"), "");
}

TEST(ReadSettingsValue, FirstOfDuplicatesWinsAndBytesPassUnchanged) {
  std::string text = files_test::Bytes("[Main]\r\nA=\xC0\x00\xFF") + "\r\nA=2\r\n[Main]\r\nB=3\r\n";
  EXPECT_EQ(ReadSettingsValue(text, "Main", "A"), files_test::Bytes("\xC0\x00\xFF"));
  EXPECT_EQ(ReadSettingsValue(text, "Main", "B"), "");  // only the first section counts
}

TEST(TrimTildes, TakesAtMostOneFromEachEnd) {
  auto trim = [](std::string s) { TrimTildes(s); return s; };
  EXPECT_EQ(trim("~abc~"), "abc");
  EXPECT_EQ(trim("~~a~~"), "~a~");
  EXPECT_EQ(trim("~"), "");
  EXPECT_EQ(trim("~~"), "");
  EXPECT_EQ(trim("a~b"), "a~b");
}

TEST(JoinLongValue, JoinsPiecesUpToTheFirstMissingOne) {
  std::string text =
      "[M]\r\nV=~ab~\r\nV_1=~c~d~\r\nV_2=~e~\r\nV_4=~lost~\r\nW=~short~\r\nE=\r\nE_1=~x~\r\n";
  EXPECT_EQ(JoinLongValue(text, "M", "V"), "abc~de");
  EXPECT_EQ(JoinLongValue(text, "M", "W"), "short");
  EXPECT_EQ(JoinLongValue(text, "M", "E"), "x");
  EXPECT_EQ(JoinLongValue(text, "M", "None"), "");
}

TEST(ReadLongValue, FileThatCannotBeLoadedReadsEmpty) {
  TempDir dir;
  WriteBytes(dir.path() / "a.ini", "[M]\r\nTel=1\r\n");
  std::string buffer;
  EXPECT_EQ(ReadLongValue(buffer, dir.Name("a.ini"), "M", "Tel"), "1");
  // Not the previous file's value.
  EXPECT_EQ(ReadLongValue(buffer, dir.Name("missing.ini"), "M", "Tel"), "");
  EXPECT_EQ(ReadLongValue(buffer, dir.path().string(), "M", "Tel"), "");  // a folder
  EXPECT_EQ(ReadLongValue(buffer, "", "M", "Tel"), "");
  EXPECT_EQ(ReadLongValue(buffer, std::string("a.ini\0x", 7), "M", "Tel"), "");
  EXPECT_TRUE(buffer.empty());
}

// KEY% sees keys anywhere in a file, however long: a long value written by
// KEY! past the first 500000 bytes used to read back empty.
TEST(LoadSettingsText, ReadsTheWholeFile) {
  TempDir dir;
  std::string head = "[M]\r\nA=1\r\n";
  std::string filler = "F=" + std::string(500000 - head.size() - 2 - 4, 'x') + "\r\n";
  std::string text = head + filler + "B=123456\r\n" + std::string(1000000, ';') + "\r\nC=9\r\n";
  WriteBytes(dir.path() / "big.ini", text);
  std::string buffer;
  ASSERT_TRUE(LoadSettingsText(dir.Name("big.ini"), buffer));
  EXPECT_EQ(buffer, text);
  EXPECT_EQ(JoinLongValue(buffer, "M", "A"), "1");
  EXPECT_EQ(JoinLongValue(buffer, "M", "B"), "123456");
  EXPECT_EQ(JoinLongValue(buffer, "M", "C"), "9");
}

}  // namespace
}  // namespace files
