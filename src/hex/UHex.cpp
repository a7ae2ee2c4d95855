#include "UHex.h"

#include <cctype>

namespace uhex {
namespace {

int DigitValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return c;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

}  // namespace

std::string ByteToHex(uint8_t byte) {
  static const char kDigits[] = "0123456789ABCDEF";
  return {kDigits[byte >> 4], kDigits[byte & 15]};
}

uint8_t HexPairToByte(std::string_view pair) {
  int hi = pair.size() > 0 ? DigitValue(static_cast<unsigned char>(pair[0])) : 0;
  int lo = pair.size() > 1 ? DigitValue(static_cast<unsigned char>(pair[1])) : 0;
  return static_cast<uint8_t>((16 * hi + lo) & 0xFF);
}

std::string BytesToSpacedHex(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3);
  for (unsigned char b : bytes) {
    out += ByteToHex(b);
    out += ' ';
  }
  return out;
}

std::string SpacedHexToBytes(std::string_view text) {
  const std::string upper = UpperAscii(text);
  std::string out;
  out.reserve(upper.size() / 3 + 1);
  for (size_t pos = 0; pos + 1 < upper.size(); pos += 3)
    out += static_cast<char>(HexPairToByte(std::string_view(upper).substr(pos, 2)));
  return out;
}

std::string BytesToCompactHex(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) out += ByteToHex(b);
  return out;
}

std::string CompactHexToBytes(std::string_view text) {
  std::string digits;
  digits.reserve(text.size());
  for (char c : text)
    if (c != ' ') digits += c;
  digits = UpperAscii(digits);
  std::string out;
  out.reserve(digits.size() / 2);
  for (size_t pos = 0; pos + 1 < digits.size(); pos += 2)
    out += static_cast<char>(HexPairToByte(std::string_view(digits).substr(pos, 2)));
  return out;
}

namespace {

// Removes at most two blanks from the front.
void DropTwoLeadingBlanks(std::string& text) {
  size_t n = 0;
  while (n < 2 && n < text.size() && text[n] == ' ') ++n;
  text.erase(0, n);
}

}  // namespace

std::string TakeRecord(std::string& queue) {
  if (queue.empty()) return {};
  // Only the first line of the queue is looked at.
  const size_t crlf = queue.find("\r\n");
  std::string line = queue.substr(0, crlf);
  std::string result;
  if (!line.empty()) {
    if (line.size() <= 4) {
      queue.clear();
      return {};
    }
    DropTwoLeadingBlanks(line);
    const uint8_t length = static_cast<uint8_t>(SpacedHexToBytes(line.substr(0, 2))[0]);
    const size_t cells = (static_cast<size_t>(length) + 1) * 3;
    if (cells < line.size()) {
      DropTwoLeadingBlanks(queue);
      result = queue.substr(0, cells);
      queue.erase(0, cells);
    } else {
      result = line;
      if (crlf == std::string::npos)
        queue.clear();
      else
        queue.erase(0, crlf + 2);
    }
  }
  if (result.empty()) queue.clear();
  return result;
}

}  // namespace uhex
