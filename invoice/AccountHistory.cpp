// The account history: the entries since the previous invoice with their running balances,
// one line per entry, and the footer with the enrolment-ID table and the closing balance.
#include "framework/db/AnsiText.h"
#include "invoice/ChildEnrolID.h"
#include "invoice/CurrencyMath.h"
#include "invoice/InvoiceFormats.h"
#include "invoice/InvoiceReportForm.h"
#include "invoice/layout/InvoiceStrings.h"
#include "report/engine/ReportCustomLabel.h"
#include "report/engine/ReportRichText.h"
#include "support/DateRoutines.h"

#include <cmath>

namespace TDInvoice {

using namespace InvoiceStrings;
namespace F = InvoiceFormats;

namespace {

// Widths of the description in screen pixels: the designed one beside the session and
// absence columns, and the wider ones that run over those columns.
constexpr int kDescriptionWidth = 196;
constexpr int kWideDescriptionWidth = 242;
constexpr int kPaymentDescriptionWidth = 234;

constexpr std::int32_t kCCBNormal = 1;
constexpr std::int32_t kCCBReversal = 2;
constexpr int kAltPercentCareType = 4;

// The columns a line without a charge leaves empty, the description's neighbours first.
constexpr const char *kChargeColumns[] = {"lblDays",  "lblAbsPaid", "lblChgHrs",
                                          "lblTotal", "lblCCBHrs",  "lblPercentage",
                                          "lblCCB",   "lblJFA",     "lblCCR"};

QString fromTable(const char *text) { return QString::fromLatin1(text); }
QString fromAnsi(const std::string &text) {
  return Ado::fromAnsi(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

// A day number through a date picture.
QString dateOf(std::int32_t dayNumber, const char *picture) {
  return F::formatDateTime(dayNumber, picture);
}
QString dayMonthYear(std::int32_t dayNumber) {
  return QString::fromLatin1(FormatDayNumber(dayNumber));
}

// The host is not expected to send another method number; one it does send prints as
// itself, so that staff can trace the payment.
QString methodCode(std::int32_t method) {
  const std::string_view code = paymentMethodCode(method);
  return code.empty() ? QString::number(method)
                      : QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size()));
}

// Names in the enrolment-ID table are set in RTF; its control characters are escaped so
// that a name cannot break the table.
QByteArray rtfEscaped(const std::string &text) {
  QByteArray escaped;
  for (const char c : text) {
    if (c == '\\' || c == '{' || c == '}')
      escaped += '\\';
    escaped += c;
  }
  return escaped;
}

} // namespace

void TInvoiceReportForm::buildAccountHistory(std::int32_t InvoiceNo) {
  callOnFillInvoiceHistory(InvoiceNo, FInvHist.get());
  FInvHist->SortEntries();
  TCurrency balance = 0;
  for (std::int32_t i = 0; i < FInvHist->Count(); ++i) {
    TInvHistItem &entry = *FInvHist->Item(i);
    // Payments and deposit releases reduce the balance; a deposit paid is held apart; every
    // other entry, of a known kind or not, adds to it.
    if (entry.Kind == kHistPayment || entry.Kind == kHistDepositRelease)
      balance = subtractCurrency(balance, entry.EntryAmount);
    else if (entry.Kind != kHistDepositPaid)
      balance = addCurrency(balance, entry.EntryAmount);
    entry.RunningBalance = balance;
  }
}

void TInvoiceReportForm::subdtlAcctHistNeedData(QObject *, bool &MoreData) {
  MoreData = FHistIndex < FHistCount;
  ++FHistIndex;
}

void TInvoiceReportForm::hdrAcctHistBeforePrint(Report::TReportCustomBand *, bool &) {
  if (!FRegisteredCareOnly)
    return;
  for (const char *name : {"lblAbsPaidLabel", "lblFeeLabel", "lblCCBHrsLabel", "lblPercentageLabel",
                           "lblCCBLabel", "lblJFALabel", "lblCCRLabel"})
    printable(name).setEnabled(false);
  label("lblNetLabel").setCaption(fromTable(CAP_NetAsFee));
}

void TInvoiceReportForm::subdtlAcctHistBeforePrint(Report::TReportCustomBand *, bool &) {
  showHistoryLine(*FInvHist->Item(FHistIndex - 1));
}

std::string TInvoiceReportForm::familyChild(std::int32_t ChildID) const {
  return FFamilyChildren ? FFamilyChildren->FindByTag(ChildID) : std::string();
}

void TInvoiceReportForm::showHistoryLine(const TInvHistItem &entry) {
  switch (entry.Kind) {
  case kHistBalanceForward: {
    const auto day = static_cast<std::int32_t>(std::trunc(Seconds2000ToDateTime(entry.Stamp)));
    const QString prefix = fromTable(entry.RunningBalance >= 0 ? CAP_PreviousOutstandingDebt
                                                               : CAP_CreditBalanceFromInvoice);
    showMoneyLine(entry, kWideDescriptionWidth, prefix + dayMonthYear(day));
    label("lblNet").setCaption({});
    return;
  }
  case kHistCharge:
    showChargeLine(entry);
    return;
  case kHistPayment:
    showMoneyLine(entry, kPaymentDescriptionWidth,
                  F::fillIn(FMT_PaymentBy,
                            {methodCode(entry.ChildOrMethod), dayMonthYear(entry.WeekEndDate)}));
    return;
  case kHistDepositPaid:
    showMoneyLine(entry, kWideDescriptionWidth,
                  F::fillIn(FMT_DepositPaidBy,
                            {methodCode(entry.ChildOrMethod), dayMonthYear(entry.WeekEndDate)}));
    return;
  case kHistDepositRelease:
    showMoneyLine(entry, kWideDescriptionWidth,
                  F::fillIn(FMT_DepositRelease, {dayMonthYear(entry.WeekEndDate)}));
    return;
  case kHistText:
    showMoneyLine(entry, kWideDescriptionWidth, fromAnsi(entry.entryText()));
    return;
  default:
    // An entry of a kind the host is not expected to send: its fields mean nothing known, so
    // it prints without a description, but its amount and the balance still show.
    showMoneyLine(entry, kWideDescriptionWidth, QString());
    return;
  }
}

void TInvoiceReportForm::showMoneyLine(const TInvHistItem &entry, int descriptionWidth,
                                       const QString &description) {
  printable("lblDays").setEnabled(false);
  printable("lblAbsPaid").setEnabled(false);
  Report::TReportLabel &descriptionLabel = label("lblDescription");
  descriptionLabel.setWidth(descriptionWidth);
  descriptionLabel.setCaption(description);
  for (const char *name : kChargeColumns)
    label(name).setCaption({});
  label("lblNet").setCaption(F::formatMoney(entry.EntryAmount));
  label("lblBalance").setCaption(F::formatMoney(entry.RunningBalance));
}

void TInvoiceReportForm::showChargeLine(const TInvHistItem &entry) {
  Report::TReportLabel &description = label("lblDescription");
  description.setWidth(kDescriptionWidth);
  printable("lblDays").setEnabled(true);
  printable("lblAbsPaid").setEnabled(true);
  const std::string childName = familyChild(entry.ChildOrMethod);
  const QString name = fromAnsi(childName);
  const QString weekEnding = dateOf(entry.WeekEndDate, FMT_DateShortYear);
  if (!entry.enrolmentId().empty()) {
    auto row =
        std::make_unique<TChildEnrolID>(childName, entry.careTypeAbbrev(), entry.enrolmentId());
    description.setCaption(
        F::fillIn(FMT_HistChildCareWeek,
                  {fromAnsi(row->ChildName), fromAnsi(row->CareTypeAbbrev), weekEnding}));
    // The table keeps one row per child, care type and ID; an equal row is dropped (and
    // freed) there. Once Add returns, the list has the row either way.
    FAcctHistRows->Add(row.get());
    row.release();
  } else if (FRegisteredCareOnly) {
    description.setCaption(
        F::fillIn(FMT_HistChildWeek, {name, dateOf(entry.WeekEndDate, FMT_DateLongYear)}));
  } else {
    description.setCaption(
        F::fillIn(FMT_HistChildCareWeek, {name, fromAnsi(entry.careTypeAbbrev()), weekEnding}));
  }
  label("lblDays").setCaption(QString::number(entry.Sessions));
  label("lblAbsPaid").setCaption(QString::number(entry.AbsencesPaid));
  label("lblChgHrs").setCaption(F::formatHours(entry.ChargedHours));
  label("lblTotal").setCaption(F::formatMoney(entry.FeeAmount));
  if (FRegisteredCareOnly) {
    for (const char *name :
         {"lblAbsPaid", "lblCCBHrs", "lblPercentage", "lblCCB", "lblJFA", "lblCCR", "lblTotal"})
      label(name).setCaption({});
  } else {
    label("lblCCBHrs").setCaption(F::formatHours(entry.CCBHours));
    QString percentage = fromTable(CAP_CCBAdjustment);
    if (entry.CCBEntry == kCCBNormal) {
      const float second = entry.CareType == kAltPercentCareType && entry.CCBPercent == 100.0f
                               ? entry.CCBAltPercent
                               : entry.CCBPercent;
      percentage =
          F::fillIn(FMT_CCBPercentage, {F::formatFactor(entry.CCBRate), F::formatFactor(second)});
    } else if (entry.CCBEntry == kCCBReversal) {
      percentage = fromTable(CAP_Reversal);
    }
    label("lblPercentage").setCaption(percentage);
    label("lblCCB").setCaption(F::formatMoney(entry.CCBAmount));
    label("lblJFA").setCaption(F::formatMoney(entry.JFAAmount));
    label("lblCCR").setCaption(F::formatMoney(entry.CCRAmount));
  }
  label("lblNet").setCaption(F::formatMoney(entry.EntryAmount));
  label("lblBalance").setCaption(F::formatMoney(entry.RunningBalance));
}

void TInvoiceReportForm::ftrAcctHistBeforePrint(Report::TReportCustomBand *, bool &) {
  auto &table = component<Report::TReportRichText>("RichText1");
  table.setLines({});
  if (FAcctHistRows->Count() > 0) {
    QByteArray lines;
    for (std::int32_t i = 0; i < FAcctHistRows->Count(); ++i) {
      const auto &row = *static_cast<const TChildEnrolID *>(FAcctHistRows->Items(i));
      lines +=
          F::fillIn(RTF_EnrolmentIdLine, {rtfEscaped(row.ChildName), rtfEscaped(row.CareTypeAbbrev),
                                          rtfEscaped(row.EnrolmentId)}) +
          TXT_LineBreak;
    }
    table.setLines(F::fillIn(RTF_EnrolmentIdTemplate, {lines}));
  }
  label("lblAmtDue").setCaption(F::formatCurrency(FCloseBal));
  label("lblOutstandingDebt")
      .setCaption(fromTable(FCloseBal >= 0 ? CAP_OutstandingDebt : CAP_CreditBalance));
}

} // namespace TDInvoice
