// The command records that the device words and the script exchange build,
// as byte strings (length byte first).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace device {

// True when the first byte counts the bytes after it.
bool ValidRecord(std::string_view record);

// 03 a AD addr below 256, else 04 a AD lo hi.
std::string ReadByteRecord(uint8_t a, int32_t address);
// 05 a AD lo hi 00: sixteen bytes from the address.
std::string ReadBlockRecord(uint8_t a, int32_t address);
// 04 a 6F addr b below 256, else 05 a 6F lo hi b.
std::string WriteByteRecord(uint8_t a, int32_t address, uint8_t b);
// 05 a 6F lo hi b, whatever the address.
std::string WriteByteLongRecord(uint8_t a, int32_t address, uint8_t b);
// 14 a 6F lo hi and sixteen bytes (missing ones 00).
std::string WriteBlockRecord(uint8_t a, int32_t address, std::string_view bytes);
std::string OpenWritingRecord(uint8_t a);   // 02 a B0
std::string CloseWritingRecord(uint8_t a);  // 02 a B1
// 05 a AD nn 00 00.
std::string ReadPhoneRecord(uint8_t a, int32_t number);
// 0D a 6F pp 00 qq and the eight digit bytes.
std::string WritePhoneRecord(uint8_t a, int32_t position, int32_t status,
                             std::string_view digits);
// Eight bytes of two digits each, low nibble first, F where the text ran out.
std::string PhoneDigitBytes(std::string_view digits);
// Digits back from the eight bytes: low nibble then high, F nibbles skipped.
std::string PhoneDigitsText(std::string_view bytes);
// L + 2, address, 17, the record without its length byte.
std::string ForwardRecord(std::string_view record, uint8_t address);

}  // namespace device
