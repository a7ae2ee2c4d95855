// String words: concatenation, characters, marked sections, fixed-position
// fields and the hexadecimal byte-string conversions. Positions count bytes
// from 1.
#include <algorithm>
#include <cstdint>

#include "UHex.h"
#include "engine.h"

namespace engine {
namespace {

void UpperAscii(std::string& text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

// Removes the first section {name}...{/name}, marks included.
std::string DeleteSection(std::string text, const std::string& name) {
  std::string front = CutBetween(text, "", "{" + name + "}");
  CutBetween(text, "", "{/" + name + "}");
  return front + text;
}

// Up to count bytes from position start (from 1); never reads past the end.
std::string Part(const std::string& text, int32_t start, int32_t count) {
  if (start < 1) start = 1;
  if (count <= 0 || static_cast<size_t>(start) > text.size()) return {};
  return text.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(count));
}

std::string Remove(std::string text, int32_t start, int32_t count) {
  if (start < 1 || static_cast<size_t>(start) > text.size() || count <= 0) return text;
  text.erase(static_cast<size_t>(start) - 1, static_cast<size_t>(count));
  return text;
}

}  // namespace

void RegisterStringWords(Engine& engine) {
  engine.Register("&", [](Engine& e, Frame&) {
    Value a = e.Pop();
    Value b = e.Pop();
    e.Push(b + a);
  });
  engine.Register("CHR", [](Engine& e, Frame&) {
    e.Push(Value(1, static_cast<char>(e.PopNumber() & 0xFF)));
  });
  engine.Register("ORD", [](Engine& e, Frame&) {
    const Value s = e.Pop();
    if (s.empty()) throw Fault{};
    e.PushNumber(static_cast<unsigned char>(s[0]));
  });
  engine.Register("DELPAR", [](Engine& e, Frame&) {
    const Value name = e.Pop();
    Value text = e.Pop();
    e.Push(DeleteSection(std::move(text), name));
  });
  engine.Register("MID", [](Engine& e, Frame&) {
    const Value marker = e.Pop();
    Value text = e.Pop();
    e.Push(CutBetween(text, "", marker) + marker);
  });
  engine.Register("/MID", [](Engine& e, Frame&) {
    const Value marker = e.Pop();
    Value text = e.Pop();
    CutBetween(text, "", marker);
    e.Push(std::move(text));
  });
  engine.Register("SMID", [](Engine& e, Frame&) {
    // Always pushes: a count or start that is no number stops the popping.
    const auto count = ToNumber(e.Pop());
    if (!count) return e.Push({});
    const auto start = ToNumber(e.Pop());
    if (!start) return e.Push({});
    e.Push(Part(e.Pop(), *start, *count));
  });
  engine.Register("LEN", [](Engine& e, Frame&) { e.Push(NumberToText(e.Pop().size())); });
  engine.Register("POS", [](Engine& e, Frame&) {
    const Value sub = e.Pop();
    const Value text = e.Pop();
    const size_t at = sub.empty() ? std::string::npos : text.find(sub);
    e.Push(NumberToText(at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1));
  });
  engine.Register("DELETE", [](Engine& e, Frame&) {
    const Value count_text = e.Pop();
    const Value start_text = e.Pop();
    Value text = e.Pop();
    const auto count = ToNumber(count_text);
    const auto start = ToNumber(start_text);
    if (!count || !start) throw Fault{};
    e.Push(Remove(std::move(text), *start, *count));
  });
  engine.Register("UPCASE", [](Engine& e, Frame&) {
    Value s = e.Pop();
    UpperAscii(s);
    e.Push(std::move(s));
  });
  engine.Register("TESTNUM", [](Engine& e, Frame&) {
    e.Push(ToNumber(e.Pop()) ? kFalse : kTrue);
  });

  engine.Register("HEX", [](Engine& e, Frame&) {
    e.PushNumber(uhex::HexPairToByte(e.Pop()));
  });
  engine.Register("SHEX", [](Engine& e, Frame&) {
    e.Push(uhex::ByteToHex(static_cast<uint8_t>(e.PopNumber() & 0xFF)));
  });
  engine.Register("SHEXW", [](Engine& e, Frame&) {
    const int32_t n = e.PopNumber();
    e.Push(uhex::ByteToHex(static_cast<uint8_t>(n & 0xFF)) + ' ' +
           uhex::ByteToHex(static_cast<uint8_t>((n / 256) & 0xFF)) + ' ');
  });
  engine.Register("STRHEX", [](Engine& e, Frame&) { e.Push(uhex::BytesToSpacedHex(e.Pop())); });
  engine.Register("HEXSTR", [](Engine& e, Frame&) { e.Push(uhex::SpacedHexToBytes(e.Pop())); });
}

}  // namespace engine
