// Every word of the program has its reference entry, read from the word
// lists with no window: docs/words.md and the checker cannot drift.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "program_words.h"

namespace {

TEST(ProgramWords, EveryWordIsDocumentedOnce) {
  const engine::WordReference words = zelt::ProgramWords();
  ASSERT_GE(words.entries().size(), 171u);
  std::set<std::string> names;
  for (const engine::WordEntry& entry : words.entries()) {
    EXPECT_TRUE(entry.documented && entry.registered) << entry.name;
    EXPECT_FALSE(entry.group.empty()) << entry.name;
    EXPECT_FALSE(entry.doc.description.empty()) << entry.name;
    EXPECT_TRUE(names.insert(entry.name).second) << entry.name << " is in two rows";
  }
}

TEST(ProgramWords, StackEffectsAreReadable) {
  const engine::WordReference words = zelt::ProgramWords();
  for (const engine::WordEntry& entry : words.entries()) {
    const std::string& effect = entry.doc.effect;
    const bool open =
        effect.find('?') != std::string::npos || effect.find("...") != std::string::npos;
    EXPECT_TRUE(open || engine::CountsOf(effect).has_value())
        << entry.name << ": \"" << effect << "\" is no stack effect";
  }
}

TEST(ProgramWords, CountsFollowTheNotation) {
  auto plus = engine::CountsOf("b a -- n");
  ASSERT_TRUE(plus);
  EXPECT_EQ(plus->pops, 2);
  EXPECT_EQ(plus->pushes, 1);
  auto none = engine::CountsOf("--");
  ASSERT_TRUE(none);
  EXPECT_EQ(none->pops + none->pushes, 0);
  EXPECT_FALSE(engine::CountsOf("name -- ?"));
  EXPECT_FALSE(engine::CountsOf("no effect"));
}

TEST(ProgramWords, WordsCarryTheirGroups) {
  const engine::WordReference words = zelt::ProgramWords();
  ASSERT_TRUE(words.Find("SMID"));
  EXPECT_EQ(words.Find("SMID")->group, "Strings");
  EXPECT_EQ(words.Find("SMID")->doc.effect, "text start count -- part");
  ASSERT_TRUE(words.Find("ONCHANGE"));
  EXPECT_EQ(words.Find("ONCHANGE")->doc.effect, "line --");
  ASSERT_TRUE(words.Find("PROGRESS"));
  EXPECT_EQ(words.Find("PROGRESS")->group, "Window: the page and its controls");
}

}  // namespace
