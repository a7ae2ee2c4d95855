// The checker on small scripts, each with one kind of mistake, against every
// word of the program as its word lists give them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checker.h"
#include "program_words.h"

namespace {

const engine::WordReference& Words() {
  static const engine::WordReference words = zelt::ProgramWords();
  return words;
}

// The definitions the program runs by name, so that a script made of them
// and the lines under test is otherwise clean.
const char kHooks[] =
    ":MAIN\r\n STEP RUN\r\n;\r\n:MAINS\r\n;\r\n:TREECLICK\r\n;\r\n:WAIT\r\n;\r\n"
    ":ONSTARTWAIT\r\n;\r\n:ONSTOPWAIT\r\n;\r\n:CLOSEQUERY\r\n 255\r\n;\r\n"
    ":ONCONNECT\r\n;\r\n:ONLINKLOST\r\n;\r\n:ONCANCEL\r\n DROP\r\n;\r\n";

// Problems as "LINE: severity: message".
std::vector<std::string> Check(const std::string& script) {
  std::vector<std::string> found;
  for (const check::Problem& p : check::CheckScript(script, Words())) {
    const std::string line = check::FormatProblem("", p);
    found.push_back(line.substr(1));  // without the empty file name's ':'
  }
  return found;
}

// A script whose START holds `start` (lines 1-3) and, after the hooks, the
// definition STEP with `step` (from line 24).
std::string Script(const std::string& start, const std::string& step = " NIL\r\n") {
  return ":START\r\n" + start + ";\r\n" + kHooks + ":STEP\r\n" + step + ";\r\n";
}

TEST(Checker, CleanScriptHasNothingToSay) {
  EXPECT_EQ(Check(Script(" CLEARTREE \"A\" TEXT \"PAGE RUN\" ONCHANGE ADDTREE\r\n") +
                  ":PAGE\r\n SCLEAR 8 LEFT 8 TOP \"Hello\" TEXT LABEL\r\n;\r\n"),
            std::vector<std::string>{});
}

TEST(Checker, UnknownWordsWithTheNearestName) {
  EXPECT_EQ(Check(Script(" \"x\" STAUTS\r\n 1 2 + dup\r\n 5 $FF 0x10 -3 \"ok\" `ok`\r\n")),
            (std::vector<std::string>{"2: error: START: unknown word STAUTS; did you mean STATUS?",
                                      "3: error: START: unknown word dup; did you mean DUP?"}));
  // A name of a definition pushed as text is no mistake; a word far from
  // every name gets no guess.
  EXPECT_EQ(Check(Script(" STEP 200 ! QWERTYUIOP\r\n")),
            std::vector<std::string>{"2: error: START: unknown word QWERTYUIOP"});
}

TEST(Checker, IfElseFiBalanceInABody) {
  EXPECT_EQ(Check(Script(" 1 IF 2\r\n ELSE 3\r\n FI\r\n")), std::vector<std::string>{});
  EXPECT_EQ(Check(Script(" 1 IF 2 ELSE 3\r\n")),
            std::vector<std::string>{
                "2: error: START: IF without FI: when it is false the rest of the line is skipped"});
  EXPECT_EQ(Check(Script(" 1 FI\r\n ELSE\r\n 1 IF ELSE ELSE FI\r\n")),
            (std::vector<std::string>{"2: error: START: FI without IF",
                                      "3: error: START: ELSE without IF",
                                      "4: error: START: second ELSE in one IF block"}));
  // IF and FI inside quotes and comments do not count.
  EXPECT_EQ(Check(Script(" \"IF\" DROP { FI } `ELSE` DROP\r\n")), std::vector<std::string>{});
}

TEST(Checker, UnclosedGroups) {
  // A quote opened in a body and never closed before the ';' empties it.
  EXPECT_EQ(Check(Script(" \"no end\r\n")),
            std::vector<std::string>{
                "2: error: START: \" is never closed before the ending ;, so the definition is empty"});
  // In an event line the group must close with a blank after it.
  EXPECT_EQ(Check(Script(" \"1 `abc\" ONCHANGE \"{ note\" ONCLOSE\r\n")),
            (std::vector<std::string>{
                "2: error: START: in the ONCHANGE script: unclosed `: a group ends at ` followed by a blank",
                "2: error: START: in the ONCLOSE script: { is never closed by }"}));
  // A quote followed by a letter does not close the group; one followed by a
  // blank does, wherever it stands.
  EXPECT_EQ(Check(Script(" \"say \"hi\"there\" STATUS\r\n")), std::vector<std::string>{});
  EXPECT_EQ(Check(Script(" \"say \"hi\" there\" STATUS\r\n")),
            std::vector<std::string>{"2: error: START: unknown word there\""});
}

TEST(Checker, RunOfANameWithoutDefinition) {
  EXPECT_EQ(Check(Script(" SETP RUN `MISSING` RUN\r\n 200 % RUN\r\n")),
            (std::vector<std::string>{
                "2: error: START: RUN of SETP: no such definition; did you mean STEP?",
                "2: error: START: RUN of MISSING: no such definition"}));
}

TEST(Checker, DefinitionsNeverRunAndDefinedTwice) {
  const std::string script =
      Script(" \"LATER\" 5 !\r\n") + ":ORPHAN\r\n 1\r\n;\r\n:LATER\r\n;\r\n:STEP\r\n;\r\n" +
      ":PROVISION_WRITE\r\n;\r\n";  // zelt-provision runs it
  EXPECT_EQ(Check(script),
            (std::vector<std::string>{"30: warning: definition ORPHAN is never run from anywhere",
                                      "35: warning: definition STEP is defined again; RUN uses the "
                                      "one at line 27"}));
  // RUN finds a name wherever ":NAME" CR LF stands, even inside a line.
  EXPECT_EQ(Check(Script(" NIL { see:STEP\r\n }\r\n")),
            (std::vector<std::string>{"3: error: STEP: unknown word }",
                                      "28: warning: definition STEP is defined again; RUN uses "
                                      "the one at line 2"}));
}

TEST(Checker, DefinitionsTheProgramRuns) {
  EXPECT_EQ(Check(":START\r\n;\r\n:MAIM\r\n;\r\n:ONSTARTWAIT\r\n;\r\n:ONSTOPWAIT\r\n;\r\n"
                  ":WAIT\r\n;\r\n:TREECLICK\r\n;\r\n:MAINS\r\n;\r\n"),
            (std::vector<std::string>{
                "1: error: no definition MAIN, which the program runs for the button "
                "\"\xD7\xF2\xE5\xED\xE8\xE5 \xE8\xE7 \xF3\xF1\xF2\xF0\xEE\xE9\xF1\xF2\xE2\xE0\"; did you mean MAIM?",
                "1: note: no definition CLOSEQUERY, which the program runs before the window closes "
                "(0 on top keeps it open)",
                "1: note: no definition ONCONNECT, which the program runs when the device answers "
                "after no answer (the pages read it then)",
                "1: note: no definition ONLINKLOST, which the program runs when the link of a "
                "running device wait is lost (its rest is dropped)",
                "1: note: no definition ONCANCEL, which the program runs when a device wait is "
                "given up (reason on top: 1 the operator)",
                "3: warning: definition MAIM is never run from anywhere"}));
  EXPECT_EQ(check::CountFaults(check::CheckScript(":START\r\n;\r\n", Words())),
            6);
}

TEST(Checker, EventScriptsAreCheckedLikeBodies) {
  EXPECT_EQ(Check(Script(" \"PAGE RUN\" ONCHANGE \"X 1 IF\" 1 ONREADCK\r\n"
                         " \"STATSU\" 500 STARTTIMER1 3 \"DUP DORP\" FOR\r\n")),
            (std::vector<std::string>{
                "2: error: START: in the ONCHANGE script: RUN of PAGE: no such definition",
                "2: error: START: in the ONREADCK script: unknown word X",
                "2: error: START: in the ONREADCK script: IF without FI: when it is false the rest "
                "of the line is skipped",
                "3: error: START: in the STARTTIMER1 script: unknown word STATSU; did you mean "
                "STATUS?",
                "3: error: START: in the FOR script: unknown word DORP; did you mean DROP?"}));
  // A script computed at run time is not guessed at.
  EXPECT_EQ(Check(Script(" 5 % ONCHANGE 6 % 500 STARTTIMER1\r\n")), std::vector<std::string>{});
}

TEST(Checker, StackDepthInAStraightLine) {
  // START runs on an emptied stack: taking more than it holds is seen.
  EXPECT_EQ(Check(Script(" 1 + DROP\r\n")),
            std::vector<std::string>{"2: warning: START: + takes 2 values but the stack holds 1 here"});
  // Through RUN of a definition that takes two values.
  EXPECT_EQ(Check(Script(" 1 STEP RUN\r\n", " DROP DROP\r\n")),
            std::vector<std::string>{"2: warning: START: RUN takes 2 values but the stack holds 1 here"});
  // A body that takes its caller's values is fine; twenty values are not.
  std::string twenty;
  for (int i = 1; i <= 20; ++i) twenty += " " + std::to_string(i);
  // MAIN runs STEP: it must hold the two values STEP takes and the twenty it
  // leaves.
  EXPECT_EQ(Check(Script(" NIL\r\n", " DROP DROP" + twenty + "\r\n")),
            (std::vector<std::string>{
                "5: warning: MAIN: the stack holds 20 values after RUN; past 19 they are lost",
                "28: warning: STEP: the stack holds 20 values after 20; past 19 they are lost"}));
  // Branches that agree keep the line straight; a word of open effect ends it.
  EXPECT_EQ(Check(Script(" 1 IF 2 ELSE 3 FI DROP DROP\r\n")),
            std::vector<std::string>{"2: warning: START: DROP takes 1 value but the stack holds 0 here"});
  EXPECT_EQ(Check(Script(" 7 3 \"DROP\" FOR DROP DROP DROP\r\n")), std::vector<std::string>{});
  // CLEARSTEK makes the depth known again.
  EXPECT_EQ(Check(Script(" 5 % RUN CLEARSTEK SWAP\r\n")),
            std::vector<std::string>{"2: warning: START: SWAP takes 2 values but the stack holds 0 here"});
}

TEST(Checker, LineFeedsOnlyFindNoDefinition) {
  const std::vector<std::string> found = Check(":START\n 1\n;\n");
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(found[0], "1: error: lines end in LF only; name lines need CR LF to be found");
}

}  // namespace
