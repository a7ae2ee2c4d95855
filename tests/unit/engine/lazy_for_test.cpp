// FOR produces its iterations as the line reaches them. These tests hold it to
// the text the written-out loop gives: the pending text against a plain string
// model, and whole random lines against an engine whose FOR still writes out
// every copy of its body first.
#include <random>
#include <string>
#include <vector>

#include "engine_test_support.h"
#include "messages.h"

namespace engine_test {
namespace {

using engine::Engine;
using engine::Frame;
using engine::PendingText;

// The written-out loop: a blank, then index, blank and body per iteration,
// then a blank.
std::string WrittenOut(const std::string& body, int32_t count) {
  std::string text;
  for (int32_t i = 1; i <= count; ++i) text += " " + std::to_string(i) + " " + body;
  return text + " ";
}

// Texts made of the characters every reader of the pending text cares about.
std::string RandomText(std::mt19937& random, size_t max_length) {
  static const char kAlphabet[] = "ab12  {}\"\"``";
  std::string text(random() % (max_length + 1), ' ');
  for (char& c : text) c = kAlphabet[random() % (sizeof kAlphabet - 1)];
  return text;
}

TEST(LazyFor, PendingTextReadsAsTheWrittenOutLoops) {
  const std::vector<std::string> markers = {"", " ", "{", "}", "\"", "\" ", "`", "` ", "1", "a", "2 ", "b{"};
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    std::string model = RandomText(random, 30);
    PendingText pending(model);
    for (int step = 0; step < 400; ++step) {
      switch (random() % 8) {
        case 0:
        case 1: {
          const std::string body = RandomText(random, 8);
          const int32_t count = static_cast<int32_t>(random() % 7) - 1;
          pending.PrependRepeat(body, count);
          model = (count > 0 ? WrittenOut(body, count) : " ") + model;
          break;
        }
        case 2: {
          const std::string text = RandomText(random, 6);
          pending.Prepend(text);
          model = text + model;
          break;
        }
        case 3:
          pending.TrimLeadingBlanks();
          engine::TrimLeadingBlanks(model);
          break;
        default: {
          const std::string& start = markers[random() % 3 ? 0 : random() % markers.size()];
          const std::string& end = markers[random() % markers.size()];
          const std::string expected = engine::CutBetween(model, start, end);
          ASSERT_EQ(pending.CutBetween(start, end), expected)
              << "seed " << seed << " step " << step << " markers [" << start << "] [" << end << "]";
        }
      }
      ASSERT_EQ(pending.Empty(), model.empty()) << "seed " << seed << " step " << step;
      if (!model.empty()) ASSERT_EQ(pending.Front(), model[0]);
    }
    ASSERT_EQ(pending.View(), model) << "seed " << seed;
  }
}

TEST(LazyFor, LoopHoldsItsBodyOnceWhateverItsCount) {
  PendingText pending("rest ");
  pending.PrependRepeat("DUP DROP", 2000000000);
  const size_t held = pending.Held();
  EXPECT_LT(held, 1000u);
  for (int i = 1; i <= 100000; ++i) {
    ASSERT_EQ(pending.CutBetween("", " "), i == 1 ? "" : "DROP");
    ASSERT_EQ(pending.CutBetween("", " "), std::to_string(i));
    ASSERT_EQ(pending.CutBetween("", " "), "DUP");
  }
  EXPECT_LE(pending.Held(), held + 16);
}

// Random lines of numbers, stack, string and store words, IF/ELSE/FI, nested
// FOR loops with quoted and back-quoted bodies, comments, RUN of small
// definitions, stray blanks and groups that never close.
class LineGenerator {
 public:
  explicit LineGenerator(unsigned seed) : random_(seed) {}

  std::string Line(int depth = 0) {
    // Lines start on a few values so that fewer words meet an empty stack.
    std::string line = depth == 0 ? "CLEARSTEK 1 0 2 -1 x 3 " : "";
    const int items = 1 + static_cast<int>(random_() % 8);
    for (int i = 0; i < items; ++i) line += Item(depth) + Gap();
    return line;
  }

  // Definitions D0..D5; Dk runs only D0..D(k-1), so none runs itself.
  std::string ScriptFile() {
    std::string file;
    for (int k = 0; k < 6; ++k) {
      defined_ = k;
      file += ":D" + std::to_string(k) + "\r\n" + Line(1) + "\r\n" + Line(1) + "\r\n;\r\n";
    }
    return file;
  }

 private:
  std::string Gap() { return random_() % 6 ? " " : random_() % 2 ? "  " : ""; }

  std::string Item(int depth) {
    static const char* const kWords[] = {
        "+", "-", "*", "DUP", "DROP", "SWAP", "&", "=", "<", ">", "NOT", "LEN", "IF", "ELSE",
        "FI", "IF", "FI", "NIL", "%", "!", "SMID", "MID", "/MID", "POS", "FOR", "ELSE", "x"};
    switch (random_() % 12) {
      case 0:
      case 1:
        return std::to_string(static_cast<int>(random_() % 5) - 1);
      case 2:
        if (defined_ > 0) return "D" + std::to_string(random_() % defined_) + " RUN";
        return "NIL";
      case 3:
        return Group(depth);
      case 4:
        if (depth < 3) {
          return std::to_string(random_() % 5) + " " + Group(depth) + " FOR";
        }
        return "2";
      case 5:
        return random_() % 4 ? "{" + Line(3) + "}" : "{ never closed";
      default:
        return kWords[random_() % (sizeof kWords / sizeof *kWords)];
    }
  }

  // A quoted body: double quotes inside back quotes and the reverse, so that
  // groups nest; sometimes it is left open or glued to the next word.
  std::string Group(int depth) {
    const char quote = (depth % 2 == 0) == (random_() % 4 != 0) ? '`' : '"';
    std::string group = quote + Line(depth + 1);
    switch (random_() % 10) {
      case 0:
        return group;  // never closed
      case 1:
        return group + quote + "x" + quote;  // a quote not followed by a blank
      default:
        return group + quote;
    }
  }

  std::mt19937 random_;
  int defined_ = 6;
};

// Keeps random lines finite and small for both engines alike: a loop of more
// than a few iterations, a loop past the line's budget of loops and a text
// beyond a few kilobytes fault the word.
struct Bounds {
  int loops_left = 0;
  int runs_left = 0;
};

void Bound(Engine& e, Bounds& bounds) {
  const engine::WordHandler loop = e.FindWord("FOR");
  e.Register("FOR", [loop, &bounds](Engine& e, Frame& f) {
    engine::Value body = e.Pop();
    engine::Value count = e.Pop();
    const auto n = engine::ToNumber(count);
    if ((n && *n > 5) || --bounds.loops_left < 0) throw engine::Fault{};
    e.Push(count);
    e.Push(body);
    loop(e, f);
  });
  const engine::WordHandler run = e.FindWord("RUN");
  e.Register("RUN", [run, &bounds](Engine& e, Frame& f) {
    if (--bounds.runs_left < 0) throw engine::Fault{};
    run(e, f);
  });
  for (const char* name : {"&", "MID", "/MID", "DUP", "SMID"}) {
    const engine::WordHandler word = e.FindWord(name);
    e.Register(name, [word](Engine& e, Frame& f) {
      word(e, f);
      if (e.Depth() > 0 && e.StackValue(e.Depth()).size() > 4096) e.Pop();
    });
  }
}

class LazyForLines : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    engine::RegisterCoreWords(eager_);
    eager_.SetHost(&eager_host_);
    // FOR as it was: every copy of the body written out in front of the rest.
    eager_.Register("FOR", [](Engine& e, Frame& f) {
      const engine::Value body = e.Pop();
      const int32_t count = e.PopNumber();
      f.pending.Prepend(count > 0 ? WrittenOut(body, count) : " ");
    });
    Bound(e_, bounds_);
    Bound(eager_, eager_bounds_);
  }

  void ExpectSameState(const std::string& line) {
    ASSERT_EQ(Stack(), EagerStack()) << line;
    for (int i = 0; i < Engine::kCells; ++i)
      ASSERT_EQ(e_.cells()[i], eager_.cells()[i]) << "cell " << i << " after " << line;
    ASSERT_EQ(host_.statuses, eager_host_.statuses) << line;
  }

  std::vector<std::string> EagerStack() const {
    std::vector<std::string> values;
    for (int slot = 1; slot <= eager_.Depth(); ++slot) values.push_back(eager_.StackValue(slot));
    return values;
  }

  void Run(const std::string& line) {
    bounds_ = eager_bounds_ = Bounds{60, 60};
    host_.statuses.clear();
    eager_host_.statuses.clear();
    e_.ExecuteLine(line);
    eager_.ExecuteLine(line);
  }

  RecordingHost eager_host_;
  Engine eager_;
  Bounds bounds_;
  Bounds eager_bounds_;
};

TEST_F(LazyForLines, RandomLinesLeaveTheSameStackAndStores) {
  int lines = 0;
  for (unsigned seed = 1; seed <= 25; ++seed) {
    LineGenerator generator(seed);
    WriteScript(generator.ScriptFile());
    e_.script_file().Reset();
    eager_.script_file().Reset();
    for (int n = 0; n < 1000; ++n, ++lines) {
      const std::string line = generator.Line();
      Run(line);
      ASSERT_NO_FATAL_FAILURE(ExpectSameState(line)) << "seed " << seed << " line " << n;
    }
  }
  EXPECT_EQ(lines, 25000);
}

TEST_F(LazyForLines, SkipsAndGroupsReachAcrossIterations) {
  const std::string script =
      ":OPEN\r\n0 IF 1 \r\n;\r\n"
      ":CLOSE\r\n2 FI 3 \r\n;\r\n";
  WriteScript(script);
  for (engine::Engine* engine : {&e_, &eager_}) {
    engine->Register("QUOTE12", [](engine::Engine& e, engine::Frame& f) {
      if (e.Depth() > 0 && e.StackValue(e.Depth()) == "12") f.pending.Prepend("\"x ");
    });
  }
  const char* const lines[] = {
      "3 \"0 IF\" FOR 5 FI 6",                 // a skip that starts in the loop ends after it
      "3 \"DROP ELSE\" FOR 7 FI 8",            // ELSE runs in one iteration and skips the rest
      "2 \"OPEN RUN\" FOR CLOSE RUN 4",       // bodies inserted by RUN, closed by a later RUN
      "2 `\"a` FOR \" 9",                      // a quote opened in the body closes after the loop
      "2 `{ x` FOR } 9",                       // so does a comment
      "3 `x\"` FOR 10",                        // a quote glued to a word never opens a group
      "2 `1 \"` FOR 2 \" 5",
      "0 3 \"3 `+ 1` FOR\" FOR",               // nested loops
      "1 3 `0 IF 7 ELSE DUP` FOR FI FI FI",
      // Iterations run in place, their index not written, until a skip
      // reads the text; the index grows a digit on the way.
      "0 130 `DUP 97 < IF + FI` FOR",
      "0 1005 `DUP 995 < IF + FI` FOR",
      "0 30 `QUOTE12 +` FOR \" 9",  // a quote opened at 12 takes in the iterations left
  };
  for (const char* line : lines) {
    e_.ClearStack();
    eager_.ClearStack();
    Run(line);
    ExpectSameState(line);
    EXPECT_GT(e_.Depth(), 0) << line;
  }
}

// Loop bodies are split into words once and their words resolved once; what
// changes while the loop runs must still be seen.
TEST_F(EngineTest, LoopWordsSeeWordsRegisteredWhileTheLoopRuns) {
  e_.Register("DEFY", [](engine::Engine& e, engine::Frame&) {
    e.Register("y", [](engine::Engine& e, engine::Frame&) { e.PushText("7"); });
  });
  EXPECT_EQ(After("3 \"y DEFY\" FOR"), (Values{"1", "y", "2", "7", "3", "7"}));
}

TEST_F(EngineTest, LoopIndexRunsAWordNamedByItsDigits) {
  e_.Register("2", [](engine::Engine& e, engine::Frame&) { e.PushText("two"); });
  EXPECT_EQ(After("3 \"x\" FOR"), (Values{"1", "x", "two", "x", "3", "x"}));
}

TEST_F(EngineTest, DefinitionRunInsideALoopBodyComesBeforeTheBodysRest) {
  WriteScript(":D\r\n5 DUP\r\n;\r\n:E\r\n0 IF\r\n;\r\n");
  EXPECT_EQ(After("2 \"a D RUN b\" FOR"),
            (Values{"1", "a", "5", "5", "b", "2", "a", "5", "5", "b"}));
  // A skip begun by a definition ends inside the next iteration's body.
  EXPECT_EQ(After("2 \"a E RUN b FI c\" FOR"), (Values{"1", "a", "c", "2", "a", "c"}));
  // A body inserted in front of a long loop grows the room kept for it.
  WriteScript(":L\r\n" + std::string(3000, 'z') + "\r\n;\r\n");
  e_.script_file().Reset();
  EXPECT_EQ(After("0 3 \"L RUN DROP +\" FOR"), (Values{"6"}));
}

TEST_F(EngineTest, LoopIndexReadsAsTheTextItWasWrittenAs) {
  EXPECT_EQ(After("12 \"DUP 10 < IF DROP FI\" FOR & &"), (Values{"101112"}));
  EXPECT_EQ(After("1 \"`1` =\" FOR"), (Values{"255"}));
}

TEST_F(EngineTest, TenMillionIterationsRunWithoutWritingTheLoopOut) {
  Run("0 10000000 \"+\" FOR");
  EXPECT_EQ(Stack(), Values{"-2004260032"});  // 50000005000000 wrapped to 32 bits
  EXPECT_TRUE(host_.statuses.empty());
}

}  // namespace
}  // namespace engine_test
