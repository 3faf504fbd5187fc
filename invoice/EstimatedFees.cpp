// The estimated fees of attendances the host has not yet resolved: a Monday-to-Friday grid
// per week with row and day totals, and the amount to pay with them.
#include "framework/db/AnsiText.h"
#include "invoice/CurrencyMath.h"
#include "invoice/InvoiceFormats.h"
#include "invoice/InvoiceReportForm.h"
#include "invoice/layout/InvoiceStrings.h"
#include "report/engine/ReportCustomLabel.h"
#include "support/IntegerList.h"

#include <cmath>

namespace TDInvoice {

using namespace InvoiceStrings;
namespace F = InvoiceFormats;

namespace {

// Columns of the charges query, in its SELECT order.
enum TChargeColumn { kSessionDate, kSessTypeID, kChildID, kChargeID, kAmount };

constexpr const char *kFeeLabels[kFeeColumns] = {"lblMonFee", "lblTueFee", "lblWedFee", "lblThuFee",
                                                 "lblFriFee"};
constexpr const char *kTotalLabels[kFeeColumns] = {"lblMonTotal", "lblTueTotal", "lblWedTotal",
                                                   "lblThuTotal", "lblFriTotal"};

QString fromTable(const char *text) { return QString::fromLatin1(text); }
QString fromAnsi(const std::string &text) {
  return Ado::fromAnsi(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}
QString tagged(const TShortStringList *list, std::int32_t tag) {
  return list ? fromAnsi(list->FindByTag(tag)) : QString();
}

} // namespace

QString TInvoiceReportForm::pendingAttendances(std::int32_t InvoiceNo) {
  TIntegerList numbers;
  Ado::Recordset pending = OpenQuery(sqlWith(SQL_UnresolvedAttendances, InvoiceNo));
  for (; !pending.Eof(); pending.MoveNext())
    numbers.Add(pending.Fields(0).Value().toInt());
  pending.Close();
  // Ascending and each record number once, so one query fetches every charge once.
  numbers.SetSorted(true);
  numbers.SetUnique(true);
  return QString::fromLatin1(numbers.CommaText());
}

void TInvoiceReportForm::buildFeeGrid(std::int32_t InvoiceNo) {
  const QString numbers = pendingAttendances(InvoiceNo);
  FEstFeesRows->Clear();
  if (!numbers.isEmpty()) {
    Ado::Recordset charges = OpenQuery(F::fillIn(SQL_AttendanceCharges, {numbers}));
    for (; !charges.Eof(); charges.MoveNext()) {
      const auto day =
          static_cast<std::int32_t>(std::trunc(charges.Fields(kSessionDate).Value().toDateTime()));
      auto row = std::make_unique<TEstFeeRow>(day, charges.Fields(kChildID).Value().toInt(),
                                              charges.Fields(kSessTypeID).Value().toInt(),
                                              charges.Fields(kChargeID).Value().toInt(),
                                              charges.Fields(kAmount).Value().toCurrency());
      // An equal row merges into the present one and is freed by the list.
      FEstFeesRows->Add(row.get());
      row.release();
    }
    charges.Close();
  }
  FWeekFeeTotals->Clear();
  FWeekFeeTotals->AddFeeRows(*FEstFeesRows);
}

void TInvoiceReportForm::subdetWeeklyNeedData(QObject *, bool &MoreData) {
  MoreData = FWeekIndex < FWeekCount;
  ++FWeekIndex;
}

void TInvoiceReportForm::subdetWeeklyBeforePrint(Report::TReportCustomBand *, bool &) {
  const TWeekFeeTotal &week = *FWeekFeeTotals->Total(FWeekIndex - 1);
  FWeekRowCount = week.RowCount;
  FWeekRowIndex = 0;
  FLastFeeRowChild = 0;
  label("lblWeekComm")
      .setCaption(fromTable(CAP_WeekEndingPrefix) +
                  F::formatDateTime(week.WeekEnding, FMT_DateShortMonth));
}

void TInvoiceReportForm::subdtlEstFeeRowNeedData(QObject *, bool &MoreData) {
  MoreData = FWeekRowIndex < FWeekRowCount;
  ++FWeekRowIndex;
}

void TInvoiceReportForm::subdtlEstFeeRowBeforePrint(Report::TReportCustomBand *, bool &) {
  const TEstFeeRow &row = *FEstFeesRows->Row(FFeeRowIndex);
  Report::TReportLabel &firstName = label("lblFirstName");
  // The child's name shows on its first row of the week only.
  if (row.ChildID == FLastFeeRowChild) {
    firstName.setEnabled(false);
  } else {
    firstName.setCaption(tagged(FFamilyChildren.get(), row.ChildID));
    firstName.setEnabled(true);
    FLastFeeRowChild = row.ChildID;
  }
  label("lblAbbrev").setCaption(tagged(FSessionTypes.get(), row.SessTypeID));
  label("lblChgDesc").setCaption(tagged(FChargeTypes.get(), row.ChargeID));
  const TCurrency rowTotal = showDayAmounts(kFeeLabels, row.Days, row.Amounts);
  label("lblRowTotal").setCaption(F::formatMoney(rowTotal));
  ++FFeeRowIndex;
}

TCurrency TInvoiceReportForm::showDayAmounts(const char *const (&labels)[kFeeColumns], TDaySet days,
                                             const TCurrency (&amounts)[kFeeColumns]) {
  TCurrency total = 0;
  for (int column = 0; column < kFeeColumns; ++column) {
    Report::TReportLabel &amount = label(labels[column]);
    const bool shown = (days & dayBit(column)) != 0;
    amount.setEnabled(shown);
    if (!shown)
      continue;
    amount.setCaption(F::formatMoney(amounts[column]));
    total = addCurrency(total, amounts[column]);
  }
  return total;
}

void TInvoiceReportForm::ftrWeekEstFeesBeforePrint(Report::TReportCustomBand *, bool &) {
  const TWeekFeeTotal &week = *FWeekFeeTotals->Total(FWeekIndex - 1);
  const TCurrency weekTotal = showDayAmounts(kTotalLabels, week.Days, week.Amounts);
  label("lblWklyChgTotal").setCaption(F::formatCurrency(weekTotal));
  FEstFeesTotal = addCurrency(FEstFeesTotal, weekTotal);
}

void TInvoiceReportForm::ftrEstFeesBeforePrint(Report::TReportCustomBand *, bool &) {
  label("lblEstFeesTotal").setCaption(F::formatCurrency(FEstFeesTotal));
  // Without history entries there is no balance to carry, so the fees alone are to pay.
  const TCurrency balance =
      FInvHist->Count() > 0 ? FInvHist->Item(FInvHist->Count() - 1)->RunningBalance : 0;
  const TCurrency total = addCurrency(balance, FEstFeesTotal);
  Report::TReportLabel &pleasePay = label("lblPleasePay");
  pleasePay.setEnabled(total != 0);
  if (total > 0)
    pleasePay.setCaption(fromTable(CAP_PleasePayPrefix) + F::formatCurrency(total));
  else if (total < 0)
    pleasePay.setCaption(fromTable(MSG_NoPaymentNecessary));
}

} // namespace TDInvoice
