// Every word the program registers has its entry in the reference, and every
// entry belongs to a registered word: docs/words.md cannot drift.
#include <gtest/gtest.h>

#include <string>

#include "program_words.h"

namespace {

TEST(WordReference, EveryRegisteredWordIsDocumented) {
  const engine::WordReference& words = authoring::ProgramWords();
  ASSERT_GE(words.entries().size(), 171u);
  for (const engine::WordEntry& entry : words.entries()) {
    EXPECT_TRUE(entry.documented) << entry.name
                                  << " is registered without engine.Document(...) next to it";
    EXPECT_TRUE(entry.registered) << entry.name << " is documented but never registered";
    EXPECT_FALSE(entry.group.empty()) << entry.name << " has no group (engine::WordGroup)";
    EXPECT_FALSE(entry.doc.description.empty()) << entry.name;
  }
}

TEST(WordReference, StackEffectsAreReadable) {
  for (const engine::WordEntry& entry : authoring::ProgramWords().entries()) {
    const std::string& effect = entry.doc.effect;
    const bool open =
        effect.find('?') != std::string::npos || effect.find("...") != std::string::npos;
    EXPECT_TRUE(open || engine::CountsOf(effect).has_value())
        << entry.name << ": \"" << effect << "\" is no stack effect";
  }
}

TEST(WordReference, CountsFollowTheNotation) {
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

TEST(WordReference, EngineWordsCarryTheirGroups) {
  const engine::WordReference& words = authoring::ProgramWords();
  ASSERT_TRUE(words.Find("SMID"));
  EXPECT_EQ(words.Find("SMID")->group, "Strings");
  EXPECT_EQ(words.Find("SMID")->doc.effect, "text start count -- part");
  ASSERT_TRUE(words.Find("ONCHANGE"));
  EXPECT_EQ(words.Find("ONCHANGE")->doc.effect, "line --");
}

}  // namespace
