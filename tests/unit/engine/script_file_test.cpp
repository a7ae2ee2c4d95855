// RUN and the script file Setup.KVS: definitions, groups around the ending
// semicolon, the cache and the trace lines.
#include <algorithm>
#include <functional>

#include "engine_test_support.h"
#include "script_file.h"

namespace engine_test {
namespace {

TEST_F(EngineTest, RunInsertsTheBodyBeforeTheRestOfTheLine) {
  WriteScript(":X\r\n 1 \r\n;\r\n");
  EXPECT_EQ(After("X RUN 2"), (Values{"1", "2"}));
  EXPECT_EQ(After("X RUN"), Values{"1"});
  EXPECT_EQ(After("NOSUCH RUN 2"), Values{"2"});
  EXPECT_EQ(After("`X` RUN X RUN"), (Values{"1", "1"}));
}

TEST_F(EngineTest, BodiesAreNormalisedAndEndAtTheFirstFreeSemicolon) {
  WriteScript(
      "comment before\r\n"
      ":START\r\n\"Hello\" 1 !\r\n;\r\n"
      ":Q\r\n\"a;b\" `c;d` {e;f} 3\r\n;\r\n"
      ":X\r\n1\r\n;\r\n"
      ":X\r\n2\r\n;\r\n"
      ":SPACE \r\n9\r\n;\r\n"
      ":OPEN\r\n\"never closed ;\r\n");
  EXPECT_EQ(e_.LoadDefinition("START"), "\"Hello\" 1 !  ");
  EXPECT_EQ(e_.LoadDefinition("Q"), "\"a;b\" `c;d` {e;f} 3  ");
  EXPECT_EQ(After("Q RUN"), (Values{"a;b", "c;d", "3"}));
  EXPECT_EQ(After("X RUN"), Values{"1"}) << "the first definition wins";
  EXPECT_EQ(e_.LoadDefinition("SPACE"), "") << "a blank after the name is no name line";
  EXPECT_EQ(e_.LoadDefinition("OPEN"), "") << "an unclosed group gives the empty body";
  EXPECT_EQ(e_.LoadDefinition("start"), "") << "names are case-sensitive";
}

TEST_F(EngineTest, BodyEndingAtTheLastByteAndMissingSemicolon) {
  WriteScript(":A\r\n5;:B\r\n6");
  EXPECT_EQ(e_.LoadDefinition("A"), "5");
  EXPECT_EQ(e_.LoadDefinition("B"), "");
}

TEST_F(EngineTest, LineFeedOnlyFileDefinesNothing) {
  WriteScript(":X\n1\n;\n");
  EXPECT_EQ(After("X RUN 2"), Values{"2"});
}

TEST_F(EngineTest, FileIsReadOnceUntilTheCacheIsReset) {
  WriteScript(":X\r\n1\r\n;\r\n");
  EXPECT_EQ(After("X RUN"), Values{"1"});
  WriteScript(":X\r\n2\r\n;\r\n");
  EXPECT_EQ(After("X RUN"), Values{"1"});
  e_.script_file().Reset();
  EXPECT_EQ(After("X RUN"), Values{"2"});
}

TEST_F(EngineTest, MissingFileIsNotTriedAgain) {
  EXPECT_EQ(After("X RUN 3"), Values{"3"});
  WriteScript(":X\r\n1\r\n;\r\n");
  EXPECT_EQ(After("X RUN 3"), Values{"3"});
}

TEST_F(EngineTest, LongFilesAreReadWhole) {
  std::string text = ":A\r\n1\r\n;\r\n";
  text += std::string(500000 - text.size() - 6, ' ');
  text += ":B\r\n2\r\n;\r\n";  // across the old 500000-byte cut
  text += std::string(3000000, ' ');
  text += ":C\r\n3\r\n;\r\n";
  WriteScript(text);
  EXPECT_EQ(After("A RUN B RUN C RUN"), (Values{"1", "2", "3"}));
  EXPECT_TRUE(host_.statuses.empty());
}

// Each broken file is named in the status bar once, at the first RUN, and the
// reason stays readable for the page area.
TEST_F(EngineTest, BrokenScriptFilesSayWhyThereAreNoPages) {
  using Problem = engine::ScriptFile::Problem;
  struct Case {
    const char* what;
    std::function<void()> make;
    Problem problem;
    const char* words;
  };
  const std::vector<Case> cases = {
      {"missing", [] {}, Problem::kMissing, "не найден"},
      {"folder", [] { std::filesystem::create_directory("Setup.KVS"); }, Problem::kUnreadable,
       "не удалось прочитать"},
      {"empty", [this] { WriteScript(""); }, Problem::kEmpty, "пуст"},
      {"UTF-16", [this] { WriteScript(std::string(":\0X\0\r\0\n\0;\0", 10)); },
       Problem::kBinary, "двоичные"},
      {"line feeds only", [this] { WriteScript(":X\n1\n;\n"); }, Problem::kNoDefinitions,
       "CR LF"},
  };
  for (const Case& c : cases) {
    std::error_code ignored;
    std::filesystem::remove_all("Setup.KVS", ignored);
    c.make();
    e_.script_file().Reset();
    host_.statuses.clear();
    EXPECT_EQ(After("START RUN X RUN 1"), Values{"1"}) << c.what;
    EXPECT_EQ(e_.script_file().problem(), c.problem) << c.what;
    ASSERT_EQ(host_.statuses.size(), 1u) << c.what;
    EXPECT_EQ(host_.statuses[0], e_.script_file().ProblemText()) << c.what;
    EXPECT_NE(host_.statuses[0].find("Setup.KVS"), std::string::npos) << c.what;
    EXPECT_NE(host_.statuses[0].find(Cp1251(c.words)), std::string::npos) << c.what;
  }
}

TEST_F(EngineTest, LoadingEarlyKeepsTheFileForTheFirstRun) {
  WriteScript(":X\r\n1\r\n;\r\n");
  EXPECT_TRUE(e_.script_file().Load());
  EXPECT_EQ(e_.script_file().problem(), engine::ScriptFile::Problem::kNone);
  EXPECT_EQ(e_.script_file().ProblemText(), "");
  WriteScript(":X\r\n2\r\n;\r\n");
  EXPECT_FALSE(e_.script_file().Load());
  EXPECT_EQ(After("X RUN"), Values{"1"});
  EXPECT_TRUE(host_.statuses.empty());
}

TEST_F(EngineTest, IfInABodyIsClosedByTheCallingLine) {
  WriteScript(":T\r\n0 IF 1\r\n;\r\n:U\r\nELSE 7 FI\r\n;\r\n");
  EXPECT_EQ(After("T RUN 2 ELSE 3 FI 4"), (Values{"3", "4"}));
  EXPECT_EQ(After("1 IF U RUN 5 FI 6"), (Values{"5", "6"}));
  EXPECT_EQ(After("0 IF U RUN 5 FI 6"), (Values{"6"})) << "a skipped RUN is one word";
}

TEST_F(EngineTest, RunTraceLines) {
  WriteScript(":X\r\n1\r\n;\r\n");
  e_.set_trace(true);
  Run("X RUN NOSUCH RUN");
  const Values lines = TraceLines();
  auto find = [&](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
  };
  const auto body_line = find(Cp1251("Определение :1  : конец определения"));
  const auto run_line = find(Cp1251("Выполнение:X"));
  const auto empty_line = find(Cp1251("Определение :: конец определения"));
  const auto nosuch_line = find(Cp1251("Выполнение:NOSUCH"));
  ASSERT_LT(nosuch_line, static_cast<long>(lines.size()));
  EXPECT_EQ(run_line, body_line + 1);
  EXPECT_EQ(nosuch_line, empty_line + 1);
  EXPECT_LT(run_line, empty_line);
}

TEST(SearchFrom, CountsFromOne) {
  EXPECT_EQ(engine::SearchFrom(";", "a;b;c", 1), 2u);
  EXPECT_EQ(engine::SearchFrom(";", "a;b;c", 3), 4u);
  EXPECT_EQ(engine::SearchFrom(";", "a;b;c", 5), 0u);
  EXPECT_EQ(engine::SearchFrom(";", "a;b;c", 99), 0u);
}

}  // namespace
}  // namespace engine_test
