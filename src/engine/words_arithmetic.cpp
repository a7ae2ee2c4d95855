// Integer arithmetic, bit operations, comparisons and the stack words DUP,
// SWAP and ".". Numbers are signed 32-bit and wrap around like the device's.
#include <cstdint>

#include "engine.h"
#include "messages.h"

namespace engine {
namespace {

using BinaryOp = uint32_t (*)(uint32_t b, uint32_t a);

// Pops a, then b (top first), each converted right after its pop, and pushes
// b op a. Unsigned arithmetic gives the 32-bit wrap-around without overflow.
void RegisterBinary(Engine& engine, const char* name, BinaryOp op) {
  engine.Register(name, [op](Engine& e, Frame&) {
    const auto a = static_cast<uint32_t>(e.PopNumber());
    const auto b = static_cast<uint32_t>(e.PopNumber());
    e.PushNumber(static_cast<int32_t>(op(b, a)));
  });
}

// < and >: both values are popped first and a value that is no number gives "0".
void RegisterOrder(Engine& engine, const char* name, bool greater) {
  engine.Register(name, [greater](Engine& e, Frame&) {
    const auto a = ToNumber(e.Pop());
    const auto b = ToNumber(e.Pop());
    if (!a || !b) {
      e.Push(kFalse);
      return;
    }
    e.Push(Truth(greater ? *b > *a : *b < *a));
  });
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

void RegisterArithmeticWords(Engine& engine) {
  RegisterBinary(engine, "AND", [](uint32_t b, uint32_t a) { return b & a; });
  RegisterBinary(engine, "OR", [](uint32_t b, uint32_t a) { return b | a; });
  RegisterBinary(engine, "XOR", [](uint32_t b, uint32_t a) { return b ^ a; });
  RegisterBinary(engine, "+", [](uint32_t b, uint32_t a) { return b + a; });
  RegisterBinary(engine, "-", [](uint32_t b, uint32_t a) { return b - a; });
  RegisterBinary(engine, "*", [](uint32_t b, uint32_t a) { return b * a; });
  RegisterBinary(engine, "SHL", [](uint32_t b, uint32_t a) { return b << (a & 31); });

  engine.Register("DIV", [](Engine& e, Frame&) {
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
  });

  engine.Register("=", [](Engine& e, Frame&) {
    const Value a = e.Pop();
    const Value b = e.Pop();
    e.Push(Truth(a == b));
  });
  engine.Register("<>", [](Engine& e, Frame&) {
    const Value a = e.Pop();
    const Value b = e.Pop();
    e.Push(Truth(a != b));
  });
  RegisterOrder(engine, "<", false);
  RegisterOrder(engine, ">", true);
  engine.Register("NOT", [](Engine& e, Frame&) { e.Push(Truth(e.PopNumber() == 0)); });

  engine.Register("DUP", [](Engine& e, Frame&) {
    Value x = e.Pop();
    e.Push(x);
    e.Push(std::move(x));
  });
  engine.Register("SWAP", [](Engine& e, Frame&) {
    Value a = e.Pop();
    Value b = e.Pop();
    e.Push(std::move(a));
    e.Push(std::move(b));
  });
  engine.Register(".", [](Engine& e, Frame&) {
    Value x = e.Pop();
    e.LogEvent(msg::kOnStack + x);
    e.Push(std::move(x));
    e.ForcedTrace(msg::kCells + CellsDump(e));
  });
}

}  // namespace engine
