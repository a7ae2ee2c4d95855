// Arithmetic, comparison, string, hexadecimal and store words.
#include "engine_test_support.h"

namespace engine_test {
namespace {

using Case = std::pair<const char*, Values>;

class WordsTest : public EngineTest {
 protected:
  void Check(std::initializer_list<Case> cases) {
    for (const auto& [line, stack] : cases) EXPECT_EQ(After(line), stack) << line;
  }
};

TEST_F(WordsTest, Arithmetic) {
  Check({{"7 2 -", {"5"}},
         {"7 2 DIV", {"3"}},
         {"-7 2 DIV", {"-3"}},
         {"7 -2 DIV", {"-3"}},
         {"9 5 0 DIV", {"9"}},
         {"-2147483648 -1 DIV", {"-2147483648"}},  // wraps instead of trapping
         {"2147483647 1 +", {"-2147483648"}},
         {"-2147483648 1 -", {"2147483647"}},
         {"65536 65536 *", {"0"}},
         {"$FF 3 *", {"765"}},
         {"1 33 SHL", {"2"}},
         {"1 31 SHL", {"-2147483648"}},
         {"-1 -1 SHL", {"-2147483648"}},
         {"12 10 AND 12 10 OR 12 10 XOR", {"8", "14", "6"}},
         {"-1 $FF AND", {"255"}},
         {"5 x 7 +", {"5"}},
         {"x 7 +", {}}});
}

TEST_F(WordsTest, Comparisons) {
  Check({{"1 01 =", {"0"}},
         {"ab ab = ab AB =", {"255", "0"}},
         {"1 01 <>", {"255"}},
         {"1 01 <", {"0"}},
         {"01 2 <", {"255"}},
         {"-5 3 < 3 -5 >", {"255", "255"}},
         {"abc 5 <", {"0"}},
         {"5 abc >", {"0"}},
         {"9 abc 5 <", {"9", "0"}},  // both values consumed, no fault
         {"0 NOT 7 NOT", {"255", "0"}},
         {"1 abc NOT", {"1"}}});
}

TEST_F(WordsTest, ConcatenationAndCharacters) {
  Check({{"ab cd &", {"abcd"}},
         {"x &", {"x"}},
         {"321 CHR 65 CHR =", {"255"}},
         {"-1 CHR ORD", {"255"}},
         {"0 CHR LEN", {"1"}},
         {"7 \"\" ORD", {"7"}},
         {"A ORD", {"65"}}});
  EXPECT_EQ(After("0 CHR"), Values{std::string(1, '\0')});
  e_.ClearStack();
  e_.ExecuteLine("\"\xff\xe0\" ORD");
  EXPECT_EQ(Stack(), Values{"255"});
  host_.statuses.clear();
  EXPECT_EQ(After("x &"), Values{"x"});
  EXPECT_EQ(host_.statuses.size(), 1u) << "the missing value is an underflow";
}

TEST_F(WordsTest, MarkersAndSections) {
  Check({{"12;34;56 ; MID", {"12;"}},
         {"12;34;56 ; /MID", {"34;56"}},
         {"abc ; MID", {"abc;"}},
         {"abc ; /MID", {""}},
         {"\"a, b\" \", \" MID", {"a, "}},
         {"x{P}abc{/P}y P DELPAR", {"xy"}},
         {"x{P}abc P DELPAR", {"x"}},
         {"xyz P DELPAR", {"xyz"}},
         {"x{P}a{/P}y{P}b{/P}z P DELPAR", {"xy{P}b{/P}z"}},
         {"x{Q}a{/Q}y P DELPAR", {"x{Q}a{/Q}y"}}});
}

TEST_F(WordsTest, PositionsAndParts) {
  Check({{"abcdef 2 3 SMID", {"bcd"}},
         {"abcdef 5 10 SMID", {"ef"}},
         {"abcdef 0 2 SMID", {"ab"}},
         {"abcdef -9 2 SMID", {"ab"}},
         {"abcdef 7 1 SMID", {""}},
         {"abcdef 2 0 SMID", {""}},
         {"abcdef 2 x SMID", {"abcdef", "2", ""}},  // stops popping, still pushes
         {"abcdef x 3 SMID", {"abcdef", ""}},
         {"abcdef 2 2 DELETE", {"adef"}},
         {"abcdef 7 2 DELETE", {"abcdef"}},
         {"abcdef 0 2 DELETE", {"abcdef"}},
         {"abcdef 5 99 DELETE", {"abcd"}},
         {"abcdef 2 -1 DELETE", {"abcdef"}},
         {"9 abcdef x 2 DELETE", {"9"}},  // all three are lost
         {"abcabc ca POS", {"3"}},
         {"abc x POS abc \"\" POS", {"0", "0"}},
         {"\"\" LEN abc LEN", {"0", "3"}}});
}

TEST_F(WordsTest, CaseAndNumberTest) {
  Check({{"12 TESTNUM 12a TESTNUM \"\" TESTNUM $ff TESTNUM", {"0", "255", "255", "0"}}});
  EXPECT_EQ(After("\"abz Ab1 привет\" UPCASE"), Values{Cp1251("ABZ AB1 привет")});
}

TEST_F(WordsTest, HexadecimalWords) {
  Check({{"41 HEX ff HEX A HEX \"\" HEX", {"65", "198", "160", "0"}},
         {"255 SHEX 256 SHEX -1 SHEX 10 SHEX", {"FF", "00", "FF", "0A"}},
         {"4660 SHEXW", {"34 12 "}},
         {"-1 SHEXW", {"FF 00 "}},
         {"-256 SHEXW", {"00 FF "}},
         {"x SHEX", {}},
         {"AB STRHEX \"\" STRHEX", {"41 42 ", ""}},
         {"\"41 42 43\" HEXSTR \"41 42 43 \" HEXSTR", {"ABC", "ABC"}},
         {"414243 HEXSTR", {"A$"}},
         {"\"61-62-6\" HEXSTR", {"ab"}},
         {"\"ad 01\" HEXSTR STRHEX", {"AD 01 "}}});
  // STRHEX and HEXSTR are inverse for every byte.
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  e_.ClearStack();
  e_.Push(all);
  e_.ExecuteLine("STRHEX HEXSTR");
  EXPECT_EQ(Stack(), Values{all});
}

TEST_F(WordsTest, CellsAndSavedCells) {
  Check({{"a 5 ! 5 %", {"a"}},
         {"b -1 ! 255 %", {"b"}},
         {"c 256 ! 256 % -256 %", {"c", ""}},
         {"d 0 ! -256 %", {"d"}},
         {"v x ! 1", {"v", "1"}},      // a bad index leaves the value
         {"v 257 ! 1", {"v", "1"}},    // so does an index outside the cells
         {"v -257 %", {"v"}},
         {"s 3 !! 3 #", {"s"}},
         {"s 128 !! 128 #", {""}},
         {"s 129 !! 1", {"1"}},        // outside 0..128: both consumed
         {"s -1 !! -1 #", {""}},
         {"v x !! 1", {"v", "1"}},
         {"99999 # x #", {""}}});
  EXPECT_EQ(e_.saved_cells()[128], "s") << "128 is written, only \"#\" cannot read it";
  EXPECT_EQ(e_.cells()[256], "c");
}

TEST_F(WordsTest, DimArray) {
  Check({{"77 0 9 0 DIM! 0 1 1 DIM%", {"77"}},  // plane 0 row 9 is plane 1 row 1
         {"-5 255 8 2 DIM! 255 8 2 DIM%", {"-5"}},
         {"1 0 1 3 DIM! 1", {"1"}},              // element 6144: nothing stored
         {"0 0 0 DIM%", {}},                      // element -256
         {"1 2 x 0 DIM! 9", {"1", "2", "9"}},
         {"x 0 1 0 DIM! 0 1 0 DIM%", {"0"}},      // a non-number value stores nothing
         {"DIMCLEAR 0 9 0 DIM% 255 8 2 DIM%", {"0", "0"}}});
  for (int32_t v : e_.dim()) ASSERT_EQ(v, 0);
}

TEST_F(WordsTest, SetAndScriptdes) {
  Check({{"0 SET 1 SET -3 SET x SET", {}}, {"1 2 SCRIPTDES abc SCRIPTDES", {"1"}}});
  EXPECT_EQ(host_.panel, (std::vector<bool>{false, true, true}));
  host_.statuses.clear();
  EXPECT_EQ(After("SCRIPTDES"), Values{});
  EXPECT_EQ(host_.statuses.size(), 1u);
}

}  // namespace
}  // namespace engine_test
