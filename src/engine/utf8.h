// UTF-8 beside the engine's Windows-1251: checking and strict decoding of
// bytes from files that may be in either encoding.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// Well-formed UTF-8: no stray continuation bytes, no truncated, overlong or
// surrogate sequences, nothing above U+10FFFF. The empty text is valid.
bool IsValidUtf8(std::string_view bytes);

// UTF-8 to Windows-1251. A leading byte order mark is dropped; characters the
// code page lacks and every byte of a malformed sequence become '?'.
std::string Cp1251FromUtf8(std::string_view utf8);

}  // namespace engine
