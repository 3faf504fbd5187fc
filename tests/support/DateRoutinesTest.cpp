#include "support/DateRoutines.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <tuple>

namespace TDInvoice {
namespace {

// Proleptic Gregorian days since 1970-01-01, an independent reference for the calendar.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// Days since 30 December 1899, the whole part of a date-time value.
std::int64_t dateTimeDays(std::int64_t y, unsigned m, unsigned d) {
  return daysFromCivil(y, m, d) - daysFromCivil(1899, 12, 30);
}

TEST(DateRoutinesTest, DivModWordGivesSixteenBitResults) {
  struct Case {
    std::uint32_t dividend;
    std::uint16_t divisor, quotient, remainder;
  } cases[] = {{100, 4, 25, 0},       {103, 4, 25, 3},
               {36526, 365, 100, 26}, {2831155199u, 43200, 65535, 43199},
               {0, 7, 0, 0},          {65535u * 7 + 6, 7, 65535, 6}};
  for (const Case &c : cases) {
    std::uint16_t q = 1, r = 1;
    DivModWord(c.dividend, c.divisor, q, r);
    EXPECT_EQ(q, c.quotient) << c.dividend;
    EXPECT_EQ(r, c.remainder) << c.dividend;
  }
}

TEST(DateRoutinesTest, EncodeDayNumberKnownValues) {
  struct Case {
    int y, m, d;
    std::int32_t expected;
  } cases[] = {
      {2000, 1, 1, 36526},  {1900, 1, 1, 1},    {1900, 3, 1, 61},     {1899, 12, 31, 0},
      {1900, 2, 29, 60},    {1900, 13, 1, 367}, {2000, 2, 30, 36586}, {2008, 12, 25, 39807},
      {2100, 2, 29, 73110}, {1, 1, 1, 0},
  };
  for (const Case &c : cases)
    EXPECT_EQ(EncodeDayNumber(c.y, c.m, c.d), c.expected) << c.y << "-" << c.m << "-" << c.d;
  // Months outside 1..13 carry into the year like month 13 does.
  EXPECT_EQ(EncodeDayNumber(2000, 14, 1), EncodeDayNumber(2001, 2, 1));
  EXPECT_EQ(EncodeDayNumber(2000, 0, 1), EncodeDayNumber(1999, 12, 1));
  EXPECT_EQ(EncodeDayNumber(1900, 0, 1), 0);
}

TEST(DateRoutinesTest, DecodeDayNumberKnownValues) {
  struct Case {
    std::int32_t day;
    int y, m, d;
  } cases[] = {{36526, 2000, 1, 1},  {36585, 2000, 2, 29}, {1, 1900, 1, 1},   {60, 1900, 2, 29},
               {61, 1900, 3, 1},     {366, 1900, 12, 31},  {367, 1901, 1, 1}, {36891, 2000, 12, 31},
               {73110, 2100, 2, 29}, {0, 0, 0, 0},         {-5, 0, 0, 0}};
  for (const Case &c : cases) {
    std::int32_t y = -1, m = -1, d = -1;
    DecodeDayNumber(c.day, y, m, d);
    EXPECT_EQ(std::make_tuple(y, m, d), std::make_tuple(c.y, c.m, c.d)) << c.day;
  }
}

// Over two centuries the routines agree with the Gregorian calendar wherever the two
// calendars coincide, and decoding inverts encoding everywhere.
TEST(DateRoutinesTest, CalendarAgreesWithDateTimeDaysFrom1900To2100) {
  for (std::int64_t y = 1900; y <= 2100; ++y) {
    for (unsigned m = 1; m <= 12; ++m) {
      for (unsigned d = 1; d <= 31; ++d) {
        const std::int64_t reference = dateTimeDays(y, m, d);
        const std::int64_t monthLength =
            (m == 12 ? daysFromCivil(y + 1, 1, 1) : daysFromCivil(y, m + 1, 1)) -
            daysFromCivil(y, m, 1);
        if (d > monthLength)
          continue; // no such Gregorian date
        if (reference < 61 || reference > dateTimeDays(2100, 2, 28))
          continue;
        const std::int32_t day = EncodeDayNumber(int(y), int(m), int(d));
        ASSERT_EQ(day, reference) << y << "-" << m << "-" << d;
        std::int32_t yy = 0, mm = 0, dd = 0;
        DecodeDayNumber(day, yy, mm, dd);
        ASSERT_EQ(std::make_tuple(yy, mm, dd), std::make_tuple(int(y), int(m), int(d)));
      }
    }
  }
}

TEST(DateRoutinesTest, DecodeStaysSoundFarOutsideTheHostsRange) {
  for (std::int32_t day : {23920639, 50000000, INT32_MAX}) {
    std::int32_t y = 0, m = 0, d = 0;
    DecodeDayNumber(day, y, m, d);
    EXPECT_EQ(EncodeDayNumber(y, m, d), day) << day;
    EXPECT_GE(m, 1);
    EXPECT_LE(m, 12);
  }
}

TEST(DateRoutinesTest, FormatDayNumber) {
  struct Case {
    std::int32_t day;
    const char *text;
  } cases[] = {{36526, "1/01/2000"}, {0, ""}, {36891, "31/12/2000"}, {39807, "25/12/2008"},
               {39819, "6/01/2009"}, {-3, ""}};
  for (const Case &c : cases)
    EXPECT_EQ(FormatDayNumber(c.day), c.text) << c.day;
}

TEST(DateRoutinesTest, WeekdaysAndWeekEndings) {
  struct Case {
    std::int32_t day, weekday, weekEnding;
  } cases[] = {
      {36526, 6, 36527}, // Saturday 1/01/2000: the next day
      {36527, 7, 36527}, // Sunday: itself
      {36528, 1, 36534}, // Monday: the coming Sunday
      {36533, 6, 36534}, // Saturday
      {36532, 5, 36534}, // Friday
      {2, 1, 8},         // the first Monday of the calendar
  };
  for (const Case &c : cases) {
    EXPECT_EQ(DayOfWeekMondayFirst(c.day), c.weekday) << c.day;
    EXPECT_EQ(WeekEndingSunday(c.day), c.weekEnding) << c.day;
  }
  for (std::int32_t day = 2; day < 80000; ++day) {
    const std::int32_t sunday = WeekEndingSunday(day);
    ASSERT_EQ(DayOfWeekMondayFirst(sunday), 7) << day;
    ASSERT_EQ(sunday - day, 7 - DayOfWeekMondayFirst(day)) << day;
  }
}

TEST(DateRoutinesTest, SecondsSince2000BecomeDateTimes) {
  struct Case {
    std::int32_t seconds;
    double value;
  } cases[] = {{0, 36526.0},      {43200, 36526.5},  {86400, 36527.0},
               {129600, 36527.5}, {21600, 36526.25}, {INT32_MAX, 36526.0 + INT32_MAX / 86400.0},
               {-43200, 36525.5}, {-86400, 36525.0}};
  for (const Case &c : cases)
    EXPECT_DOUBLE_EQ(Seconds2000ToDateTime(c.seconds), c.value) << c.seconds;
  // The whole-day part is the day number of the stamp's date.
  EXPECT_EQ(static_cast<std::int32_t>(Seconds2000ToDateTime(9 * 86400 + 3600)), 36535);
}

TEST(DateRoutinesTest, CumulativeDaysFollowTheMonthLengths) {
  for (int leap = 0; leap < 2; ++leap) {
    const int year = leap ? 2000 : 2001;
    EXPECT_EQ(CumulativeDays[leap][0], 0);
    for (unsigned m = 1; m <= 12; ++m) {
      const std::int64_t next =
          m == 12 ? daysFromCivil(year + 1, 1, 1) : daysFromCivil(year, m + 1, 1);
      EXPECT_EQ(CumulativeDays[leap][m] - CumulativeDays[leap][m - 1],
                next - daysFromCivil(year, m, 1))
          << "leap " << leap << " month " << m;
    }
  }
}

} // namespace
} // namespace TDInvoice
