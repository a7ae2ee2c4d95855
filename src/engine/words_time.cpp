// NOW, HTIME and HTIMEP: the computer's clock in the device's clock text.
#include <ctime>

#include "device_clock.h"
#include "engine.h"

namespace engine {
namespace {

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace

constexpr WordRow<> kTimeRows[] = {
    {"NOW", "-- clock", "The computer's time as a device clock text.",
     [](Engine& e, Frame&) { e.Push(ClockText(LocalNow())); }},
    {"HTIME", "clock -- text", "A device clock text as \"Время: hh:mm:ss дата: dd.mm.yy\".",
     [](Engine& e, Frame&) { e.Push(DescribeClock(e.Pop(), LocalNow().tm_year + 1900, false)); }},
    {"HTIMEP", "clock -- text", "As HTIME, followed by the weekday name.",
     [](Engine& e, Frame&) { e.Push(DescribeClock(e.Pop(), LocalNow().tm_year + 1900, true)); }},
};

const WordList<> kTimeWords{"Time", kTimeRows};

}  // namespace engine
