// The frame format on the serial line: ':' address code record checksum CR LF,
// every byte as two hexadecimal digits. Pure functions, shared by the link and
// the simulated device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zlink {

// Collects the characters of one frame: ':' starts (or restarts) a frame,
// LF ends it, CR is ignored, anything outside a frame is ignored.
class FrameAssembler {
 public:
  // A frame longer than this cannot be a real one (a record is at most 256
  // bytes); line noise without LF is dropped instead of growing without end.
  static constexpr size_t kMaxFrameText = 1024;

  // True when `c` completed a frame; its characters are then text().
  bool Feed(char c);
  void Reset();

  bool in_frame() const { return in_frame_; }
  const std::string& text() const { return text_; }

 private:
  bool in_frame_ = false;
  std::string text_;
};

struct FrameCheck {
  enum class Kind { kShort, kBadSum, kGood };
  Kind kind = Kind::kShort;
  // The frame's bytes without the checksum (address, code, record).
  std::string bytes;
  // For kBadSum: the value the checksum was off by, as reported in the log.
  uint8_t error = 0;
};

// Reads and checks the characters between ':' and LF. Fewer than six
// characters is a short frame; otherwise every byte including the checksum
// must add up to 0 modulo 256.
FrameCheck VerifyFrame(std::string_view text);

// The checksum byte that makes address + bytes + checksum add up to 0.
uint8_t FrameChecksum(uint8_t address, std::string_view bytes);

// ":" + address + bytes + checksum as upper-case hex, without CR LF.
// Empty when `bytes` is empty: such a frame is never sent.
std::string BuildFrame(uint8_t address, std::string_view bytes);

}  // namespace zlink
