// Values and number rules, CutBetween, the pending text, the stack, the
// tokenizer, the trace log and re-entrant ExecuteLine.
#include <algorithm>
#include <random>
#include <regex>

#include "engine_test_support.h"
#include "pending_text.h"

namespace engine_test {
namespace {

TEST(NumberRules, AcceptsDecimalAndHexPatterns) {
  const std::pair<const char*, int32_t> accepted[] = {
      {" 12", 12},          {"+7", 7},          {"$FF", 255},       {"0x10", 16},
      {"x1f", 31},          {"X1F", 31},        {"0X1f", 31},       {"-5", -5},
      {"$FFFFFFFF", -1},    {"-$10", -16},      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},               {"000000000000042", 42},
      {"$80000000", INT32_MIN}};
  for (const auto& [text, number] : accepted) {
    auto n = engine::ToNumber(text);
    ASSERT_TRUE(n.has_value()) << text;
    EXPECT_EQ(*n, number) << text;
  }
}

TEST(NumberRules, RejectsEverythingElse) {
  for (const char* text : {"", " ", "12 ", "1.5", "abc", "-", "+", "2147483648",
                           "-2147483649", "$", "0x", "$123456789", "1 2", "- 5", "\t5",
                           "99999999999999999999", "$FG", "12a", "$-5"})
    EXPECT_FALSE(engine::ToNumber(text).has_value()) << '"' << text << '"';
  EXPECT_FALSE(engine::ToNumber(std::string("5\0", 2)).has_value());
}

TEST(NumberRules, NumberToTextIsPlainDecimal) {
  EXPECT_EQ(engine::NumberToText(0), "0");
  EXPECT_EQ(engine::NumberToText(-2147483648LL), "-2147483648");
  EXPECT_EQ(engine::NumberToText(255), "255");
}

struct CutCase {
  std::string text, start, end, piece, rest;
};

TEST(CutBetween, FollowsTheCuttingRules) {
  const CutCase cases[] = {
      {"abc def ghi", "", " ", "abc", "def ghi"},
      {"\"x y\" z", "\"", "\" ", "x y", "z"},
      {"abc", "", " ", "abc", ""},
      {"a", "", "a", "", ""},
      {"\"abc", "\"", "\" ", "", "bc"},     // unclosed quote loses two characters
      {"{a b", "{", "}", "", "a b"},        // unclosed brace loses only "{"
      {"x", "\"", "\" ", "", "x"},          // start marker missing: unchanged
      {"ab{c}d", "{", "}", "c", "d"},       // text ahead of the start marker goes too
      {"\"\" rest", "\"", "\" ", "", "rest"},
      {"abc", "", "", "abc", ""},           // an empty end marker is never found
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(engine::CutBetween(text, c.start, c.end), c.piece) << c.text;
    EXPECT_EQ(text, c.rest) << c.text;
    engine::PendingText pending(c.text);
    EXPECT_EQ(pending.CutBetween(c.start, c.end), c.piece) << c.text;
    EXPECT_EQ(pending.View(), c.rest) << c.text;
  }
}

TEST(PendingText, PrependAndConsumeMatchPlainStrings) {
  // Random inserts and cuts against a std::string doing the same by copying.
  std::mt19937 random(7);
  engine::PendingText pending("start of line ");
  std::string model = "start of line ";
  for (int step = 0; step < 5000; ++step) {
    switch (random() % 3) {
      case 0: {
        std::string body(random() % 40, 'a' + static_cast<char>(random() % 26));
        if (random() % 2) body += ' ';
        pending.Prepend(body);
        model = body + model;
        break;
      }
      case 1:
        EXPECT_EQ(pending.CutBetween("", " "), engine::CutBetween(model, "", " "));
        break;
      default:
        pending.TrimLeadingBlanks();
        engine::TrimLeadingBlanks(model);
    }
    ASSERT_EQ(pending.View(), model) << "step " << step;
  }
}

TEST_F(EngineTest, StackHoldsNineteenValues) {
  for (int i = 1; i <= 19; ++i) e_.Push(std::to_string(i));
  EXPECT_TRUE(host_.statuses.empty());
  e_.Push("20");
  EXPECT_EQ(e_.Depth(), 19);
  EXPECT_EQ(host_.statuses, Values{Cp1251("Ошибка:Стек преполнен")});
  EXPECT_EQ(e_.Pop(), "19");
  // Both stack messages reach the trace log although tracing is off.
  e_.ClearStack();
  EXPECT_EQ(e_.Pop(), "");
  EXPECT_EQ(e_.Depth(), 0);
  EXPECT_EQ(host_.statuses.back(), Cp1251("Ошибка:Стек пуст"));
  EXPECT_EQ(TraceLines(), (Values{Cp1251("Ошибка:Стек преполнен"), Cp1251("Ошибка:Стек пуст")}));
  EXPECT_FALSE(e_.trace());
}

TEST_F(EngineTest, DupOnEmptyStackPushesTwoEmptyValues) {
  EXPECT_EQ(After("DUP"), (Values{"", ""}));
  EXPECT_EQ(host_.statuses.size(), 1u);
}

TEST_F(EngineTest, TokenizerGroupsCommentsAndBlanks) {
  EXPECT_EQ(After("1 2 +"), Values{"3"});
  EXPECT_EQ(After("1    2   +"), Values{"3"});
  EXPECT_EQ(After("\"a b\" 5 ! {c d} 5 %"), (Values{"a b"}));
  EXPECT_EQ(After("\"x\"y z\" 1"), (Values{"x\"y z", "1"}));
  EXPECT_EQ(After("1 {DUP + RUN \"} 2"), (Values{"1", "2"}));
  EXPECT_EQ(After("{c}7"), Values{"7"});
  EXPECT_EQ(After("`RUN` `MAIN` MAIN NIL run"), (Values{"RUN", "MAIN", "MAIN", "run"}));
  // An unclosed group pushes the empty text and loses the quote and one character.
  EXPECT_EQ(After("\"1 2\"x 3"), (Values{"", "2\"x", "3"}));
  EXPECT_EQ(After("\"abc"), (Values{"", "bc"}));
  EXPECT_EQ(After("{1 2"), (Values{"1", "2"}));
  EXPECT_EQ(After(""), Values{});
  EXPECT_EQ(After("   "), Values{});
}

TEST_F(EngineTest, FaultingWordKeepsTheValuesBelow) {
  EXPECT_EQ(After("7 abc +"), Values{"7"});
  EXPECT_EQ(After("9 7 abc + 1"), (Values{"9", "7", "1"}));
  EXPECT_EQ(After("abc 7 +"), Values{});
  EXPECT_FALSE(e_.busy());
}

TEST_F(EngineTest, TraceOfALine) {
  e_.set_trace(true);
  Run("1 DUP +");
  EXPECT_EQ(TraceLines(),
            (Values{Cp1251("Выполнение строки:1 DUP +"), "C" + Cp1251("тек:"), "1",
                    Cp1251("В стек:1"), "C" + Cp1251("тек:\"1\" "), "DUP",
                    "C" + Cp1251("тек:\"1\" \"1\" "), "+"}));
  EXPECT_EQ(TraceLines()[1][0], 'C') << "the stack line starts with a Latin C";
}

TEST_F(EngineTest, TraceOfGroupsStackOrderAndEmptyLine) {
  e_.Push("a");
  e_.set_trace(true);
  Run("\"x y\" `q` {note} b");
  Run("");
  EXPECT_EQ(TraceLines(),
            (Values{Cp1251("Выполнение строки:\"x y\" `q` {note} b"), Cp1251("В стек:x y"),
                    Cp1251("В стек:q"), "C" + Cp1251("тек:\"q\" \"x y\" \"a\" "), "b",
                    Cp1251("В стек:b"), Cp1251("Выполнение строки:")}));
}

TEST_F(EngineTest, DebugSwitchesTracingFromTheNextWord) {
  Run("1 DEBUG 5 0 DEBUG 6");
  const Values lines = TraceLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "C" + Cp1251("тек:"));
  EXPECT_EQ(lines.back(), "DEBUG");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "6"), 0);
  Run("5 -1 DEBUG");
  EXPECT_FALSE(e_.trace());
  Run("1 DEBUG abc DEBUG");
  EXPECT_TRUE(e_.trace()) << "a non-number leaves the flag as it was";
}

TEST_F(EngineTest, DotLogsTheTopValueAndDumpsTheCells) {
  Run("a 0 ! \"x y\" 5 ! q 256 ! 5 .");
  EXPECT_EQ(Stack(), Values{"5"});
  ASSERT_EQ(host_.events.size(), 1u);
  const std::string prefix = Cp1251("На стеке:") + "5 ";
  ASSERT_EQ(host_.events[0].substr(0, prefix.size()), prefix);
  EXPECT_TRUE(std::regex_match(host_.events[0].substr(prefix.size()),
                               std::regex(R"(\d\d\.\d\d-\d\d:\d\d:\d\d)")))
      << host_.events[0];
  EXPECT_EQ(TraceLines(), Values{Cp1251("Ячейки:") + " 0=\"a\" 5=\"x y\" 256=\"q\""});
}

TEST_F(EngineTest, BusyFlagAndCursorAroundALine) {
  std::vector<bool> seen;
  e_.Register("PROBE", [&](engine::Engine& e, engine::Frame&) { seen.push_back(e.busy()); });
  e_.set_rest_cursor(engine::Cursor::kHourglass);
  Run("PROBE");
  EXPECT_EQ(seen, std::vector<bool>{true});
  EXPECT_FALSE(e_.busy());
  EXPECT_EQ(host_.cursors,
            (std::vector<engine::Cursor>{engine::Cursor::kHourglass, engine::Cursor::kHourglass}));
}

TEST_F(EngineTest, NestedLinesShareTheStackAndKeepTheirOwnPendingText) {
  std::vector<bool> busy_after_nested;
  e_.Register("NEST", [&](engine::Engine& e, engine::Frame&) {
    const engine::Value line = e.Pop();
    e.ExecuteLine(line);
    busy_after_nested.push_back(e.busy());
  });
  // The nested line's IF skip and FOR expansion stay inside the nested line.
  Run("1 `2 + 0 IF 9` NEST 10 `2 \"DROP\" FOR 7` NEST 8");
  EXPECT_EQ(Stack(), (Values{"3", "10", "7", "8"}));
  EXPECT_EQ(busy_after_nested, (std::vector<bool>{false, false}));
  EXPECT_FALSE(e_.busy());
}

TEST_F(EngineTest, EndlessNestingStopsAtTheLimitAndTheLineGoesOn) {
  int deepest = 0;
  e_.Register("NEST", [&](engine::Engine& e, engine::Frame&) {
    deepest = std::max(deepest, e.nesting());
    const engine::Value line = e.Pop();
    e.ExecuteLine(line);
  });
  // Each nested line nests itself again; only the limit ends it.
  Run("`DUP NEST` DUP NEST `after` ");
  EXPECT_EQ(deepest, engine::Engine::kMaxNesting);
  EXPECT_EQ(Stack(), (Values{"DUP NEST", "after"}));
  EXPECT_EQ(host_.statuses, Values{Cp1251("Ошибка:Слишком много вложенных строк скрипта")});
  EXPECT_EQ(e_.nesting(), 0);
  EXPECT_FALSE(e_.busy());
  // The limit counts lines now running, not lines run so far.
  Run("`1 DROP` NEST `2 DROP` NEST");
  EXPECT_EQ(host_.statuses.size(), 1u);
}

TEST_F(EngineTest, UnknownWordsArePushedAsLiterals) {
  e_.set_trace(true);
  Run("MAIN");
  EXPECT_EQ(Stack(), Values{"MAIN"});
  EXPECT_EQ(TraceLines().back(), Cp1251("В стек:MAIN"));
}

}  // namespace
}  // namespace engine_test
