// Integer arithmetic, bit operations, comparisons and the stack words DUP,
// SWAP and ".". Numbers are signed 32-bit and wrap around like the device's.
#include <cstdint>
#include <functional>

#include "engine.h"
#include "messages.h"

namespace engine {
namespace {

// Pops a, then b (top first), each converted right after its pop, and pushes
// b op a. Unsigned arithmetic gives the 32-bit wrap-around without overflow.
template <class Op>
[[gnu::noinline]] void BinaryOnTexts(Engine& e) {
  const auto a = static_cast<uint32_t>(e.PopNumber());
  const auto b = static_cast<uint32_t>(e.PopNumber());
  e.PushNumber(static_cast<int32_t>(Op{}(b, a)));
}

// Two numbers on top, the common case, take no stack frame of their own.
template <class Op>
void Binary(Engine& e, Frame&) {
  int32_t below;
  int32_t top;
  if (e.PeekTwoNumbers(below, top)) {
    e.ReplaceTwo(static_cast<int32_t>(Op{}(static_cast<uint32_t>(below), static_cast<uint32_t>(top))));
    return;
  }
  BinaryOnTexts<Op>(e);
}

struct ShiftLeft {
  uint32_t operator()(uint32_t b, uint32_t a) const { return b << (a & 31); }
};

// < and >: both values are popped first and a value that is no number gives "0".
template <bool greater>
void Order(Engine& e, Frame&) {
  const auto a = ToNumber(e.Pop());
  const auto b = ToNumber(e.Pop());
  if (!a || !b) {
    e.Push(kFalse);
    return;
  }
  e.Push(Truth(greater ? *b > *a : *b < *a));
}

std::string CellsDump(Engine& e) {
  std::string text;
  for (int i = 0; i < Engine::kCells; ++i) {
    const Value& cell = e.cells()[i];
    if (cell.empty()) continue;
    text += ' ';
    text += NumberToText(i);
    text += "=\"";
    text += cell;
    text += '"';
  }
  return text;
}

}  // namespace

constexpr WordRow<> kArithmeticRows[] = {
    {"AND", "b a -- n", "Bitwise AND of two 32-bit numbers.", Binary<std::bit_and<uint32_t>>},
    {"OR", "b a -- n", "Bitwise OR of two 32-bit numbers.", Binary<std::bit_or<uint32_t>>},
    {"XOR", "b a -- n", "Bitwise exclusive OR of two 32-bit numbers.",
     Binary<std::bit_xor<uint32_t>>},
    {"+", "b a -- n", "b + a, wrapping around at 32 bits.", Binary<std::plus<uint32_t>>},
    {"-", "b a -- n", "b - a, wrapping around at 32 bits.", Binary<std::minus<uint32_t>>},
    {"*", "b a -- n", "b * a, wrapping around at 32 bits.", Binary<std::multiplies<uint32_t>>},
    {"SHL", "b a -- n", "b shifted left by a (modulo 32) bits.", Binary<ShiftLeft>},
    {"DIV", "b a -- n", "b divided by a, truncated toward zero; a = 0 is a fault.",
     [](Engine& e, Frame&) {
       const int32_t a = e.PopNumber();
       const int32_t b = e.PopNumber();
       if (a == 0) throw Fault{};
       // The one quotient outside the range wraps like every other result
       // instead of trapping the processor.
       if (a == -1) {
         e.PushNumber(static_cast<int32_t>(0u - static_cast<uint32_t>(b)));
         return;
       }
       e.PushNumber(b / a);
     }},
    {"=", "b a -- flag",
     "255 when the two texts are equal byte for byte, else 0 (no number conversion).",
     [](Engine& e, Frame&) {
       const Value a = e.Pop();
       const Value b = e.Pop();
       e.Push(Truth(a == b));
     }},
    {"<>", "b a -- flag", "255 when the two texts differ, else 0.",
     [](Engine& e, Frame&) {
       const Value a = e.Pop();
       const Value b = e.Pop();
       e.Push(Truth(a != b));
     }},
    {"<", "b a -- flag", "255 when b < a as numbers; 0 otherwise and when either is no number.",
     Order<false>},
    {">", "b a -- flag", "255 when b > a as numbers; 0 otherwise and when either is no number.",
     Order<true>},
    {"NOT", "n -- flag", "255 when n is 0, else 0.",
     [](Engine& e, Frame&) { e.Push(Truth(e.PopNumber() == 0)); }},
    {"DUP", "x -- x x", "Duplicates the top value.",
     [](Engine& e, Frame&) {
       Value x = e.Pop();
       e.Push(x);
       e.Push(std::move(x));
     }},
    {"SWAP", "b a -- a b", "Exchanges the two top values.",
     [](Engine& e, Frame&) {
       Value a = e.Pop();
       Value b = e.Pop();
       e.Push(std::move(a));
       e.Push(std::move(b));
     }},
    {".", "x -- x",
     "Shows the top value in the event memo and dumps the non-empty cells to the trace log.",
     [](Engine& e, Frame&) {
       Value x = e.Pop();
       e.LogEvent(msg::kOnStack + x);
       e.Push(std::move(x));
       e.ForcedTrace(msg::kCells + CellsDump(e));
     }},
};

const WordList<> kArithmeticWords{"Arithmetic and comparison", kArithmeticRows};

}  // namespace engine
