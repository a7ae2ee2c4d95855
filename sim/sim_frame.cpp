#include "sim_frame.h"

namespace zsim {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr size_t kLongestFrame = 600;  // a 255-byte record is 518 digits

int Nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string ToHex(std::string_view bytes) {
  std::string hex;
  for (unsigned char b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 0x0F];
  }
  return hex;
}

bool FromHex(std::string_view text, std::string* bytes) {
  bytes->clear();
  int high = -1;
  for (char c : text) {
    if (c == ' ') continue;
    const int value = Nibble(c);
    if (value < 0) return false;
    if (high < 0) {
      high = value;
    } else {
      *bytes += static_cast<char>(high * 16 + value);
      high = -1;
    }
  }
  return high < 0;
}

std::string EncodeFrame(uint8_t address, std::string_view bytes) {
  unsigned sum = address;
  for (unsigned char b : bytes) sum += b;
  const char all[2] = {static_cast<char>(address), static_cast<char>(-sum & 0xFF)};
  return ":" + ToHex(std::string_view(all, 1)) + ToHex(bytes) + ToHex(std::string_view(all + 1, 1));
}

FrameStatus DecodeFrame(std::string_view text, std::string* bytes) {
  std::string all;
  if (text.size() < 6 || !FromHex(text, &all) || all.size() * 2 != text.size() ||
      text.find_first_of("abcdef") != std::string_view::npos)
    return FrameStatus::kMalformed;
  unsigned sum = 0;
  for (unsigned char b : all) sum += b;
  if ((sum & 0xFF) != 0) return FrameStatus::kBadSum;
  all.pop_back();
  *bytes = std::move(all);
  return FrameStatus::kGood;
}

bool FrameReader::Feed(char c) {
  if (c == ':') {
    inside_ = true;
    text_.clear();
  } else if (c == '\n' && inside_) {
    inside_ = false;
    return true;
  } else if (inside_ && c != '\r') {
    text_ += c;
    if (text_.size() > kLongestFrame) Reset();
  }
  return false;
}

void FrameReader::Reset() {
  inside_ = false;
  text_.clear();
}

}  // namespace zsim
