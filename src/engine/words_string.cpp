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

constexpr WordRow<> kStringRows[] = {
    {"&", "b a -- ba", "Appends the top text to the one below it.",
     [](Engine& e, Frame&) {
       const Value a = e.Pop();
       Value b = e.Pop();
       b += a;  // in place: a text built piece by piece grows in amortised steps
       e.Push(std::move(b));
     }},
    {"CHR", "n -- c", "The one-character text of code n (low 8 bits).",
     [](Engine& e, Frame&) { e.Push(Value(1, static_cast<char>(e.PopNumber() & 0xFF))); }},
    {"ORD", "s -- n", "Code 0..255 of the first character of s; an empty s is a fault.",
     [](Engine& e, Frame&) {
       const Value s = e.Pop();
       if (s.empty()) throw Fault{};
       e.PushNumber(static_cast<unsigned char>(s[0]));
     }},
    {"DELPAR", "text name -- text", "Removes the section marked with name from text.",
     [](Engine& e, Frame&) {
       const Value name = e.Pop();
       Value text = e.Pop();
       e.Push(DeleteSection(std::move(text), name));
     }},
    {"MID", "text marker -- front",
     "The front of text up to and including the first marker (text and marker when there is none).",
     [](Engine& e, Frame&) {
       const Value marker = e.Pop();
       Value text = e.Pop();
       e.Push(CutBetween(text, "", marker) + marker);
     }},
    {"/MID", "text marker -- rest",
     "The part of text after the first marker; empty when there is none.",
     [](Engine& e, Frame&) {
       const Value marker = e.Pop();
       Value text = e.Pop();
       CutBetween(text, "", marker);
       e.Push(std::move(text));
     }},
    {"SMID", "text start count -- part",
     "Up to count characters of text from position start (from 1).",
     [](Engine& e, Frame&) {
       // Always pushes: a count or start that is no number stops the popping.
       const auto count = ToNumber(e.Pop());
       if (!count) return e.Push({});
       const auto start = ToNumber(e.Pop());
       if (!start) return e.Push({});
       e.Push(Part(e.Pop(), *start, *count));
     }},
    {"LEN", "s -- n", "Number of characters of s.",
     [](Engine& e, Frame&) { e.Push(NumberToText(e.Pop().size())); }},
    {"POS", "text sub -- n", "Position (from 1) of the first sub in text; 0 when there is none.",
     [](Engine& e, Frame&) {
       const Value sub = e.Pop();
       const Value text = e.Pop();
       const size_t at = sub.empty() ? std::string::npos : text.find(sub);
       e.Push(NumberToText(at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1));
     }},
    {"DELETE", "text start count -- text", "Removes count characters of text from position start.",
     [](Engine& e, Frame&) {
       const Value count_text = e.Pop();
       const Value start_text = e.Pop();
       Value text = e.Pop();
       const auto count = ToNumber(count_text);
       const auto start = ToNumber(start_text);
       if (!count || !start) throw Fault{};
       e.Push(Remove(std::move(text), *start, *count));
     }},
    {"UPCASE", "s -- S", "Latin letters a..z to upper case; other characters stay.",
     [](Engine& e, Frame&) {
       Value s = e.Pop();
       UpperAscii(s);
       e.Push(std::move(s));
     }},
    {"TESTNUM", "x -- flag", "0 when x is a number, 255 when it is not (note the order).",
     [](Engine& e, Frame&) { e.Push(ToNumber(e.Pop()) ? kFalse : kTrue); }},
    {"HEX", "s -- n", "The first two characters of s read as a hexadecimal byte.",
     [](Engine& e, Frame&) { e.PushNumber(uhex::HexPairToByte(e.Pop())); }},
    {"SHEX", "n -- hh", "The low byte of n as two hexadecimal digits.",
     [](Engine& e, Frame&) {
       e.Push(uhex::ByteToHex(static_cast<uint8_t>(e.PopNumber() & 0xFF)));
     }},
    {"SHEXW", "n -- text",
     "The low 16 bits of n as two spaced hexadecimal bytes, low byte first (\"34 12 \").",
     [](Engine& e, Frame&) {
       const int32_t n = e.PopNumber();
       e.Push(uhex::ByteToHex(static_cast<uint8_t>(n & 0xFF)) + ' ' +
              uhex::ByteToHex(static_cast<uint8_t>((n / 256) & 0xFF)) + ' ');
     }},
    {"STRHEX", "s -- hex", "Each byte of s as two hexadecimal digits and a blank.",
     [](Engine& e, Frame&) { e.Push(uhex::BytesToSpacedHex(e.Pop())); }},
    {"HEXSTR", "hex -- s", "Spaced hexadecimal back to bytes (the inverse of STRHEX).",
     [](Engine& e, Frame&) { e.Push(uhex::SpacedHexToBytes(e.Pop())); }},
};

const WordList<> kStringWords{"Strings", kStringRows};

}  // namespace engine
