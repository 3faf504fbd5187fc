// The account history of one demo invoice: the entries the host hands the library through
// OnFillInvoiceHistory, in posting order.
#pragma once

#include "host/demo/DemoFamily.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace TDInvoice::Demo {

enum THistoryKind {
  hkBroughtForward = 1,
  hkWeeklyCharge = 2,
  hkPayment = 3,
  hkText = 4,
  hkDepositPaid = 5,
  hkDepositRelease = 6
};

struct TDemoHistoryEntry {
  int kind = 0;
  std::int32_t stamp = 0;
  TCents amount = 0;
  std::int32_t weekEndDate = 0; // week ending, or the day of a payment or deposit
  int childOrMethod = 0;
  int careType = 0;
  int sessions = 0;
  double ccbRate = 0, ccbPercent = 0, ccbAltPercent = 0, ccbHours = 0, chargedHours = 0;
  TCents fee = 0, ccb = 0, jfa = 0, ccr = 0;
  int absencesPaid = 0;
  int ccbEntry = 0;
  QString careTypeAbbrev;
  QString enrolmentId;
  QString text;
};

// Sorted by stamp; equal stamps keep an order that the library must sort out itself (later
// week first), as a host posting several weeks at once may hand them over.
std::vector<TDemoHistoryEntry> makeHistory(const TDemoFamily &family, TDemoRandom &random);

// The balance after the last entry: payments and releases subtract, deposits leave it alone,
// everything else adds.
TCents closingBalance(const std::vector<TDemoHistoryEntry> &history);

// Days a child was absent in the period, as the weekly lines record.
int absencesOf(const std::vector<TDemoHistoryEntry> &history, int childID);

// The Sunday that ends history week 0..5.
QDate weekEnding(int week);

} // namespace TDInvoice::Demo
