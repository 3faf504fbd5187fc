// OLE dates (days since 30 December 1899, the fraction the time of day) and the calendar and
// clock parts the persisted formats store. Internal to the ADO layer.
#pragma once

#include <cstdint>
#include <optional>

namespace TDInvoice::Ado {

struct DateParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  std::uint32_t nanosecond = 0;
};

// Days from 30 December 1899 to the given proleptic Gregorian date (negative before it).
std::int64_t dayNumberOf(int year, int month, int day);
// The calendar date of a day number.
void civilDate(std::int64_t dayNumber, int &year, int &month, int &day);

bool isValidDate(int year, int month, int day); // years 100 to 9999, as OLE dates allow
bool isValidTime(int hour, int minute, int second, std::uint32_t nanosecond);

// day + time for days on or after 30 December 1899; before it the time counts away from
// zero (-1.5 is 29 December 1899 12:00), as OLE dates do.
double oleDateOf(std::int64_t dayNumber, std::int64_t nanosecondOfDay);
// Parts must be valid.
double oleDateOf(const DateParts &parts);

// The parts of an OLE date, the time rounded to the nearest nanosecond (or to the given
// unit: 1000000 for milliseconds, 1000000000 for seconds). nullopt outside years 100-9999 or
// for a NaN.
std::optional<DateParts> datePartsOf(double oleDate, std::uint32_t unitNanoseconds = 1);

// The parts of an OLE date at the coarsest of second, millisecond, microsecond and nanosecond
// that still give back exactly the same double, so that written times carry no rounding
// noise in their fraction. nullopt as datePartsOf.
std::optional<DateParts> cleanDatePartsOf(double oleDate);

// FILETIME (100 ns ticks since 1 January 1601) to and from OLE dates.
std::optional<double> oleDateOfFileTime(std::uint64_t ticks);
std::optional<std::uint64_t> fileTimeOf(double oleDate);

} // namespace TDInvoice::Ado
