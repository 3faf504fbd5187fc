// The invoice header (number, issue date, funding approval IDs) and the address block, with
// everything later sections of the same invoice need: the cached message and debit date, the
// account, the children, the history, the fee grid and the customer note.
#include "framework/db/AnsiText.h"
#include "intake/QueryOperations.h"
#include "invoice/ADODataSetComponent.h"
#include "invoice/InvoiceFormats.h"
#include "invoice/InvoiceReportForm.h"
#include "invoice/layout/InvoiceStrings.h"
#include "report/engine/ReportCustomLabel.h"
#include "support/DateRoutines.h"
#include "support/IntegerList.h"
#include "support/LocationLookup.h"

#include <cmath>

namespace TDInvoice {

using namespace InvoiceStrings;

namespace {

QString fromTable(const char *text) { return QString::fromLatin1(text); }
QString fromAnsi(const std::string &text) { return Ado::fromAnsi(QByteArrayView(text)); }

// The text of a field that may be null; empty for null.
QString textOrEmpty(const Ado::Variant &value) {
  return value.isNull() ? QString() : value.toString();
}

std::int32_t wholeDays(double dateTime) { return static_cast<std::int32_t>(std::trunc(dateTime)); }

} // namespace

void TInvoiceReportForm::grphdrInvoiceBeforePrint(Report::TReportCustomBand *, bool &) {
  const TADODataSet &invoice = FADODataSet1->dataSet();
  const std::int32_t InvoiceNo = invoice.FieldByName(fromTable(FLD_InvoiceNo)).AsInteger();
  label("lblInvoiceNo").setCaption(QString::number(InvoiceNo));
  // An invoice row without an issue date prints none (rather than 30 December 1899) and so
  // gets no due date on its slip.
  const TField issued = invoice.FieldByName(fromTable(FLD_IssueDT));
  FIssueDate = issued.AsDateTime();
  label("lblIssueDate")
      .setCaption(fromTable(CAP_IssueDatePrefix) +
                  (issued.IsNull()
                       ? QString()
                       : InvoiceFormats::formatDateTime(FIssueDate, FMT_DateShortMonth)));
  FCloseBal = invoice.FieldByName(fromTable(FLD_CloseBal)).AsCurrency();
  FCloseDate = invoice.FieldByName(fromTable(FLD_CloseDate)).AsInteger();
  if (FCloseDate != FMessageCloseDate) {
    FInvoiceMessage = Intake::LookupInvoiceMessage(FHostCallbacks, FCloseDate);
    FMessageCloseDate = FCloseDate;
  }
  if (FDebitDateCloseDate != FCloseDate)
    lookUpDebitDate();
  showApprovalIDs(InvoiceNo);
}

void TInvoiceReportForm::lookUpDebitDate() {
  Ado::Recordset debit = OpenQuery(sqlWith(SQL_DebitDate, FCloseDate));
  FDebitDate = debit.Eof() ? 0 : wholeDays(debit.Fields(0).Value().toDateTime());
  debit.Close();
  FDebitDateCloseDate = FCloseDate;
}

void TInvoiceReportForm::showApprovalIDs(std::int32_t InvoiceNo) {
  TIntegerList keys;
  keys.AddCommaText(Intake::LookupInvoiceFundingKeys(FHostCallbacks, InvoiceNo).toStdString());
  TShortStringList lines;
  for (std::int32_t i = 0; i < keys.Count(); ++i) {
    const std::int32_t key = keys.Get(i);
    std::uint16_t LocationID = 0;
    std::uint16_t CareType = 0;
    DivModWord(static_cast<std::uint32_t>(key), 256, LocationID, CareType);
    // A key whose location the table lacks is labelled by its care type alone.
    const std::string fundingLabel =
        TDInvoice::fundingLabel(FLocations.get(), LocationID, CareType);
    const std::string approvalID = FApprovalIDs->FindByTag(key);
    if (!approvalID.empty())
      lines.Add(fundingLabel + ": " + approvalID);
  }
  Report::TReportLabel &caption = label("lblApprovalIDsLabel");
  Report::TReportLabel &ids = label("lblApprovalIDs");
  caption.setEnabled(lines.Count() > 0);
  ids.setEnabled(lines.Count() > 0);
  if (lines.Count() == 0)
    return;
  caption.setCaption(fromTable(lines.Count() == 1 ? CAP_ApprovalID : CAP_ApprovalIDs));
  QString joined;
  for (std::int32_t i = 0; i < lines.Count(); ++i)
    joined += (i ? fromTable(TXT_ListSeparator) : QString()) + fromAnsi(lines.GetString(i));
  ids.setCaption(joined);
}

void TInvoiceReportForm::DetailBand1BeforePrint(Report::TReportCustomBand *, bool &) {
  FAcctHistRows->Clear();
  const TADODataSet &invoice = FADODataSet1->dataSet();
  const std::int32_t ParentID = invoice.FieldByName(fromTable(FLD_ParentID)).AsInteger();
  const std::int32_t InvoiceNo = invoice.FieldByName(fromTable(FLD_InvoiceNo)).AsInteger();
  readAccount(ParentID);
  FFamilyChildren.reset();
  FFamilyChildren.reset(callOnGetFamilyChildren(ParentID));
  FInvHist->Clear();
  buildAccountHistory(InvoiceNo);
  FHistCount = FInvHist->Count();
  FHistIndex = 0;
  FWeekIndex = 0;
  FFeeRowIndex = 0;
  FEstFeesTotal = 0;
  if (FFamilyChildren && FFamilyChildren->Count() > 0) {
    FEstFeesRows->Clear();
    buildFeeGrid(InvoiceNo);
    FWeekCount = FWeekFeeTotals->Count();
  } else {
    FWeekCount = 0;
  }
  readInvoiceNote(ParentID);
}

void TInvoiceReportForm::readAccount(std::int32_t ParentID) {
  Ado::Recordset account = OpenQuery(sqlWith(SQL_Account, ParentID));
  // Every invoice should have its Parents row. Without one the invoice still prints, with an
  // empty address block, so that one missing account does not stop the whole batch.
  const bool found = !account.Eof();
  auto field = [&](const char *name) {
    return found ? account.Fields(fromTable(name)).Value() : Ado::Variant::null();
  };
  // Names and flags the data model requires are read as empty text and false when null.
  FFamilyName = textOrEmpty(field(FLD_FamilyName));
  FAccountName = textOrEmpty(field(FLD_AccountName));
  label("lblAccountName").setCaption(FAccountName.size() >= 1 ? FAccountName : FFamilyName);
  FBPAYCustRef = textOrEmpty(field(FLD_BPAYCustRef));
  label("lblHAddress1").setCaption(textOrEmpty(field(FLD_MAddress1)));
  label("lblHAddress2").setCaption(textOrEmpty(field(FLD_MAddress2)));
  const Ado::Variant distrib = field(FLD_DistribChild);
  const std::int32_t distribChild = distrib.isNull() ? 0 : distrib.toInt();
  const Ado::Variant directDebit = field(FLD_UseDirectDebit);
  const Ado::Variant creditCard = field(FLD_UseCreditCard);
  FUseDirectDebit = !directDebit.isNull() && directDebit.toBool();
  FUseCreditCard = !creditCard.isNull() && creditCard.toBool();
  account.Close();
  Report::TReportLabel &distribLabel = label("lblDistribChild");
  distribLabel.setEnabled(distribChild != 0);
  if (distribChild != 0)
    distribLabel.setCaption(fromAnsi(FDistribChildren->FindByTag(distribChild)));
}

void TInvoiceReportForm::readInvoiceNote(std::int32_t ParentID) {
  Ado::Recordset note = OpenQuery(sqlWith(SQL_InvoiceNote, ParentID));
  // A note row whose text is null counts as no note.
  FInvoiceNote = note.Eof() ? QString() : textOrEmpty(note.Fields(0).Value());
  note.Close();
}

} // namespace TDInvoice
