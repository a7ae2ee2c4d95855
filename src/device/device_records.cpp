#include "device_records.h"

#include "UHex.h"

namespace device {

namespace {

char Byte(int32_t value) { return static_cast<char>(value & 0xFF); }

std::string Record(std::string body) {
  body.insert(body.begin(), Byte(static_cast<int32_t>(body.size())));
  return body;
}

std::string Header(uint8_t a, uint8_t command) {
  return {static_cast<char>(a), static_cast<char>(command)};
}

}  // namespace

bool ValidRecord(std::string_view record) {
  return !record.empty() &&
         static_cast<uint8_t>(record[0]) == record.size() - 1;
}

std::string ReadByteRecord(uint8_t a, int32_t address) {
  std::string body = Header(a, 0xAD);
  if (address < 256) {
    body += Byte(address);
  } else {
    body += Byte(address);
    body += Byte(address >> 8);
  }
  return Record(body);
}

std::string ReadBlockRecord(uint8_t a, int32_t address) {
  std::string body = Header(a, 0xAD);
  body += Byte(address);
  body += Byte(address >> 8);
  body += '\0';
  return Record(body);
}

std::string WriteByteRecord(uint8_t a, int32_t address, uint8_t b) {
  if (address >= 256) return WriteByteLongRecord(a, address, b);
  std::string body = Header(a, 0x6F);
  body += Byte(address);
  body += static_cast<char>(b);
  return Record(body);
}

std::string WriteByteLongRecord(uint8_t a, int32_t address, uint8_t b) {
  std::string body = Header(a, 0x6F);
  body += Byte(address);
  body += Byte(address >> 8);
  body += static_cast<char>(b);
  return Record(body);
}

std::string WriteBlockRecord(uint8_t a, int32_t address, std::string_view bytes) {
  std::string body = Header(a, 0x6F);
  body += Byte(address);
  body += Byte(address >> 8);
  std::string block(bytes.substr(0, 16));
  block.resize(16, '\0');
  return Record(body + block);
}

std::string OpenWritingRecord(uint8_t a) { return Record(Header(a, 0xB0)); }
std::string CloseWritingRecord(uint8_t a) { return Record(Header(a, 0xB1)); }

std::string ReadPhoneRecord(uint8_t a, int32_t number) {
  std::string body = Header(a, 0xAD);
  body += Byte(number);
  body += '\0';
  body += '\0';
  return Record(body);
}

std::string WritePhoneRecord(uint8_t a, int32_t position, int32_t status,
                             std::string_view digits) {
  std::string body = Header(a, 0x6F);
  body += Byte(position);
  body += '\0';
  body += Byte(status);
  return Record(body + PhoneDigitBytes(digits));
}

std::string PhoneDigitBytes(std::string_view digits) {
  std::string bytes;
  size_t next = 0;
  auto nibble = [&]() -> int {
    if (next >= digits.size()) return 0xF;
    return static_cast<uint8_t>(digits[next++]) & 0x0F;
  };
  for (int k = 0; k < 8; ++k) {
    int low = nibble();
    int high = nibble();
    bytes += static_cast<char>(low | (high << 4));
  }
  return bytes;
}

std::string PhoneDigitsText(std::string_view bytes) {
  std::string digits;
  for (char byte : bytes) {
    std::string hex = uhex::ByteToHex(static_cast<uint8_t>(byte));
    if (hex[1] != 'F') digits += hex[1];
    if (hex[0] != 'F') digits += hex[0];
  }
  return digits;
}

std::string ForwardRecord(std::string_view record, uint8_t address) {
  // A record of 254 bytes or more cannot carry the two extra bytes.
  if (record.empty() || static_cast<uint8_t>(record[0]) > 253) return {};
  std::string forwarded;
  forwarded += Byte(static_cast<uint8_t>(record[0]) + 2);
  forwarded += static_cast<char>(address);
  forwarded += static_cast<char>(0x17);
  forwarded.append(record.substr(1));
  return forwarded;
}

}  // namespace device
