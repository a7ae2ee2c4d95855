// NOW, HTIME and HTIMEP and the device clock text behind them.
#include <ctime>

#include "device_clock.h"
#include "engine_test_support.h"

namespace engine_test {
namespace {

std::tm At(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_isdst = -1;
  std::mktime(&t);  // fills in tm_wday
  return t;
}

TEST(DeviceClock, ClockTextLayout) {
  // Wednesday: weekday 2; 2025: year bits 1.
  EXPECT_EQ(engine::ClockText(At(2025, 3, 5, 9, 41, 27)), "27 41 09 45 43");
  // Sunday 1 January 2023: month byte 0x01 + 6 * 32; year bits of 3.
  EXPECT_EQ(engine::ClockText(At(2023, 1, 1, 0, 0, 0)), "00 00 00 C1 C1");
  // Tuesday 31 December 2024, Monday 29 December 2025.
  EXPECT_EQ(engine::ClockText(At(2024, 12, 31, 23, 59, 59)), "59 59 23 31 32");
  EXPECT_EQ(engine::ClockText(At(2025, 12, 29, 7, 5, 0)), "00 05 07 69 12");
}

TEST(DeviceClock, Describe) {
  const std::string expected =
      Cp1251("Время: ") + "09:41:27" + Cp1251(" дата: ") + "05.03.25";
  EXPECT_EQ(engine::DescribeClock("27 41 09 45 43", 2025, false), expected);
  EXPECT_EQ(engine::DescribeClock("27 41 09 45 43", 2025, true), expected + Cp1251(" среда"));
  EXPECT_EQ(engine::DescribeClock("00 00 00 C1 C1", 2023, true),
            Cp1251("Время: 00:00:00 дата: 01.01.23 воскресенье"));
  // Only two year bits travel; the rest comes from the current year.
  EXPECT_EQ(engine::DescribeClock("00 00 00 C1 01", 2025, false),
            Cp1251("Время: 00:00:00 дата: 01.01.27"));
}

TEST(DeviceClock, WeekdaySevenAndShortTexts) {
  // Weekday field 7 names no day: the text ends in the blank.
  EXPECT_EQ(engine::DescribeClock("00 00 00 01 E1", 2024, true),
            Cp1251("Время: 00:00:00 дата: 01.01.24 "));
  EXPECT_EQ(engine::DescribeClock("12 34", 2024, true),
            Cp1251("Время: :34:12 дата: 00.00.24 понедельник"));
  EXPECT_EQ(engine::DescribeClock("", 2024, false), Cp1251("Время: :: дата: 00.00.24"));
}

TEST_F(EngineTest, NowMatchesTheComputersClock) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::time_t before = std::time(nullptr);
    const Values stack = After("NOW");
    if (std::time(nullptr) != before) continue;  // the second turned over
    std::tm local{};
    localtime_r(&before, &local);
    ASSERT_EQ(stack, Values{engine::ClockText(local)});
    ASSERT_EQ(stack[0].size(), 14u);
    return;
  }
  FAIL() << "the clock kept turning over";
}

TEST_F(EngineTest, HtimeOfNowGivesBackTheTimeAndDate) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::time_t before = std::time(nullptr);
    const Values stack = After("NOW DUP HTIME SWAP HTIMEP");
    if (std::time(nullptr) != before) continue;
    std::tm local{};
    localtime_r(&before, &local);
    char expected[64];
    std::strftime(expected, sizeof expected, "%H:%M:%S_%d.%m.%y", &local);
    std::string text = expected;
    text.replace(text.find('_'), 1, Cp1251(" дата: "));
    text = Cp1251("Время: ") + text;
    static const char* const kDays[] = {"воскресенье", "понедельник", "вторник", "среда",
                                        "четверг",     "пятница",     "суббота"};
    ASSERT_EQ(stack, (Values{text, text + ' ' + Cp1251(kDays[local.tm_wday])}));
    return;
  }
  FAIL() << "the clock kept turning over";
}

TEST_F(EngineTest, HtimeNeverFaults) {
  EXPECT_EQ(After("\"\" HTIME LEN"), Values{"24"});
  EXPECT_EQ(After("HTIMEP LEN"), Values{"36"});  // weekday field 0 of the empty text
}

}  // namespace
}  // namespace engine_test
