// A data record as the dispatcher reads it. The link delivers R: the frame's
// address byte, then the record (length byte L first). The dispatcher bytes D
// are L + 6, the address, the record from its code on and five bytes 00; the
// text S of D is what the memos, the record hook and the response store see.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace device {

class DeviceRecord {
 public:
  // D from R; none when R is too short or its length byte miscounts.
  static std::optional<DeviceRecord> Parse(std::string_view delivered);

  // D[i], 0 past the end.
  uint8_t At(size_t index) const {
    return index < bytes_.size() ? static_cast<uint8_t>(bytes_[index]) : 0;
  }
  // D[i] + 256 * D[i + 1].
  int32_t Word(size_t index) const { return At(index) + 256 * At(index + 1); }
  size_t size() const { return bytes_.size(); }
  int32_t address() const { return At(1); }  // h
  uint8_t code() const { return At(2); }     // k
  // From a module: the address is neither 0 nor 255.
  bool FromModule() const { return address() != 0 && address() < 255; }
  const std::string& bytes() const { return bytes_; }
  const std::string& text() const { return text_; }  // S

 private:
  explicit DeviceRecord(std::string bytes);

  std::string bytes_;
  std::string text_;
};

// Record codes the dispatcher acts on.
inline constexpr uint8_t kReadAnswer = 0xAC;
inline constexpr uint8_t kRefused = 0x92;

}  // namespace device
