// What the engine keeps for the page authors' tools: the entry of each word
// in its reference, and the steps of a line told to an observer.
#include "engine_test_support.h"

namespace engine_test {
namespace {

TEST_F(EngineTest, StepsAreToldWithTheStackAfterThem) {
  std::vector<std::string> steps;
  e_.SetStepObserver([&](std::string_view step) {
    std::string shown(step);
    for (int slot = 1; slot <= e_.Depth(); ++slot) shown += " " + e_.StackValue(slot);
    steps.push_back(shown);
  });
  WriteScript(":TWO\r\n 2 \r\n;\r\n");
  // Comments, runs of blanks and NIL are no steps; the body's words follow RUN.
  Run("1 {note}  `a b` TWO RUN NIL SWAP");
  EXPECT_EQ(steps, (Values{"1 1", "`a b` 1 a b", "TWO 1 a b TWO", "RUN 1 a b", "2 1 a b 2",
                           "SWAP 1 2 a b"}));
  e_.SetStepObserver(nullptr);
  Run("3");
  EXPECT_EQ(steps.size(), 6u);
}

TEST_F(EngineTest, EveryCoreWordHasItsEntry) {
  const engine::WordReference& words = e_.reference();
  ASSERT_FALSE(words.entries().empty());
  for (const engine::WordEntry& entry : words.entries()) {
    EXPECT_TRUE(entry.documented && entry.registered) << entry.name;
    EXPECT_TRUE(e_.HasWord(entry.name)) << entry.name;
  }
  ASSERT_NE(words.Find("SWAP"), nullptr);
  EXPECT_EQ(words.Find("SWAP")->group, "Arithmetic and comparison");
  EXPECT_EQ(words.Find("SWAP")->doc.effect, "b a -- a b");
  EXPECT_EQ(words.Find("NOSUCHWORD"), nullptr);
}

TEST_F(EngineTest, ListsBindTheirContextAndGroup) {
  e_.Register("NEWWORD", [](engine::Engine&, engine::Frame&) {});
  const engine::WordEntry* bare = e_.reference().Find("NEWWORD");
  ASSERT_NE(bare, nullptr);
  EXPECT_TRUE(bare->registered);
  EXPECT_FALSE(bare->documented);
  EXPECT_EQ(bare->group, "");

  static constexpr engine::WordRow<int> kRows[] = {
      {"BUMP", "--", "Counts.", [](int& n, engine::Engine&, engine::Frame&) { ++n; }}};
  int count = 0;
  engine::AddWords(e_, engine::WordList<int>{"Test", kRows}, count);
  Run("BUMP BUMP");
  EXPECT_EQ(count, 2);
  const engine::WordEntry* listed = e_.reference().Find("BUMP");
  ASSERT_NE(listed, nullptr);
  EXPECT_TRUE(listed->documented && listed->registered);
  EXPECT_EQ(listed->group, "Test");
}

}  // namespace
}  // namespace engine_test
