#include "framework/ado/OleDate.h"

#include <cmath>

namespace TDInvoice::Ado {

namespace {

constexpr std::int64_t kNanosecondsPerDay = 86400LL * 1000000000LL;
constexpr std::int64_t kDaysFrom1970To1899 = -25569; // 1899-12-30 relative to 1970-01-01
constexpr std::int64_t kDaysFrom1601To1899 = 109205;
constexpr std::uint64_t kTicksPerDay = 864000000000ULL;

// Proleptic Gregorian days relative to 1970-01-01 (H. Hinnant's civil-date algorithms).
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, int &year, int &month, int &day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = int(doy - (153 * mp + 2) / 5 + 1);
  month = int(mp < 10 ? mp + 3 : mp - 9);
  year = int(yoe + era * 400 + (month <= 2));
}

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

} // namespace

std::int64_t dayNumberOf(int year, int month, int day) {
  return daysFromCivil(year, month, day) - kDaysFrom1970To1899;
}

void civilDate(std::int64_t dayNumber, int &year, int &month, int &day) {
  civilFromDays(dayNumber + kDaysFrom1970To1899, year, month, day);
}

bool isValidDate(int year, int month, int day) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1)
    return false;
  const int last = kDays[month - 1] + (month == 2 && isLeap(year) ? 1 : 0);
  return day <= last;
}

bool isValidTime(int hour, int minute, int second, std::uint32_t nanosecond) {
  return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
         nanosecond < 1000000000U;
}

double oleDateOf(std::int64_t dayNumber, std::int64_t nanosecondOfDay) {
  const double fraction = double(nanosecondOfDay) / double(kNanosecondsPerDay);
  return dayNumber >= 0 ? double(dayNumber) + fraction : double(dayNumber) - fraction;
}

double oleDateOf(const DateParts &p) {
  const std::int64_t nanos =
      (std::int64_t(p.hour) * 3600 + p.minute * 60 + p.second) * 1000000000LL + p.nanosecond;
  return oleDateOf(dayNumberOf(p.year, p.month, p.day), nanos);
}

std::optional<DateParts> datePartsOf(double oleDate, std::uint32_t unitNanoseconds) {
  if (!std::isfinite(oleDate) || std::fabs(oleDate) > 3.0e6 || unitNanoseconds == 0)
    return std::nullopt;
  std::int64_t dayNumber = std::int64_t(std::trunc(oleDate));
  const double fraction = std::fabs(oleDate - double(dayNumber));
  const double units = std::nearbyint(fraction * (double(kNanosecondsPerDay) / unitNanoseconds));
  std::int64_t nanos = std::int64_t(units) * std::int64_t(unitNanoseconds);
  if (nanos >= kNanosecondsPerDay) { // rounded up to the next midnight
    nanos -= kNanosecondsPerDay;
    ++dayNumber;
  }
  DateParts p;
  civilDate(dayNumber, p.year, p.month, p.day);
  if (!isValidDate(p.year, p.month, p.day))
    return std::nullopt;
  const std::int64_t seconds = nanos / 1000000000LL;
  p.nanosecond = std::uint32_t(nanos % 1000000000LL);
  p.hour = int(seconds / 3600);
  p.minute = int(seconds / 60 % 60);
  p.second = int(seconds % 60);
  return p;
}

std::optional<DateParts> cleanDatePartsOf(double oleDate) {
  for (std::uint32_t unit : {1000000000U, 1000000U, 1000U}) {
    const auto parts = datePartsOf(oleDate, unit);
    if (!parts)
      return std::nullopt;
    if (oleDateOf(*parts) == oleDate)
      return parts;
  }
  return datePartsOf(oleDate, 1);
}

std::optional<double> oleDateOfFileTime(std::uint64_t ticks) {
  const std::int64_t dayNumber = std::int64_t(ticks / kTicksPerDay) - kDaysFrom1601To1899;
  int year = 0, month = 0, day = 0;
  civilDate(dayNumber, year, month, day);
  if (!isValidDate(year, month, day))
    return std::nullopt;
  return oleDateOf(dayNumber, std::int64_t(ticks % kTicksPerDay) * 100);
}

std::optional<std::uint64_t> fileTimeOf(double oleDate) {
  const auto p = cleanDatePartsOf(oleDate);
  if (!p)
    return std::nullopt;
  const std::int64_t days = dayNumberOf(p->year, p->month, p->day) + kDaysFrom1601To1899;
  if (days < 0)
    return std::nullopt;
  const std::uint64_t ticksOfDay =
      (std::uint64_t(p->hour) * 3600 + std::uint64_t(p->minute) * 60 + std::uint64_t(p->second)) *
          10000000ULL +
      p->nanosecond / 100;
  return std::uint64_t(days) * kTicksPerDay + ticksOfDay;
}

} // namespace TDInvoice::Ado
