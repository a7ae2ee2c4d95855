// Hexadecimal byte strings as the device link and the script words write them.
// Dependency-free: the engine uses it as well as the link.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace uhex {

// Two upper-case hexadecimal digits of a byte: 255 -> "FF".
std::string ByteToHex(uint8_t byte);

// The first two characters read as a hexadecimal pair. Digits 0-9 and A-F count
// by their value; any other character counts by its own code (so "3 " gives
// 0x50 and "ff" gives 0x66), modulo 256. Missing characters count as 0.
uint8_t HexPairToByte(std::string_view pair);

// "AB" -> "41 42 " (every byte followed by one blank).
std::string BytesToSpacedHex(std::string_view bytes);

// Inverse of BytesToSpacedHex: groups of three characters at fixed positions,
// the first two of each read as a pair; a last group of one character is ignored.
std::string SpacedHexToBytes(std::string_view text);

// "AB" -> "4142".
std::string BytesToCompactHex(std::string_view bytes);

// "4142" -> "AB"; a trailing odd digit is ignored.
std::string CompactHexToBytes(std::string_view text);

// Takes the next record off the front of a send queue of spaced hexadecimal
// records ("03 02 AD 03 05 02 ..."): the length byte says how many cells the
// record spans. Returns the record as spaced hex, or empty when the queue holds
// nothing usable, in which case the queue is emptied.
std::string TakeRecord(std::string& queue);

}  // namespace uhex
