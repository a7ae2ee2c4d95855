// >UTF8, UTF8> and UTF8?: Windows-1251 page texts to and from UTF-8 files.
#include "engine_test_support.h"

namespace engine_test {
namespace {

class Utf8Words : public EngineTest {
 protected:
  // Runs `word` on one value pushed as it stands (raw bytes).
  std::string Apply(const std::string& bytes, const char* word) {
    e_.ClearStack();
    e_.Push(bytes);
    e_.ExecuteLine(word);
    EXPECT_EQ(e_.Depth(), 1) << word;
    return e_.Pop();
  }
};

TEST_F(Utf8Words, CyrillicBothWays) {
  const std::string utf8 = "Привет, мир! Ёж №5 — «тест»";
  const std::string cp1251 = Cp1251(utf8);
  ASSERT_EQ(cp1251.size(), 27u);  // one byte per character
  EXPECT_EQ(Apply(cp1251, ">UTF8"), utf8);
  EXPECT_EQ(Apply(utf8, "UTF8>"), cp1251);
  EXPECT_EQ(Apply(Apply(cp1251, ">UTF8"), "UTF8>"), cp1251);
  EXPECT_EQ(Apply(Apply(cp1251, ">UTF8"), "UTF8?"), "1");
}

TEST_F(Utf8Words, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Apply(Apply(all, ">UTF8"), "UTF8>"), all);
}

TEST_F(Utf8Words, WhatTheCodePageLacksOrIsBrokenBecomesAQuestionMark) {
  EXPECT_EQ(Apply("a\xE2\x82\xAC\xF0\x9F\x98\x80z", "UTF8>"), "a\x88?z");  // euro sign, emoji
  EXPECT_EQ(Apply("\xEF\xBB\xBF\xD0\x94\xD0\xB0", "UTF8>"), Cp1251("Да"));  // byte order mark
  EXPECT_EQ(Apply("x\xD0", "UTF8>"), "x?");                                // cut short
  EXPECT_EQ(Apply("\xC0\x80.", "UTF8>"), "??.");                           // overlong
  EXPECT_EQ(Apply("", "UTF8>"), "");
}

TEST_F(Utf8Words, ValidityCheck) {
  EXPECT_EQ(Apply("", "UTF8?"), "1");
  EXPECT_EQ(Apply("plain ASCII", "UTF8?"), "1");
  EXPECT_EQ(Apply("\xEF\xBB\xBF\xD0\x94", "UTF8?"), "1");
  EXPECT_EQ(Apply("\xF0\x9F\x98\x80", "UTF8?"), "1");
  EXPECT_EQ(Apply(Cp1251("Привет"), "UTF8?"), "0");  // a Windows-1251 file
  EXPECT_EQ(Apply("\xD0", "UTF8?"), "0");
  EXPECT_EQ(Apply("\xC0\xAF", "UTF8?"), "0");          // overlong '/'
  EXPECT_EQ(Apply("\xED\xA0\x80", "UTF8?"), "0");      // surrogate
  EXPECT_EQ(Apply("\xF4\x90\x80\x80", "UTF8?"), "0");  // above U+10FFFF
  EXPECT_EQ(Apply("\x80", "UTF8?"), "0");
}

TEST_F(Utf8Words, EmptyStackGivesEmptyText) {
  EXPECT_EQ(After(">UTF8"), (Values{""}));
  EXPECT_EQ(After("UTF8>"), (Values{""}));
  EXPECT_EQ(After("UTF8?"), (Values{"1"}));
}

}  // namespace
}  // namespace engine_test
