#include "device_clock.h"

#include <cstdio>

#include "UHex.h"
#include "cp1251.h"

namespace engine {
namespace {

const std::string kClockTime = Cp1251("Время: ");
const std::string kClockDate = Cp1251(" дата: ");
const std::string kWeekdays[7] = {
    Cp1251("понедельник"), Cp1251("вторник"), Cp1251("среда"),   Cp1251("четверг"),
    Cp1251("пятница"),     Cp1251("суббота"), Cp1251("воскресенье")};

std::string TwoDigits(int n) {
  char buf[4];
  std::snprintf(buf, sizeof buf, "%02d", n % 100);
  return buf;
}

// Up to n bytes from position `from` (from 0); short texts give short parts.
std::string_view Copy(std::string_view text, size_t from, size_t n) {
  if (from >= text.size()) return {};
  return text.substr(from, n);
}

uint8_t PairAt(std::string_view text, size_t from) {
  return uhex::HexPairToByte(Copy(text, from, 2));
}

}  // namespace

std::string ClockText(const std::tm& local) {
  const int weekday = (local.tm_wday + 6) % 7;
  const int year_bits = uhex::HexPairToByte(TwoDigits(local.tm_year + 1900)) & 3;
  const int date = uhex::HexPairToByte(TwoDigits(local.tm_mday)) + 64 * year_bits;
  const int month = (uhex::HexPairToByte(TwoDigits(local.tm_mon + 1)) + 32 * weekday) % 256;
  return TwoDigits(local.tm_sec) + ' ' + TwoDigits(local.tm_min) + ' ' +
         TwoDigits(local.tm_hour) + ' ' + uhex::ByteToHex(static_cast<uint8_t>(date & 0xFF)) +
         ' ' + uhex::ByteToHex(static_cast<uint8_t>(month));
}

std::string DescribeClock(std::string_view text, int current_year, bool with_weekday) {
  const uint8_t date = PairAt(text, 9);
  const uint8_t month = PairAt(text, 12);
  const int year =
      (uhex::HexPairToByte(TwoDigits(current_year)) & ~3) + (date >> 6);
  std::string out = kClockTime;
  out.append(Copy(text, 6, 2)).append(":").append(Copy(text, 3, 2)).append(":");
  out.append(Copy(text, 0, 2));
  out += kClockDate;
  out += uhex::ByteToHex(date & 63) + '.' + uhex::ByteToHex(month & 31) + '.' +
         uhex::ByteToHex(static_cast<uint8_t>(year));
  if (with_weekday) {
    out += ' ';
    // A weekday field of 7 names no day; nothing is appended after the blank.
    const unsigned weekday = month >> 5;
    if (weekday < 7) out += kWeekdays[weekday];
  }
  return out;
}

}  // namespace engine
