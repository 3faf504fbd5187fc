// The invoice forms' string table: SQL texts sent to the host, field names, captions, formats
// and messages, each exactly as the system uses it ("\r\n" is CR LF).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace TDInvoice::InvoiceStrings {

namespace Detail {
// The concatenation of string literals, as a null-terminated array.
template <std::size_t... N> constexpr auto joinTexts(const char (&...parts)[N]) {
  std::array<char, (N + ...) - sizeof...(N) + 1> out{};
  std::size_t at = 0;
  ((std::copy_n(parts, N - 1, out.begin() + at), at += N - 1), ...);
  return out;
}
} // namespace Detail

// Fields of the service's [User Details] row, read by name.
inline constexpr char FLD_ServiceName[] = "ServiceName";
inline constexpr char FLD_Address[] = "Address";
inline constexpr char FLD_Phone[] = "Phone";
inline constexpr char FLD_ABN[] = "ABN";
inline constexpr char FLD_BPAYBiller[] = "BPAYBiller";
inline constexpr char FLD_BSB[] = "BSB";
inline constexpr char FLD_AccountNo[] = "AccountNo";
inline constexpr char FLD_DueWeek[] = "DueWeek";
inline constexpr char FLD_DueDay[] = "DueDay";
inline constexpr char FLD_PaymentOptions[] = "PaymentOptions";
inline constexpr char FLD_PaymentSlipOption[] = "PaymentSlipOption";
inline constexpr char FLD_ServiceEmail[] = "ServiceEmail";

// Columns of the report dataset, one row per invoice.
inline constexpr char FLD_InvoiceNo[] = "InvoiceNo";
inline constexpr char FLD_IssueDT[] = "IssueDT";
inline constexpr char FLD_CloseBal[] = "CloseBal";
inline constexpr char FLD_CloseDate[] = "CloseDate";
inline constexpr char FLD_ParentID[] = "ParentID";

// Columns of the account query.
inline constexpr char FLD_FamilyName[] = "FamilyName";
inline constexpr char FLD_AccountName[] = "AccountName";
inline constexpr char FLD_BPAYCustRef[] = "BPAYCustRef";
inline constexpr char FLD_MAddress1[] = "MAddress1";
inline constexpr char FLD_MAddress2[] = "MAddress2";
inline constexpr char FLD_DistribChild[] = "DistribChild";
inline constexpr char FLD_UseDirectDebit[] = "UseDirectDebit";
inline constexpr char FLD_UseCreditCard[] = "UseCreditCard";

// Queries of the report preparation, in the order they are sent. The first names the fields
// above, which serve for field access too.
inline constexpr auto SQL_ServiceDetailsText =
    Detail::joinTexts("SELECT ", FLD_ServiceName, ", ", FLD_Address, ", ", FLD_Phone, ", ", FLD_ABN,
                      ", ", FLD_BPAYBiller, ", ", FLD_BSB, ", ", FLD_AccountNo, ", ", FLD_DueWeek,
                      ", ", FLD_DueDay, ", ", FLD_PaymentOptions, ", ", FLD_PaymentSlipOption, ", ",
                      FLD_ServiceEmail, "\r\nFROM [User Details];");
inline constexpr const char *SQL_ServiceDetails = SQL_ServiceDetailsText.data();

inline constexpr char SQL_FundingApprovals[] =
    "SELECT LocationID, CareType, CCBApprovalId FROM Funding;";
inline constexpr char SQL_SessionTypes[] =
    "SELECT SessionTypes.SessTypeID, SessionTypes.AbbrevName\r\nFROM SessionTypes;";
inline constexpr char SQL_ChargeTypes[] =
    "SELECT ChargeTypes.ChargeID, ChargeTypes.ChgDesc\r\nFROM ChargeTypes;";
inline constexpr char SQL_DistribChildren[] =
    "SELECT Child.ChildID, Child.FirstName, Child.LastName, Child.Grade\r\nFROM Parents INNER JOIN "
    "Child ON Parents.DistribChild = Child.ChildID;";

// Per-invoice queries; "%d" takes an integer or day number, "%s" a comma-separated list.
inline constexpr char SQL_DebitDate[] =
    "SELECT InvoiceDebitDates.DebitDate FROM InvoiceDebitDates\r\nWHERE "
    "((InvoiceDebitDates.CloseDate)=%d);";
inline constexpr char SQL_Account[] =
    "SELECT Parents.FamilyName, Parents.AccountName, Parents.BPAYCustRef, Parents.MAddress1, "
    "Parents.MAddress2, Parents.DistribChild, Parents.UseDirectDebit, "
    "Parents.UseCreditCard\r\nFROM Parents\r\nWHERE ((Parents.ParentID)=%d);";
inline constexpr char SQL_InvoiceNote[] =
    "SELECT InvoiceNote FROM InvoiceNotes\r\nWHERE ((InvoiceNotes.ParentID)=%d);";
inline constexpr char SQL_UnresolvedAttendances[] =
    "SELECT UnresolvedAttendances.AttRecNo\r\nFROM UnresolvedAttendances\r\nWHERE "
    "((UnresolvedAttendances.InvoiceNo)=%d);";
inline constexpr char SQL_AttendanceCharges[] =
    "SELECT Charges.SessionDate, Charges.SessTypeID, Charges.ChildID, Charges.ChargeID, "
    "Charges.Amount\r\nFROM BookingCharges INNER JOIN Charges ON (BookingCharges.AttRecNo = "
    "Charges.AttRecNo) AND (BookingCharges.ChildID = Charges.ChildID) AND "
    "(BookingCharges.SessTypeID = Charges.SessTypeID) AND (BookingCharges.SessionDate = "
    "Charges.SessionDate)\r\nWHERE (((BookingCharges.AttRecNo) In (%s)));";
inline constexpr char SQL_AbsencesUsed[] =
    "SELECT AbsencesUsed.ChildID, AbsencesUsed.CumlAbsences\r\nFROM AbsencesUsed\r\nWHERE "
    "((AbsencesUsed.InvoiceNo)=%d);";

// Number and date formats.
inline constexpr char FMT_Money[] = "$#,##0.00;-$#,##0.00";
inline constexpr char FMT_DateShortMonth[] = "d-mmm-yy";
inline constexpr char FMT_DateShortYear[] = "d/mm/yy";
inline constexpr char FMT_DateLongYear[] = "d/mm/yyyy";
inline constexpr char FMT_DayNumber[] = "%d/%.2d/%d";

// Letterhead, header and address block.
inline constexpr char CAP_ABNPrefix[] = "ABN: ";
inline constexpr char FMT_ChildWithClass[] = "%s %s (Class: %s)";
inline constexpr char CAP_IssueDatePrefix[] = "Issue Date: ";
inline constexpr char FMT_FundingLabel[] = "%s - %s";
inline constexpr char FMT_ApprovalLine[] = "%s: %s";
inline constexpr char CAP_ApprovalID[] = "Approval ID:";
inline constexpr char CAP_ApprovalIDs[] = "Approval IDs:";
inline constexpr char TXT_ListSeparator[] = ", ";

// Account history.
inline constexpr char CAP_NetAsFee[] = "Fee";
inline constexpr char CAP_PreviousOutstandingDebt[] = "Previous Outstanding Debt  ";
inline constexpr char CAP_CreditBalanceFromInvoice[] = "Credit Balance from invoice ";
inline constexpr char FMT_HistChildCareWeek[] = "%s %s w/e %s";
inline constexpr char FMT_HistChildWeek[] = "%s w/e %s";
inline constexpr char FMT_CCBPercentage[] = "%s X %s";
inline constexpr char CAP_Reversal[] = "Reversal";
inline constexpr char CAP_CCBAdjustment[] = "CCB Adjustmt";
inline constexpr char FMT_PaymentBy[] = "Payment by %s on %s";
inline constexpr char FMT_DepositPaidBy[] = "Deposit paid by %s on %s";
inline constexpr char FMT_DepositRelease[] = "Release of deposit paid %s";
inline constexpr char CAP_OutstandingDebt[] = "Outstanding Debt";
inline constexpr char CAP_CreditBalance[] = "Credit Balance";

// The enrolment-ID table of the history footer: one line per row, each line followed by CR LF,
// the lines together in place of the template's "%s".
inline constexpr char RTF_EnrolmentIdLine[] = "%s\\tab %s\\tab %s\\par";
inline constexpr char RTF_EnrolmentIdTemplate[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3081{\\fonttbl{\\f0\\fswiss\\fcharset0 "
    "Arial;}}\r\n\\viewkind4\\uc1\\pard\\ul\\b\\f0\\fs18 FaHCSIA Enrolment "
    "Ids\\ulnone\\b0\\par\r\n\\pard\\tx1420\\tx2414\\fs16 %s}";
inline constexpr char TXT_LineBreak[] = "\r\n";

// Estimated fees.
inline constexpr char CAP_WeekEndingPrefix[] = "Week Ending ";
inline constexpr char CAP_PleasePayPrefix[] = "Please pay ";
inline constexpr char MSG_NoPaymentNecessary[] = "No payment necessary";

// Invoice message and customer note.
inline constexpr char FMT_YTDAbsence[] = "%s - %d";
inline constexpr char CAP_CustomerNoteRule[] = "------ Customer Note ---------------\r\n";

// Payment slip.
inline constexpr char FMT_AccountHolder[] = "%s: %s";
inline constexpr char CAP_PastDue[] = "Past Due";
inline constexpr char CAP_PastCredit[] = "Past Credit";
inline constexpr char CAP_PleasePay[] = "Please Pay";
inline constexpr char CAP_NetCredit[] = "Net Credit";
inline constexpr char MSG_AccountInCredit[] = "A/c in credit. No payment necessary.";
inline constexpr char MSG_AmountWillBeDebited[] = "Amount will be debitted on ";
inline constexpr char MSG_PaymentDueBy[] = "Payment due by ";

// Payment methods placed in the slip's slots, and the direct-credit line.
inline constexpr char CAP_Cash[] = "Cash";
inline constexpr char CAP_Cheque[] = "Cheque";
inline constexpr char CAP_EFT[] = "EFT";
inline constexpr char CAP_BPAY[] = "BPAY";
inline constexpr char CAP_Card[] = "Card";
inline constexpr char CAP_CreditCard[] = "Credit Card";
inline constexpr char FMT_DirectCredit[] = "Direct Credit payments may be made to BSB %s A/C %s";

// Codes of the payment methods 1 to 8 on history lines; empty for any other number.
std::string_view paymentMethodCode(int number);

struct TInvoiceString {
  std::string_view name;
  std::string_view text;
};

// Every entry above, by name.
std::span<const TInvoiceString> allInvoiceStrings();

} // namespace TDInvoice::InvoiceStrings
