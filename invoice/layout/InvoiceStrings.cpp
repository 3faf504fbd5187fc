#include "invoice/layout/InvoiceStrings.h"

namespace TDInvoice::InvoiceStrings {

namespace {

constexpr std::string_view kPaymentMethodCodes[] = {"CASH", "CHEQ", "CARD", "EFTP",
                                                    "BPAY", "DDBT", "DCRD", "BANK"};

#define TDI_ENTRY(name)                                                                            \
  TInvoiceString { #name, name }

constexpr TInvoiceString kEntries[] = {
    TDI_ENTRY(FLD_ServiceName),
    TDI_ENTRY(FLD_Address),
    TDI_ENTRY(FLD_Phone),
    TDI_ENTRY(FLD_ABN),
    TDI_ENTRY(FLD_BPAYBiller),
    TDI_ENTRY(FLD_BSB),
    TDI_ENTRY(FLD_AccountNo),
    TDI_ENTRY(FLD_DueWeek),
    TDI_ENTRY(FLD_DueDay),
    TDI_ENTRY(FLD_PaymentOptions),
    TDI_ENTRY(FLD_PaymentSlipOption),
    TDI_ENTRY(FLD_ServiceEmail),
    TDI_ENTRY(FLD_InvoiceNo),
    TDI_ENTRY(FLD_IssueDT),
    TDI_ENTRY(FLD_CloseBal),
    TDI_ENTRY(FLD_CloseDate),
    TDI_ENTRY(FLD_ParentID),
    TDI_ENTRY(FLD_FamilyName),
    TDI_ENTRY(FLD_AccountName),
    TDI_ENTRY(FLD_BPAYCustRef),
    TDI_ENTRY(FLD_MAddress1),
    TDI_ENTRY(FLD_MAddress2),
    TDI_ENTRY(FLD_DistribChild),
    TDI_ENTRY(FLD_UseDirectDebit),
    TDI_ENTRY(FLD_UseCreditCard),
    TDI_ENTRY(SQL_ServiceDetails),
    TDI_ENTRY(SQL_FundingApprovals),
    TDI_ENTRY(SQL_SessionTypes),
    TDI_ENTRY(SQL_ChargeTypes),
    TDI_ENTRY(SQL_DistribChildren),
    TDI_ENTRY(SQL_DebitDate),
    TDI_ENTRY(SQL_Account),
    TDI_ENTRY(SQL_InvoiceNote),
    TDI_ENTRY(SQL_UnresolvedAttendances),
    TDI_ENTRY(SQL_AttendanceCharges),
    TDI_ENTRY(SQL_AbsencesUsed),
    TDI_ENTRY(FMT_Money),
    TDI_ENTRY(FMT_DateShortMonth),
    TDI_ENTRY(FMT_DateShortYear),
    TDI_ENTRY(FMT_DateLongYear),
    TDI_ENTRY(FMT_DayNumber),
    TDI_ENTRY(CAP_ABNPrefix),
    TDI_ENTRY(FMT_ChildWithClass),
    TDI_ENTRY(CAP_IssueDatePrefix),
    TDI_ENTRY(FMT_FundingLabel),
    TDI_ENTRY(FMT_ApprovalLine),
    TDI_ENTRY(CAP_ApprovalID),
    TDI_ENTRY(CAP_ApprovalIDs),
    TDI_ENTRY(TXT_ListSeparator),
    TDI_ENTRY(CAP_NetAsFee),
    TDI_ENTRY(CAP_PreviousOutstandingDebt),
    TDI_ENTRY(CAP_CreditBalanceFromInvoice),
    TDI_ENTRY(FMT_HistChildCareWeek),
    TDI_ENTRY(FMT_HistChildWeek),
    TDI_ENTRY(FMT_CCBPercentage),
    TDI_ENTRY(CAP_Reversal),
    TDI_ENTRY(CAP_CCBAdjustment),
    TDI_ENTRY(FMT_PaymentBy),
    TDI_ENTRY(FMT_DepositPaidBy),
    TDI_ENTRY(FMT_DepositRelease),
    TDI_ENTRY(CAP_OutstandingDebt),
    TDI_ENTRY(CAP_CreditBalance),
    TDI_ENTRY(RTF_EnrolmentIdLine),
    TDI_ENTRY(RTF_EnrolmentIdTemplate),
    TDI_ENTRY(TXT_LineBreak),
    TDI_ENTRY(CAP_WeekEndingPrefix),
    TDI_ENTRY(CAP_PleasePayPrefix),
    TDI_ENTRY(MSG_NoPaymentNecessary),
    TDI_ENTRY(FMT_YTDAbsence),
    TDI_ENTRY(CAP_CustomerNoteRule),
    TDI_ENTRY(FMT_AccountHolder),
    TDI_ENTRY(CAP_PastDue),
    TDI_ENTRY(CAP_PastCredit),
    TDI_ENTRY(CAP_PleasePay),
    TDI_ENTRY(CAP_NetCredit),
    TDI_ENTRY(MSG_AccountInCredit),
    TDI_ENTRY(MSG_AmountWillBeDebited),
    TDI_ENTRY(MSG_PaymentDueBy),
    TDI_ENTRY(CAP_Cash),
    TDI_ENTRY(CAP_Cheque),
    TDI_ENTRY(CAP_EFT),
    TDI_ENTRY(CAP_BPAY),
    TDI_ENTRY(CAP_Card),
    TDI_ENTRY(CAP_CreditCard),
    TDI_ENTRY(FMT_DirectCredit),
};

#undef TDI_ENTRY

} // namespace

std::string_view paymentMethodCode(int number) {
  constexpr int count = static_cast<int>(std::size(kPaymentMethodCodes));
  return number >= 1 && number <= count ? kPaymentMethodCodes[number - 1] : std::string_view{};
}

std::span<const TInvoiceString> allInvoiceStrings() { return kEntries; }

} // namespace TDInvoice::InvoiceStrings
