// The device's clock text: five bytes in spaced hexadecimal (seconds, minutes,
// hours, date byte with two year bits on top, month byte with the weekday in
// its top three bits).
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace engine {

// The clock text of a local time; the weekday comes from tm_wday (Monday = 0).
std::string ClockText(const std::tm& local);

// "Время: hh:mm:ss дата: dd.mm.yy", the year completed from current_year;
// with_weekday appends a blank and the weekday name.
std::string DescribeClock(std::string_view text, int current_year, bool with_weekday);

}  // namespace engine
