#include "host/demo/DemoFamily.h"

#include "host/demo/DemoGenerator.h"
#include "host/demo/DemoNames.h"

#include <algorithm>
#include <array>

namespace TDInvoice::Demo {
namespace {

// The service's price list: long day care at location 1, outside school hours care at 2.
constexpr TDemoSessionKind kLongDay{ctLongDay, 1, 1, 1, 9800, 10.0, 3.68, "LDC"};
constexpr TDemoSessionKind kHalfDay{ctLongDay, 1, 2, 1, 6200, 5.0, 3.68, "LDC"};
constexpr TDemoSessionKind kBeforeSchool{ctBeforeSchool, 2, 3, 2, 1850, 2.5, 3.13, "BSC"};
constexpr TDemoSessionKind kAfterSchool{ctAfterSchool, 2, 4, 2, 2500, 3.5, 3.13, "ASC"};
constexpr TDemoSessionKind kVacation{ctVacation, 2, 5, 2, 6800, 10.0, 3.13, "VAC"};
constexpr TDemoSessionKind kWeekend{ctLongDay, 1, 6, 1, 11000, 10.0, 3.68, "LDC"};

constexpr double kCcbPercents[] = {100.0, 100.0, 87.5, 74.25, 61.0, 50.0, 36.75, 20.0, 0.0};
constexpr const char *kGrades[] = {"K", "1", "2", "3", "4", "5", "6"};
constexpr int kCounterMethods[] = {1, 2, 3, 4, 5, 8}; // cash, cheque, card, EFTPOS, BPAY, bank

const char *pickText(TDemoRandom &random, std::span<const char *const> items) {
  return random.pick(items);
}

// count different weekdays from first..last, ascending.
std::vector<int> pickWeekdays(TDemoRandom &random, int count, int first = 1, int last = 5) {
  std::vector<int> days;
  for (int day = first; day <= last; ++day)
    days.push_back(day);
  while (static_cast<int>(days.size()) > count)
    days.erase(days.begin() + random.between(0, static_cast<int>(days.size()) - 1));
  return days;
}

// A 7-digit reference: the parent key, then a Luhn check digit.
QString customerReference(int parentID) {
  const QString digits = QStringLiteral("%1").arg(parentID, 6, 10, QLatin1Char('0'));
  int sum = 0;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    int digit = digits[digits.size() - 1 - i].digitValue();
    if (i % 2 == 0) {
      digit *= 2;
      if (digit > 9)
        digit -= 9;
    }
    sum += digit;
  }
  return digits + QString::number((10 - sum % 10) % 10);
}

QString enrolmentIdFor(int childID, TDemoRandom &random) {
  return QStringLiteral("5%1%2").arg(childID, 7, 10, QLatin1Char('0')).arg(random.between(10, 99));
}

void bookLongDay(TDemoChild &child, TDemoRandom &random) {
  std::vector<int> days = pickWeekdays(random, random.between(2, 5));
  if (random.chance(20) && days.size() > 2) {
    child.bookings.push_back({&kHalfDay, {days.back()}});
    days.pop_back();
  }
  child.bookings.insert(child.bookings.begin(), {&kLongDay, days});
}

void bookSchoolAge(TDemoChild &child, TDemoRandom &random) {
  if (random.chance(60))
    child.bookings.push_back({&kBeforeSchool, pickWeekdays(random, random.between(1, 3))});
  child.bookings.push_back({&kAfterSchool, pickWeekdays(random, random.between(2, 5))});
}

TDemoChild makeChild(const TDemoFamily &family, int position, bool schoolAge, TDemoRandom &random) {
  TDemoChild child;
  child.childID = family.parentID * 10 + position;
  child.firstName = QString::fromUtf8(random.chance(50) ? pickText(random, girlNames())
                                                        : pickText(random, boyNames()));
  // Some children carry another parent's name.
  child.lastName =
      random.chance(10) ? QString::fromUtf8(pickText(random, familyNames())) : family.familyName;
  if (schoolAge)
    child.grade = QString::fromUtf8(pickText(random, kGrades));
  if (!random.chance(8))
    child.enrolmentId = enrolmentIdFor(child.childID, random);
  child.absencesBefore = random.between(0, 6);
  if (schoolAge)
    bookSchoolAge(child, random);
  else
    bookLongDay(child, random);
  return child;
}

void addChildren(TDemoFamily &family, TDemoRandom &random) {
  const int roll = random.between(0, 99);
  const int count = roll < 50 ? 1 : roll < 90 ? 2 : 3;
  // Long day care families, outside school hours families, and families with both.
  const int mix = random.between(0, 99);
  for (int position = 1; position <= count; ++position) {
    const bool schoolAge = mix < 55 ? false : mix < 85 ? true : position == 1;
    family.children.push_back(makeChild(family, position, schoolAge, random));
  }
  for (const TDemoChild &child : family.children)
    if (child.schoolAge() && random.chance(70)) {
      family.distribChild = child.childID;
      break;
    }
}

void addAccount(TDemoFamily &family, TDemoRandom &random) {
  const int naming = random.between(0, 99);
  if (naming < 55)
    family.accountName = QStringLiteral("Mr & Mrs %1").arg(family.familyName);
  else if (naming < 80)
    family.accountName =
        QStringLiteral("%1 %2 %3")
            .arg(random.chance(70) ? QStringLiteral("Ms") : QStringLiteral("Mr"),
                 QString::fromUtf8(pickText(random, parentInitials())), family.familyName);
  else if (naming < 90)
    family.accountName = QString(); // empty: addressed by the family name
  if (!random.chance(5))
    family.customerRef = customerReference(family.parentID);
  family.address1 = QStringLiteral("%1 %2")
                        .arg(random.between(1, 180))
                        .arg(QString::fromUtf8(pickText(random, streetNames())));
  if (!random.chance(5)) {
    const TSuburb &suburb = random.pick(suburbs());
    family.address2 = QStringLiteral("%1 %2").arg(QString::fromUtf8(suburb.name),
                                                  QString::fromUtf8(suburb.postcode));
  }
  const int paying = random.between(0, 99);
  family.directDebit = paying < 30;
  family.creditCard = paying >= 30 && paying < 45;
  family.paymentMethod = family.directDebit  ? 6
                         : family.creditCard ? 7
                                             : random.pick(kCounterMethods);
}

const char *const kNotes[] = {
    "Thank you for updating your contact details.",
    "Please return the signed excursion permission note by Friday.",
    "Your child's immunisation record is due for renewal.",
    "Fees for public holidays are not charged.",
    "Please let us know if your working days change next term.",
};

void addTerms(TDemoFamily &family, TDemoRandom &random) {
  family.ccbPercent = random.pick(kCcbPercents);
  family.jfa = random.chance(8);
  family.rebateAtService = random.chance(70);
  // Every database of a dozen families or more has new and leaving families.
  family.isNew = family.index % 20 == 5;
  family.isLeaving = family.index % 20 == 11;
  if (family.isNew)
    family.firstWeek = random.between(1, 3);
  if (family.isLeaving)
    family.lastWeek = random.between(3, 4);
  if (!family.isNew) {
    const int previous = random.between(0, 99);
    family.broughtForward = previous < 30 ? 0
                            : previous < 45
                                ? -100 * random.between(20, 200)
                                : 100 * random.between(50, 650) + 5 * random.between(0, 19);
  }
  if (random.chance(20)) {
    QString note = QString::fromUtf8(random.pick(kNotes));
    if (random.chance(50))
      note += QStringLiteral("\r\n") + QString::fromUtf8(random.pick(kNotes));
    family.note = note;
  }
}

} // namespace

const TDemoSessionKind &longDaySession() { return kLongDay; }
const TDemoSessionKind &halfDaySession() { return kHalfDay; }
const TDemoSessionKind &beforeSchoolSession() { return kBeforeSchool; }
const TDemoSessionKind &afterSchoolSession() { return kAfterSchool; }
const TDemoSessionKind &vacationSession() { return kVacation; }
const TDemoSessionKind &weekendSession() { return kWeekend; }

TDemoFamily makeFamily(int index, TDemoRandom &random) {
  TDemoFamily family;
  family.index = index;
  family.parentID = parentIdOf(index);
  family.invoiceNo = invoiceNoOf(index);
  family.familyName = QString::fromUtf8(pickText(random, familyNames()));
  addAccount(family, random);
  addChildren(family, random);
  addTerms(family, random);
  return family;
}

double ccbAltPercent(const TDemoFamily &family) {
  const auto inLongDay = std::count_if(family.children.begin(), family.children.end(),
                                       [](const TDemoChild &child) { return !child.schoolAge(); });
  constexpr std::array<double, 4> loading = {100.0, 100.0, 104.51, 110.27};
  return loading[static_cast<std::size_t>(std::min<long>(inLongDay, 3))];
}

double ccbPercentFor(const TDemoFamily &family, const TDemoSessionKind &kind) {
  if (kind.careType == ctLongDay && family.ccbPercent == 100.0)
    return ccbAltPercent(family);
  return family.ccbPercent;
}

} // namespace TDInvoice::Demo
