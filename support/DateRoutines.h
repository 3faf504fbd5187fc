// Day numbers (1 = 1 January 1900, every year divisible by 4 a leap year; equal to the
// whole days of a date-time value from 1 March 1900 to 28 February 2100; 0 = no date),
// weekdays, week endings and the host's second counts since 2000-01-01 00:00.
#pragma once

#include <cstdint>
#include <string>

namespace TDInvoice {

// Days before each month and, last, the length of the year: common row, then leap row.
inline constexpr std::int32_t CumulativeDays[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
};

// One division with 16-bit results; the caller keeps the quotient below 65,536 (beyond it
// the quotient is its low 16 bits). A zero divisor gives 0 and 0.
void DivModWord(std::uint32_t Dividend, std::uint16_t Divisor, std::uint16_t &Quotient,
                std::uint16_t &Remainder);

// 0 for years before 1900. Month 13 day 1 is 1 January of the next year and days beyond a
// month run on into the next; months outside 1..13 carry into the year the same way.
std::int32_t EncodeDayNumber(std::int32_t Year, std::int32_t Month, std::int32_t Day);

// Year, month and day of a day number; all three 0 for day numbers below 1.
void DecodeDayNumber(std::int32_t DayNumber, std::int32_t &Year, std::int32_t &Month,
                     std::int32_t &Day);

// "d/mm/yyyy" ("1/01/2000"); empty for 0 (and for any day number below 1).
std::string FormatDayNumber(std::int32_t DayNumber);

// Monday = 1 ... Sunday = 7.
std::int32_t DayOfWeekMondayFirst(std::int32_t DayNumber);

// The Sunday that ends the day's Monday-to-Sunday week.
std::int32_t WeekEndingSunday(std::int32_t DayNumber);

// 36526 + Seconds / 86400 (a date-time value). Negative counts, outside the host's range,
// are taken as seconds before 2000 rather than wrapping.
double Seconds2000ToDateTime(std::int32_t Seconds);

} // namespace TDInvoice
