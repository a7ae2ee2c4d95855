// IF / ELSE / FI skipping, FOR expansion, stack words and the pending-text guard.
#include "engine_test_support.h"
#include "messages.h"

namespace engine_test {
namespace {

TEST_F(EngineTest, IfElseFiChoosesTheBranch) {
  const std::pair<const char*, Values> cases[] = {
      {"0 IF 1 ELSE 2 FI", {"2"}},
      {"5 IF 1 ELSE 2 FI", {"1"}},
      {"0 IF 0 IF 1 FI 2 ELSE 3 FI", {"3"}},
      {"0 IF 1 IF 2 ELSE 3 FI 4 ELSE 5 FI", {"5"}},  // an inner ELSE does not stop
      {"1 IF 1 ELSE 0 IF 2 ELSE 3 FI 4 FI 6", {"1", "6"}},
      {"1 IF 0 IF 1 ELSE 4 FI 2 ELSE 3 FI", {"4", "2"}},
      {"1 IF 1 IF 1 ELSE 4 FI 2 ELSE 3 FI 9", {"1", "2", "9"}},
      {"0 IF 1 FI 2", {"2"}},
      {"0 IF \"FI \" 7 FI", {}},              // FI inside quotes does not count
      {"0 IF `ELSE` {FI ELSE} 7 ELSE 8 FI", {"8"}},
      {"abc IF 1 ELSE 2 FI", {"1"}},          // a non-number is true
      {"0 IF 1 2 3", {}},                     // no FI: the rest is skipped
      {"1 IF 1 ELSE 2 3", {"1"}},             // ELSE without FI: the rest is skipped
      {"0 IF   1   ELSE   2   FI  3", {"2", "3"}},
      {"0 IF IFX 1 ELSE 2 FI", {"2"}},        // only the exact names count
      {"0 if 1 fi", {"0", "if", "1", "fi"}},  // lower case are plain literals
      {"0 IF 1 FI0 ELSE 2 FI", {"2"}},
  };
  for (const auto& [line, stack] : cases) EXPECT_EQ(After(line), stack) << line;
}

TEST_F(EngineTest, ForRepeatsTheBodyWithItsIndex) {
  EXPECT_EQ(After("3 \"DUP\" FOR"), (Values{"1", "1", "2", "2", "3", "3"}));
  EXPECT_EQ(After("0 5 \"+\" FOR 100"), (Values{"15", "100"}));
  EXPECT_EQ(After("0 \"DUP\" FOR 1"), Values{"1"});
  EXPECT_EQ(After("-3 \"DUP\" FOR"), Values{});
  EXPECT_EQ(After("9 abc \"DUP\" FOR"), Values{"9"}) << "body and count are lost";
  EXPECT_EQ(After("4 \"DUP 2 = IF `two` ELSE DROP FI\" FOR"), (Values{"2", "two"}));
  EXPECT_EQ(After("2 \"2 `x` FOR\" FOR"), (Values{"1", "1", "x", "2", "x", "2", "1", "x", "2", "x"}));
}

TEST_F(EngineTest, StackWords) {
  EXPECT_EQ(After("1 2 DROP"), Values{"1"});
  EXPECT_EQ(After("1 2 CLEARSTEK 3"), Values{"3"});
  host_.statuses.clear();
  After("1 CLEARSTEK DROP");
  EXPECT_EQ(host_.statuses, Values{Cp1251("Ошибка:Стек пуст")});
  EXPECT_EQ(After("1 2 SWAP"), (Values{"2", "1"}));
  EXPECT_EQ(After("x NIL DUP"), (Values{"x", "x"}));
}

TEST_F(EngineTest, RunawayRecursionEndsTheLineWithAMessage) {
  // Each RUN inserts a body that calls itself before its large comment is
  // reached, so the pending text grows by the whole body every time.
  WriteScript(":GROW\r\n 1 DROP GROW RUN {" + std::string(200000, 'c') + "}\r\n;\r\n");
  Run("5 GROW RUN 6");
  EXPECT_EQ(host_.statuses, Values{engine::msg::kLineTooLong});
  EXPECT_EQ(Stack(), Values{"5"}) << "the rest of the line is not run";
  EXPECT_FALSE(e_.busy());
  Run("7");
  EXPECT_EQ(Stack(), (Values{"5", "7"}));
}

TEST_F(EngineTest, LoopWhoseGroupNeverClosesEndsTheLineWithAMessage) {
  // Each iteration opens a comment that no "}" closes: finding its end would
  // write out all the iterations, so the guard ends the line instead.
  Run("5 2000000000 \"{\" FOR 6");
  EXPECT_EQ(host_.statuses, Values{engine::msg::kLineTooLong});
  EXPECT_EQ(Stack(), (Values{"5", "1"})) << "the first iteration pushed its index";
  Run("7");
  EXPECT_EQ(Stack(), (Values{"5", "1", "7"}));
}

TEST_F(EngineTest, TerminatingScriptsRunUnderTheGuard) {
  // Large but finite: a million iterations grow the pending text to ~10 MB.
  Run("0 1000000 \"+\" FOR");
  EXPECT_EQ(Stack(), Values{"1784293664"});  // 500000500000 wrapped to 32 bits
  EXPECT_TRUE(host_.statuses.empty());
}

}  // namespace
}  // namespace engine_test
