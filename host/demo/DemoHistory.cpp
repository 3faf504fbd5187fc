#include "host/demo/DemoHistory.h"

#include "host/demo/DemoGenerator.h"

#include <algorithm>
#include <cmath>

namespace TDInvoice::Demo {
namespace {

TCents roundCents(double cents) { return static_cast<TCents>(std::llround(cents)); }

QDateTime at(const QDate &date, int hour, int minute) {
  return QDateTime(date, QTime(hour, minute));
}

// One week's line for a child's care of one type, or nothing when it had no sessions.
struct TWeekCare {
  const TDemoSessionKind *kind = nullptr;
  int sessions = 0;
  TCents fee = 0;
  double hours = 0;
};

std::vector<TWeekCare> weeklyCare(const TDemoChild &child) {
  std::vector<TWeekCare> cares;
  for (const TDemoBooking &booking : child.bookings) {
    auto same = std::find_if(cares.begin(), cares.end(), [&](const TWeekCare &care) {
      return care.kind->careType == booking.kind->careType;
    });
    if (same == cares.end()) {
      cares.push_back({booking.kind});
      same = cares.end() - 1;
    }
    const int count = static_cast<int>(booking.weekdays.size());
    same->sessions += count;
    same->fee += booking.kind->fee * count;
    same->hours += booking.kind->hours * count;
  }
  return cares;
}

TDemoHistoryEntry chargeLine(const TDemoFamily &family, const TDemoChild &child,
                             const TWeekCare &care, int week, double percent) {
  TDemoHistoryEntry line;
  line.kind = hkWeeklyCharge;
  line.weekEndDate = dayNumber(weekEnding(week));
  line.childOrMethod = child.childID;
  line.careType = care.kind->careType;
  line.sessions = care.sessions;
  line.fee = care.fee;
  line.chargedHours = care.hours;
  line.careTypeAbbrev = QString::fromLatin1(care.kind->abbrev);
  line.enrolmentId = child.enrolmentId;
  line.ccbRate = care.kind->ccbRate;
  line.ccbEntry = 1;
  if (!child.enrolmentId.isEmpty()) {
    line.ccbHours = std::min(care.hours, 50.0);
    line.ccbPercent =
        care.kind->careType == ctLongDay && family.ccbPercent == 100.0 ? 100.0 : percent;
    line.ccbAltPercent = ccbAltPercent(family);
    line.ccb = roundCents(care.kind->ccbRate * line.ccbHours * percent);
  }
  if (family.jfa)
    line.jfa = std::max<TCents>(0, line.fee - line.ccb - roundCents(100.0 * care.hours));
  if (family.rebateAtService)
    line.ccr = roundCents(0.5 * static_cast<double>(line.fee - line.ccb - line.jfa));
  line.amount = line.fee - line.ccb - line.jfa - line.ccr;
  return line;
}

void addChargeLines(const TDemoFamily &family, TDemoRandom &random,
                    std::vector<TDemoHistoryEntry> &history) {
  // Some accounts had their first two weeks posted together, in one batch.
  const bool batched = family.firstWeek == 0 && family.index % 9 == 4;
  for (int week = family.firstWeek; week <= family.lastWeek; ++week) {
    const int postedWeek = batched && week == 0 ? 1 : week;
    for (std::size_t c = 0; c < family.children.size(); ++c) {
      const TDemoChild &child = family.children[c];
      const std::vector<TWeekCare> cares = weeklyCare(child);
      for (std::size_t k = 0; k < cares.size(); ++k) {
        TDemoHistoryEntry line =
            chargeLine(family, child, cares[k], week, ccbPercentFor(family, *cares[k].kind));
        if (random.chance(10))
          line.absencesPaid = 1;
        line.stamp = stampOf(at(weekEnding(postedWeek).addDays(1), 1, static_cast<int>(c * 4 + k)));
        history.push_back(line);
      }
    }
  }
}

// A CCB reversal of an earlier week and its recalculation at a corrected percentage.
void addReversal(const TDemoFamily &family, std::vector<TDemoHistoryEntry> &history) {
  const TDemoChild &child = family.children.front();
  if (child.enrolmentId.isEmpty() || family.ccbPercent <= 0 || family.lastWeek < 4)
    return;
  const TWeekCare care = weeklyCare(child).front();
  const double percent = ccbPercentFor(family, *care.kind);
  TDemoHistoryEntry reversal = chargeLine(family, child, care, 2, percent);
  for (TCents *value :
       {&reversal.fee, &reversal.ccb, &reversal.jfa, &reversal.ccr, &reversal.amount})
    *value = -*value;
  reversal.sessions = -reversal.sessions;
  reversal.chargedHours = -reversal.chargedHours;
  reversal.ccbHours = -reversal.ccbHours;
  reversal.ccbEntry = 2;
  reversal.stamp = stampOf(at(weekEnding(4).addDays(-2), 14, 0));
  TDemoHistoryEntry adjusted =
      chargeLine(family, child, care, 2, percent >= 50 ? percent - 12.5 : percent + 12.5);
  adjusted.ccbEntry = 3;
  adjusted.stamp = reversal.stamp + 60;
  history.push_back(reversal);
  history.push_back(adjusted);
}

TDemoHistoryEntry moneyEntry(int kind, const QDateTime &when, TCents amount, int method) {
  TDemoHistoryEntry entry;
  entry.kind = kind;
  entry.stamp = stampOf(when);
  entry.amount = amount;
  entry.weekEndDate = dayNumber(when.date());
  entry.childOrMethod = method;
  return entry;
}

TDemoHistoryEntry textEntry(const QDateTime &when, TCents amount, const QString &text) {
  TDemoHistoryEntry entry;
  entry.kind = hkText;
  entry.stamp = stampOf(when);
  entry.amount = amount;
  entry.text = text;
  return entry;
}

void addAccountEntries(const TDemoFamily &family, TDemoRandom &random,
                       std::vector<TDemoHistoryEntry> &history) {
  const QDate periodStart = weekEnding(0).addDays(-6);
  if (!family.isNew) {
    TDemoHistoryEntry forward;
    forward.kind = hkBroughtForward;
    forward.stamp = stampOf(at(periodStart, 0, 5));
    forward.amount = family.broughtForward;
    history.push_back(forward);
  } else {
    const QDateTime start = at(weekEnding(family.firstWeek).addDays(-6), 8, 15);
    history.push_back(moneyEntry(hkDepositPaid, start, 40000, random.chance(50) ? 3 : 4));
    history.push_back(textEntry(start.addSecs(60), 5000, QStringLiteral("Enrolment fee")));
  }
  if (family.isLeaving) {
    TDemoHistoryEntry release = moneyEntry(
        hkDepositRelease, at(weekEnding(family.lastWeek + 1).addDays(-2), 16, 30), 35000, 0);
    release.weekEndDate = dayNumber(QDate(2008, random.between(1, 12), random.between(1, 28)));
    history.push_back(release);
  }
  if (family.index % 6 == 1) {
    const QDate day = weekEnding(2).addDays(-5);
    const QString dayText = day.toString(QStringLiteral("d/MM/yyyy"));
    const int which = (family.index / 6) % 4;
    const QDateTime when = at(day.addDays(1), 11, 0);
    if (which == 0)
      history.push_back(textEntry(when, 2400, QStringLiteral("Excursion - Taronga Zoo")));
    else if (which == 1)
      history.push_back(textEntry(when, 1500, QStringLiteral("Late collection fee ") + dayText));
    else if (which == 2)
      history.push_back(
          textEntry(when, -9800, QStringLiteral("Credit - centre closed ") + dayText));
    else
      history.push_back(textEntry(when, -4000, QStringLiteral("Sibling discount for February")));
  }
}

TCents balanceBefore(const std::vector<TDemoHistoryEntry> &history, std::int32_t stamp) {
  std::vector<TDemoHistoryEntry> earlier;
  for (const TDemoHistoryEntry &entry : history)
    if (entry.stamp < stamp)
      earlier.push_back(entry);
  return closingBalance(earlier);
}

// What a family pays towards a balance: debits and card payments settle it, others round it,
// pay a fixed sum or pay ahead.
TCents paymentFor(const TDemoFamily &family, TCents balance, TDemoRandom &random) {
  if (family.directDebit || family.creditCard)
    return balance;
  const int habit = random.between(0, 99);
  if (habit < 40)
    return balance;
  if (habit < 70)
    return std::max<TCents>(1000, (balance + 500) / 1000 * 1000);
  if (habit < 90)
    return std::min<TCents>(balance, 20000);
  return balance + 5000;
}

void addPayments(const TDemoFamily &family, TDemoRandom &random,
                 std::vector<TDemoHistoryEntry> &history) {
  std::vector<QDateTime> times;
  if (family.directDebit || family.creditCard) {
    for (int week : {1, 3, 5})
      times.push_back(at(weekEnding(week).addDays(-4), 6, 0));
  } else {
    for (int week = 1; week <= 5; ++week)
      if (random.chance(45))
        times.push_back(at(weekEnding(week).addDays(-random.between(2, 5)), random.between(8, 17),
                           random.between(0, 59)));
  }
  for (const QDateTime &when : times) {
    const TCents balance = balanceBefore(history, stampOf(when));
    if (balance <= 0)
      continue;
    // Debits and card charges always go the same way; others now and then pay otherwise.
    const bool automatic = family.directDebit || family.creditCard;
    const int method = automatic || random.chance(85) ? family.paymentMethod : random.between(1, 5);
    history.push_back(moneyEntry(hkPayment, when, paymentFor(family, balance, random), method));
  }
}

} // namespace

QDate weekEnding(int week) {
  return TDemoCalendar::closeDate().addDays(7 * (week - (TDemoCalendar::HistoryWeeks - 1)));
}

std::vector<TDemoHistoryEntry> makeHistory(const TDemoFamily &family, TDemoRandom &random) {
  std::vector<TDemoHistoryEntry> history;
  addAccountEntries(family, random, history);
  addChargeLines(family, random, history);
  if (!family.isNew && family.index % 10 == 3)
    addReversal(family, history);
  std::stable_sort(
      history.begin(), history.end(),
      [](const TDemoHistoryEntry &a, const TDemoHistoryEntry &b) { return a.stamp < b.stamp; });
  addPayments(family, random, history);
  std::stable_sort(history.begin(), history.end(),
                   [](const TDemoHistoryEntry &a, const TDemoHistoryEntry &b) {
                     if (a.stamp != b.stamp)
                       return a.stamp < b.stamp;
                     return a.weekEndDate > b.weekEndDate;
                   });
  return history;
}

TCents closingBalance(const std::vector<TDemoHistoryEntry> &history) {
  TCents balance = 0;
  for (const TDemoHistoryEntry &entry : history) {
    if (entry.kind == hkPayment || entry.kind == hkDepositRelease)
      balance -= entry.amount;
    else if (entry.kind != hkDepositPaid)
      balance += entry.amount;
  }
  return balance;
}

int absencesOf(const std::vector<TDemoHistoryEntry> &history, int childID) {
  int days = 0;
  for (const TDemoHistoryEntry &entry : history)
    if (entry.kind == hkWeeklyCharge && entry.childOrMethod == childID)
      days += entry.absencesPaid;
  return days;
}

} // namespace TDInvoice::Demo
