#include "device_record.h"

#include "UHex.h"

namespace device {

DeviceRecord::DeviceRecord(std::string bytes)
    : bytes_(std::move(bytes)), text_(uhex::BytesToSpacedHex(bytes_)) {}

std::optional<DeviceRecord> DeviceRecord::Parse(std::string_view delivered) {
  if (delivered.size() < 2) return std::nullopt;
  std::string d;
  d += static_cast<char>((static_cast<uint8_t>(delivered[1]) + 6) & 0xFF);
  d += delivered[0];
  d.append(delivered.substr(2));
  d.append(5, '\0');
  if (static_cast<uint8_t>(d[0]) != d.size() - 1) return std::nullopt;
  return DeviceRecord(std::move(d));
}

}  // namespace device
