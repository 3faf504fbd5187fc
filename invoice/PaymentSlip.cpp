// The payment slip at the foot of an invoice's last page: who pays for which period, the
// amount to pay with the estimated fees, and whether and when to pay.
#include "invoice/ADODataSetComponent.h"
#include "invoice/CurrencyMath.h"
#include "invoice/InvoiceFormats.h"
#include "invoice/InvoiceReportForm.h"
#include "invoice/layout/InvoiceStrings.h"
#include "report/engine/ReportCustomLabel.h"
#include "support/DateRoutines.h"

#include <cmath>

namespace TDInvoice {

using namespace InvoiceStrings;
namespace F = InvoiceFormats;

namespace {

QString fromTable(const char *text) { return QString::fromLatin1(text); }

} // namespace

void TInvoiceReportForm::InvoiceFooterBeforePrint(Report::TReportCustomBand *, bool &) {
  label("lblAccountHolder").setCaption(F::fillIn(FMT_AccountHolder, {FFamilyName, FAccountName}));
  label("lblBPAYCustRef").setCaption(FBPAYCustRef);
  label("lblCloseDate").setCaption(QString::fromLatin1(FormatDayNumber(FCloseDate)));
  const TCurrency past = FADODataSet1->dataSet().FieldByName(fromTable(FLD_CloseBal)).AsCurrency();
  label("lblPastDueLabel").setCaption(fromTable(past >= 0 ? CAP_PastDue : CAP_PastCredit));
  label("lblPastDue").setCaption(F::formatCurrency(past));
  label("lblEstFees").setCaption(F::formatCurrency(FEstFeesTotal));
  const TCurrency amountToPay = addCurrency(past, FEstFeesTotal);
  label("lblPayAmt").setCaption(F::formatCurrency(amountToPay));
  label("lblPleasePayLabel")
      .setCaption(fromTable(amountToPay >= 0 ? CAP_PleasePay : CAP_NetCredit));
  label("lblPaymtInstructions").setCaption(paymentInstructions(amountToPay));
}

QString TInvoiceReportForm::paymentInstructions(TCurrency amountToPay) const {
  if (amountToPay < 0)
    return fromTable(MSG_AccountInCredit);
  if (amountToPay == 0)
    return {};
  if (FUseDirectDebit || FUseCreditCard)
    return FDebitDate == 0 ? QString()
                           : fromTable(MSG_AmountWillBeDebited) +
                                 F::formatDateTime(FDebitDate, FMT_DateShortMonth);
  // An invoice without an issue date has no date to count the payment terms from.
  if (FDueWeek == 0 || FIssueDate == 0)
    return {};
  // The FDueWeek-th occurrence of weekday FDueDay (1 = Sunday ... 7 = Saturday) after issue.
  const auto issued = static_cast<std::int32_t>(std::trunc(FIssueDate));
  const std::int32_t offset = FDueDay - 1 - DayOfWeekMondayFirst(issued);
  const std::int32_t due = issued + offset + 7 * (offset > 0 ? FDueWeek - 1 : FDueWeek);
  return fromTable(MSG_PaymentDueBy) + F::formatDateTime(due, FMT_DateShortMonth);
}

} // namespace TDInvoice
