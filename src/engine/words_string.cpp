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
  engine::WordGroup group(engine, "Strings");
  engine.Document("&", "b a -- ba", "Appends the top text to the one below it.");
  engine.Register("&", [](Engine& e, Frame&) {
    Value a = e.Pop();
    Value b = e.Pop();
    e.Push(b + a);
  });
  engine.Document("CHR", "n -- c", "The one-character text of code n (low 8 bits).");
  engine.Register("CHR", [](Engine& e, Frame&) {
    e.Push(Value(1, static_cast<char>(e.PopNumber() & 0xFF)));
  });
  engine.Document("ORD", "s -- n",
                  "Code 0..255 of the first character of s; an empty s is a fault.");
  engine.Register("ORD", [](Engine& e, Frame&) {
    const Value s = e.Pop();
    if (s.empty()) throw Fault{};
    e.PushNumber(static_cast<unsigned char>(s[0]));
  });
  engine.Document("DELPAR", "text name -- text", "Removes the section marked with name from text.");
  engine.Register("DELPAR", [](Engine& e, Frame&) {
    const Value name = e.Pop();
    Value text = e.Pop();
    e.Push(DeleteSection(std::move(text), name));
  });
  engine.Document("MID", "text marker -- front",
                  "The front of text up to and including the first marker (text and marker when "
                  "there is none).");
  engine.Register("MID", [](Engine& e, Frame&) {
    const Value marker = e.Pop();
    Value text = e.Pop();
    e.Push(CutBetween(text, "", marker) + marker);
  });
  engine.Document("/MID", "text marker -- rest",
                  "The part of text after the first marker; empty when there is none.");
  engine.Register("/MID", [](Engine& e, Frame&) {
    const Value marker = e.Pop();
    Value text = e.Pop();
    CutBetween(text, "", marker);
    e.Push(std::move(text));
  });
  engine.Document("SMID", "text start count -- part",
                  "Up to count characters of text from position start (from 1).");
  engine.Register("SMID", [](Engine& e, Frame&) {
    // Always pushes: a count or start that is no number stops the popping.
    const auto count = ToNumber(e.Pop());
    if (!count) return e.Push({});
    const auto start = ToNumber(e.Pop());
    if (!start) return e.Push({});
    e.Push(Part(e.Pop(), *start, *count));
  });
  engine.Document("LEN", "s -- n", "Number of characters of s.");
  engine.Register("LEN", [](Engine& e, Frame&) { e.Push(NumberToText(e.Pop().size())); });
  engine.Document("POS", "text sub -- n",
                  "Position (from 1) of the first sub in text; 0 when there is none.");
  engine.Register("POS", [](Engine& e, Frame&) {
    const Value sub = e.Pop();
    const Value text = e.Pop();
    const size_t at = sub.empty() ? std::string::npos : text.find(sub);
    e.Push(NumberToText(at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1));
  });
  engine.Document("DELETE", "text start count -- text",
                  "Removes count characters of text from position start.");
  engine.Register("DELETE", [](Engine& e, Frame&) {
    const Value count_text = e.Pop();
    const Value start_text = e.Pop();
    Value text = e.Pop();
    const auto count = ToNumber(count_text);
    const auto start = ToNumber(start_text);
    if (!count || !start) throw Fault{};
    e.Push(Remove(std::move(text), *start, *count));
  });
  engine.Document("UPCASE", "s -- S", "Latin letters a..z to upper case; other characters stay.");
  engine.Register("UPCASE", [](Engine& e, Frame&) {
    Value s = e.Pop();
    UpperAscii(s);
    e.Push(std::move(s));
  });
  engine.Document("TESTNUM", "x -- flag",
                  "0 when x is a number, 255 when it is not (note the order).");
  engine.Register("TESTNUM", [](Engine& e, Frame&) {
    e.Push(ToNumber(e.Pop()) ? kFalse : kTrue);
  });

  engine.Document("HEX", "s -- n", "The first two characters of s read as a hexadecimal byte.");
  engine.Register("HEX", [](Engine& e, Frame&) {
    e.PushNumber(uhex::HexPairToByte(e.Pop()));
  });
  engine.Document("SHEX", "n -- hh", "The low byte of n as two hexadecimal digits.");
  engine.Register("SHEX", [](Engine& e, Frame&) {
    e.Push(uhex::ByteToHex(static_cast<uint8_t>(e.PopNumber() & 0xFF)));
  });
  engine.Document("SHEXW", "n -- text",
                  "The low 16 bits of n as two spaced hexadecimal bytes, low byte first (\"34 12 "
                  "\").");
  engine.Register("SHEXW", [](Engine& e, Frame&) {
    const int32_t n = e.PopNumber();
    e.Push(uhex::ByteToHex(static_cast<uint8_t>(n & 0xFF)) + ' ' +
           uhex::ByteToHex(static_cast<uint8_t>((n / 256) & 0xFF)) + ' ');
  });
  engine.Document("STRHEX", "s -- hex", "Each byte of s as two hexadecimal digits and a blank.");
  engine.Register("STRHEX", [](Engine& e, Frame&) { e.Push(uhex::BytesToSpacedHex(e.Pop())); });
  engine.Document("HEXSTR", "hex -- s",
                  "Spaced hexadecimal back to bytes (the inverse of STRHEX).");
  engine.Register("HEXSTR", [](Engine& e, Frame&) { e.Push(uhex::SpacedHexToBytes(e.Pop())); });
}

}  // namespace engine
