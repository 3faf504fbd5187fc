// The demo database's content, generated: one service with two locations and, for any number
// of families, their children, one invoice each with six weeks of account history, two weeks
// of pending attendances, notes, absences and funding keys. The same seed gives the same data,
// and family i is the same whatever the number of families, so a large database begins with
// the families of a small one.
#pragma once

#include "host/demo/DemoTables.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>

#include <cstdint>

namespace TDInvoice::Demo {

inline constexpr std::uint64_t kDefaultDemoSeed = 20090315;
inline constexpr int kDefaultDemoFamilies = 25;
inline constexpr int kMaxDemoFamilies = 100000;

// The billing period every demo invoice belongs to.
struct TDemoCalendar {
  static constexpr int HistoryWeeks = 6;
  static constexpr int PendingDays = 14;
  // The invoices' close date, a Sunday; the history's weeks end on it and on the five
  // Sundays before it, and the pending attendances follow it.
  static QDate closeDate() { return QDate(2009, 3, 15); }
  static QDateTime issued() { return QDateTime(QDate(2009, 3, 16), QTime(9, 30)); }
  static QDate debitDate() { return QDate(2009, 3, 25); }
};

// Invoice numbers and parent keys of family i (0-based).
inline constexpr int invoiceNoOf(int family) { return 40001 + family; }
inline constexpr int parentIdOf(int family) { return 1001 + family; }

// families: 1 to kMaxDemoFamilies.
TDemoTables generateDemoTables(int families, std::uint64_t seed = kDefaultDemoSeed);

// The same as INSERT statements in one transaction, for the test host's schema
// (host/testhost/HostSchema.cpp).
QByteArray demoSql(const TDemoTables &tables, int families, std::uint64_t seed);
QByteArray generateDemoSql(int families, std::uint64_t seed = kDefaultDemoSeed);

} // namespace TDInvoice::Demo
