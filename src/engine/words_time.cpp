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

void RegisterTimeWords(Engine& engine) {
  engine::WordGroup group(engine, "Time");
  engine.Document("NOW", "-- clock", "The computer's time as a device clock text.");
  engine.Register("NOW", [](Engine& e, Frame&) { e.Push(ClockText(LocalNow())); });
  engine.Document("HTIME", "clock -- text",
                  "A device clock text as \"Время: hh:mm:ss дата: dd.mm.yy\".");
  engine.Register("HTIME", [](Engine& e, Frame&) {
    e.Push(DescribeClock(e.Pop(), LocalNow().tm_year + 1900, false));
  });
  engine.Document("HTIMEP", "clock -- text", "As HTIME, followed by the weekday name.");
  engine.Register("HTIMEP", [](Engine& e, Frame&) {
    e.Push(DescribeClock(e.Pop(), LocalNow().tm_year + 1900, true));
  });
}

}  // namespace engine
