// The device's own frame code: ':' address code record checksum CR LF, each
// byte as two upper-case hexadecimal digits. Written apart from the program's
// link on purpose, so that a fault in either side's framing shows up in the
// tests instead of being shared by both ends of the line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zsim {

// ":" + address + bytes + checksum, without CR LF.
std::string EncodeFrame(uint8_t address, std::string_view bytes);

enum class FrameStatus { kMalformed, kBadSum, kGood };

// Checks the characters between ':' and the line end. kGood puts the bytes
// before the checksum (address first) into `bytes`. A frame is at least an
// address, a code and a checksum, in an even number of upper-case
// hexadecimal digits.
FrameStatus DecodeFrame(std::string_view text, std::string* bytes);

// Collects one frame's characters from the line: ':' starts one, LF ends it,
// CR is dropped, anything outside a frame and overlong junk are ignored.
class FrameReader {
 public:
  bool Feed(char c);  // true when `c` ended a frame; it is then text()
  void Reset();
  const std::string& text() const { return text_; }

 private:
  bool inside_ = false;
  std::string text_;
};

// Upper-case hexadecimal digits of `bytes`, and back (either case, blanks
// between the digits allowed). False for an odd count or a non-hex character.
std::string ToHex(std::string_view bytes);
bool FromHex(std::string_view text, std::string* bytes);

}  // namespace zsim
