#include "host/demo/DemoAttendances.h"

#include "host/demo/DemoGenerator.h"

#include <algorithm>

namespace TDInvoice::Demo {
namespace {

void addAttendance(const TDemoFamily &family, const TDemoChild &child, const TDemoSessionKind &kind,
                   const QDate &date, std::vector<TDemoAttendance> &attendances) {
  const int number = family.invoiceNo * 1000 + static_cast<int>(attendances.size()) + 1;
  attendances.push_back(
      {number, child.childID, kind.sessTypeID, date, {{kind.chargeID, kind.fee}}});
}

void addRegularBookings(const TDemoFamily &family, const TDemoChild &child,
                        std::vector<TDemoAttendance> &attendances) {
  const QDate first = TDemoCalendar::closeDate().addDays(1);
  for (int offset = 0; offset < TDemoCalendar::PendingDays; ++offset) {
    const QDate date = first.addDays(offset);
    for (const TDemoBooking &booking : child.bookings)
      if (std::find(booking.weekdays.begin(), booking.weekdays.end(), date.dayOfWeek()) !=
          booking.weekdays.end())
        addAttendance(family, child, *booking.kind, date, attendances);
  }
}

// Weekend sessions: a holiday-programme excursion on the first Saturday, weekend care on the
// last Sunday.
void addWeekendBookings(const TDemoFamily &family, const TDemoChild &child, int position,
                        std::vector<TDemoAttendance> &attendances) {
  const QDate saturday = TDemoCalendar::closeDate().addDays(6);
  const QDate sunday = TDemoCalendar::closeDate().addDays(TDemoCalendar::PendingDays);
  // Chosen by position rather than by chance, so that every database of some size has both.
  const int turn = family.index + position;
  if (child.schoolAge() && turn % 4 == 0) {
    addAttendance(family, child, vacationSession(), saturday, attendances);
    attendances.back().charges.push_back({kChargeExcursion, kExcursionLevy});
  } else if (!child.schoolAge() && turn % 7 == 3) {
    addAttendance(family, child, weekendSession(), sunday, attendances);
  }
}

} // namespace

std::vector<TDemoAttendance> makePendingAttendances(const TDemoFamily &family,
                                                    TDemoRandom &random) {
  std::vector<TDemoAttendance> attendances;
  if (family.isLeaving)
    return attendances;
  for (std::size_t position = 0; position < family.children.size(); ++position) {
    const TDemoChild &child = family.children[position];
    const std::size_t firstOfChild = attendances.size();
    addRegularBookings(family, child, attendances);
    addWeekendBookings(family, child, static_cast<int>(position), attendances);
    if (attendances.size() > firstOfChild && random.chance(10)) {
      const auto last = static_cast<int>(attendances.size() - 1);
      attendances[static_cast<std::size_t>(random.between(static_cast<int>(firstOfChild), last))]
          .charges.push_back({kChargeLateCollection, kLateCollectionFee});
    }
  }
  std::stable_sort(
      attendances.begin(), attendances.end(),
      [](const TDemoAttendance &a, const TDemoAttendance &b) { return a.date < b.date; });
  return attendances;
}

} // namespace TDInvoice::Demo
