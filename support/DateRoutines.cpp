#include "support/DateRoutines.h"

#include <cstdio>

namespace TDInvoice {
namespace {

// The four-year cycle of the calendar: days before each year of the cycle.
constexpr std::int64_t kYearStart[4] = {0, 366, 731, 1096};

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// The day number in 64 bits: within the host's range this is exactly the 16-bit cycle
// division, and far outside it nothing overflows.
std::int64_t encode64(std::int64_t year, std::int64_t month, std::int64_t day) {
  if (year < 1900)
    return 0;
  if (month < 1 || month > 13) {
    year += floorDiv(month - 1, 12);
    month = month - 1 - 12 * floorDiv(month - 1, 12) + 1;
    if (year < 1900)
      return 0;
  }
  const std::int64_t cycles = (year - 1900) / 4;
  const std::int64_t inCycle = (year - 1900) % 4;
  const int leap = year % 4 == 0 ? 1 : 0;
  return 1461 * cycles + kYearStart[inCycle] + CumulativeDays[leap][month - 1] + day;
}

} // namespace

void DivModWord(std::uint32_t Dividend, std::uint16_t Divisor, std::uint16_t &Quotient,
                std::uint16_t &Remainder) {
  if (Divisor == 0) {
    Quotient = 0;
    Remainder = 0;
    return;
  }
  Quotient = static_cast<std::uint16_t>(Dividend / Divisor);
  Remainder = static_cast<std::uint16_t>(Dividend % Divisor);
}

std::int32_t EncodeDayNumber(std::int32_t Year, std::int32_t Month, std::int32_t Day) {
  return static_cast<std::int32_t>(encode64(Year, Month, Day));
}

// Steps from an estimate of the year to the exact year, then month, then day, each step
// re-encoding the candidate date.
void DecodeDayNumber(std::int32_t DayNumber, std::int32_t &Year, std::int32_t &Month,
                     std::int32_t &Day) {
  if (DayNumber < 1) {
    Year = Month = Day = 0;
    return;
  }
  const std::int64_t d = DayNumber;
  std::int64_t year = d / 365 + 1900;
  std::int64_t month = 1;
  std::int64_t day = 1;
  std::int64_t b = encode64(year, 1, 1);
  if (d > b) {
    while (d > b)
      b = encode64(++year, month, day);
    if (d < b)
      b = encode64(--year, month, day);
  }
  while (d < b)
    b = encode64(--year, month, day);
  if (d > b) {
    while (d > b)
      b = encode64(year, ++month, day);
    if (d < b)
      b = encode64(year, --month, day);
  }
  if (d > b)
    day += d - b;
  Year = static_cast<std::int32_t>(year);
  Month = static_cast<std::int32_t>(month);
  Day = static_cast<std::int32_t>(day);
}

std::string FormatDayNumber(std::int32_t DayNumber) {
  if (DayNumber < 1)
    return std::string();
  std::int32_t year = 0, month = 0, day = 0;
  DecodeDayNumber(DayNumber, year, month, day);
  char text[40];
  std::snprintf(text, sizeof text, "%d/%.2d/%d", day, month, year);
  return text;
}

std::int32_t DayOfWeekMondayFirst(std::int32_t DayNumber) {
  const std::int64_t fromMonday = std::int64_t(DayNumber) - 2;
  return static_cast<std::int32_t>(fromMonday - 7 * floorDiv(fromMonday, 7)) + 1;
}

std::int32_t WeekEndingSunday(std::int32_t DayNumber) {
  const std::int32_t r = DayNumber % 7; // takes the sign of the day number
  return r <= 1 ? DayNumber - r + 1 : DayNumber - r + 8;
}

// Half days keep the quotient within 16 bits for every non-negative 32-bit count.
double Seconds2000ToDateTime(std::int32_t Seconds) {
  if (Seconds < 0) {
    const std::int64_t days = floorDiv(Seconds, 86400);
    const std::int64_t rest = std::int64_t(Seconds) - days * 86400;
    return double(36526 + days) + double(rest) / 86400.0;
  }
  std::uint16_t halfDays = 0, rest = 0;
  DivModWord(static_cast<std::uint32_t>(Seconds), 43200, halfDays, rest);
  const std::int32_t days = 36526 + halfDays / 2;
  const std::int32_t seconds = rest + ((halfDays & 1) ? 43200 : 0);
  return double(days) + double(seconds) / 86400.0;
}

} // namespace TDInvoice
