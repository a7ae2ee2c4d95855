#include "utf8.h"

#include <cstdint>

#include "cp1251.h"

namespace engine {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Length of the well-formed sequence at `at` and its code point; 0 when the
// bytes there are not one.
size_t Sequence(std::string_view text, size_t at, uint32_t* code_point) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[at + k]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    *code_point = lead;
    return 1;
  }
  size_t length = 0;
  uint32_t cp = 0;
  uint32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(k) & 0x3F);
  }
  if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  *code_point = cp;
  return length;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  uint32_t cp = 0;
  for (size_t at = 0; at < bytes.size();) {
    const size_t length = Sequence(bytes, at, &cp);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

std::string Cp1251FromUtf8(std::string_view utf8) {
  if (utf8.substr(0, kByteOrderMark.size()) == kByteOrderMark) utf8.remove_prefix(kByteOrderMark.size());
  std::string out;
  out.reserve(utf8.size());
  uint32_t cp = 0;
  for (size_t at = 0; at < utf8.size();) {
    const size_t length = Sequence(utf8, at, &cp);
    if (length == 0) {
      out += '?';
      ++at;
      continue;
    }
    // One well-formed character: the code page's table decides.
    out += Cp1251(utf8.substr(at, length));
    at += length;
  }
  return out;
}

}  // namespace engine
