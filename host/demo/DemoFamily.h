// One demo family as the generator sees it, before it becomes table rows.
#pragma once

#include "host/demo/DemoRandom.h"
#include "host/demo/DemoTables.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace TDInvoice::Demo {

// Care types of the host (the library prints them as REG, ASC, BSC, VAC, LDC, OCC).
enum TCareType { ctAfterSchool = 1, ctBeforeSchool = 2, ctVacation = 3, ctLongDay = 4 };

// A kind of session the service sells, with its price list entry.
struct TDemoSessionKind {
  int careType;
  int locationID;
  int sessTypeID;
  int chargeID;
  TCents fee;
  double hours;
  double ccbRate; // dollars per hour at 100 %
  const char *abbrev;
};

const TDemoSessionKind &longDaySession();
const TDemoSessionKind &halfDaySession();
const TDemoSessionKind &beforeSchoolSession();
const TDemoSessionKind &afterSchoolSession();
const TDemoSessionKind &vacationSession();
const TDemoSessionKind &weekendSession();

// Extra charges on a booking.
inline constexpr int kChargeLateCollection = 3;
inline constexpr int kChargeExcursion = 4;
inline constexpr TCents kLateCollectionFee = 1500;
inline constexpr TCents kExcursionLevy = 2200;

// A child's regular booking of one kind of session on some weekdays (1 Monday .. 7 Sunday).
struct TDemoBooking {
  const TDemoSessionKind *kind;
  std::vector<int> weekdays;
};

struct TDemoChild {
  int childID = 0;
  QString firstName;
  QString lastName;
  std::optional<QString> grade; // school children only
  QString enrolmentId;          // empty: not yet enrolled for CCB
  std::vector<TDemoBooking> bookings;
  int absencesBefore = 0; // absence days earlier in the year
  bool schoolAge() const { return grade.has_value(); }
};

struct TDemoFamily {
  int index = 0;
  int parentID = 0;
  int invoiceNo = 0;
  QString familyName;
  std::optional<QString> accountName;
  std::optional<QString> customerRef;
  std::optional<QString> address1;
  std::optional<QString> address2;
  std::optional<int> distribChild;
  bool directDebit = false;
  bool creditCard = false;
  int paymentMethod = 1; // the method the family usually pays by, 1..8
  double ccbPercent = 0;
  bool jfa = false;             // receives JFA on top of CCB
  bool rebateAtService = false; // CCR is paid through the service
  bool isNew = false;           // starts in the period and pays a deposit
  bool isLeaving = false;       // leaves in the period; its deposit is released
  int firstWeek = 0;            // first history week with care (0..5)
  int lastWeek = TDemoCalendarWeeks - 1;
  TCents broughtForward = 0;
  std::optional<QString> note;
  std::vector<TDemoChild> children;

  static constexpr int TDemoCalendarWeeks = 6;
};

TDemoFamily makeFamily(int index, TDemoRandom &random);

// The percentage CCB is paid at for a child's care: the family's, or for long day care at
// 100 % the loaded percentage of a family with several children in long day care.
double ccbPercentFor(const TDemoFamily &family, const TDemoSessionKind &kind);
// The percentage printed in place of 100 for long day care.
double ccbAltPercent(const TDemoFamily &family);

} // namespace TDInvoice::Demo
