#include "frame.h"

#include "UHex.h"

namespace zlink {

bool FrameAssembler::Feed(char c) {
  if (c == ':') {
    in_frame_ = true;
    text_.clear();
    return false;
  }
  if (!in_frame_) return false;
  if (c == '\n') {
    in_frame_ = false;
    return true;
  }
  if (c == '\r') return false;
  if (text_.size() >= kMaxFrameText) {
    Reset();
    return false;
  }
  text_ += c;
  return false;
}

void FrameAssembler::Reset() {
  in_frame_ = false;
  text_.clear();
}

FrameCheck VerifyFrame(std::string_view text) {
  FrameCheck check;
  const size_t n = text.size();
  if (n < 6) return check;
  const size_t pairs = n / 2 - 1;
  check.bytes.reserve(pairs);
  unsigned sum = 0;
  for (size_t k = 0; k < pairs; ++k) {
    const uint8_t b = uhex::HexPairToByte(text.substr(2 * k, 2));
    check.bytes += static_cast<char>(b);
    sum += b;
  }
  sum += uhex::HexPairToByte(text.substr(n - 2, 2));
  const uint8_t s = static_cast<uint8_t>(sum & 0xFF);
  if (s != 0) {
    check.kind = FrameCheck::Kind::kBadSum;
    check.error = static_cast<uint8_t>(256 - s);
    check.bytes.clear();
    return check;
  }
  check.kind = FrameCheck::Kind::kGood;
  return check;
}

uint8_t FrameChecksum(uint8_t address, std::string_view bytes) {
  unsigned sum = address;
  for (unsigned char b : bytes) sum += b;
  return static_cast<uint8_t>((256 - (sum & 0xFF)) & 0xFF);
}

std::string BuildFrame(uint8_t address, std::string_view bytes) {
  if (bytes.empty()) return {};
  std::string line = ":";
  line.reserve(5 + 2 * bytes.size());
  line += uhex::ByteToHex(address);
  line += uhex::BytesToCompactHex(bytes);
  line += uhex::ByteToHex(FrameChecksum(address, bytes));
  return line;
}

}  // namespace zlink
