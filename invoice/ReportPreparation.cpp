// Report preparation: what every invoice of a run shares (the service's details, the payment
// slots, the lookup tables and the empty per-run lists), the enrolment-ID order, hiding the
// unused payment slots, and the form's destruction.
#include "framework/db/AnsiText.h"
#include "invoice/ADODataSetComponent.h"
#include "invoice/ChildEnrolID.h"
#include "invoice/InvoiceFormats.h"
#include "invoice/InvoiceReportForm.h"
#include "invoice/layout/InvoiceStrings.h"
#include "report/engine/ReportCustomLabel.h"

namespace TDInvoice {

using namespace InvoiceStrings;

namespace {

constexpr std::size_t kChargeDescriptionMax = 20;

QString fromTable(const char *text) { return QString::fromLatin1(text); }

// A field's text as the short strings of the lookup lists hold it.
std::string shortText(const Ado::Variant &value, std::size_t limit = kShortStringMax) {
  const QByteArray text = Ado::toAnsi(value.toString());
  return std::string(text.constData(), std::min<std::size_t>(text.size(), limit));
}

// The 11 digits of an ABN print in groups of 2, 3, 3 and 3: a space goes in so that it
// becomes the 3rd, then the 7th, then the 11th character, appended when the text is shorter.
QString spacedABN(QString abn) {
  for (const qsizetype position : {3, 7, 11})
    abn.insert(std::min(position - 1, abn.size()), QLatin1Char(' '));
  return abn;
}

// LocationID x 256 + care type, wrapping as the host's 32-bit arithmetic does.
std::int32_t fundingKey(std::int32_t LocationID, std::int32_t CareType) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(LocationID) * 256u +
                                   static_cast<std::uint32_t>(CareType));
}

std::uint8_t lowByte(const Ado::Variant &value) {
  return static_cast<std::uint8_t>(value.toInt() & 0xFF);
}

} // namespace

void TInvoiceReportForm::Report1BeforePrint(Report::TCustomReport *, bool &) {
  FAcctHistRows.reset();
  FAcctHistRows = std::make_unique<TSortedObjectList>(true);
  FAcctHistRows->SetCompare(makeListCompare<&TInvoiceReportForm::CompareAcctHistRows>(this));
  FAcctHistRows->SetUnique(true);
  FInvHist.reset();
  FInvHist = std::make_unique<TInvHistList>();
  readServiceDetails();
  FLocations.reset();
  FLocations.reset(callOnGetLocations());
  readFundingApprovals();
  readSessionTypes();
  readChargeTypes();
  readDistributionChildren();
  label("lblPaymtSlipServiceName").setCaption(label("lblServiceName").Caption());
  FWeekFeeTotals.reset();
  FEstFeesRows.reset();
  FEstFeesRows = std::make_unique<TEstFeesRowsList>();
  FWeekFeeTotals = std::make_unique<TWeekFeeTotalsList>();
}

void TInvoiceReportForm::readServiceDetails() {
  Ado::Recordset details = OpenQuery(fromTable(SQL_ServiceDetails));
  auto field = [&details](const char *name) { return details.Fields(fromTable(name)).Value(); };
  label("lblServiceName").setCaption(field(FLD_ServiceName).toString());
  setServiceCaption(details, FLD_Address, "lblAddress");
  setServiceCaption(details, FLD_Phone, "lblPhone");
  const Ado::Variant abn = field(FLD_ABN);
  if (abn.isNull())
    printable("lblABN").setEnabled(false);
  else
    label("lblABN").setCaption(fromTable(CAP_ABNPrefix) + spacedABN(abn.toString()));
  setServiceCaption(details, FLD_ServiceEmail, "lblEmail");
  // A run starts from the service's present bank and biller details.
  FBPAYBiller.clear();
  FBSB.clear();
  FAccountNo.clear();
  const Ado::Variant biller = field(FLD_BPAYBiller);
  if (!biller.isNull())
    FBPAYBiller = biller.toString();
  const Ado::Variant bsb = field(FLD_BSB);
  if (!bsb.isNull()) {
    FBSB = bsb.toString();
    const Ado::Variant accountNo = field(FLD_AccountNo);
    if (accountNo.isNull())
      FBSB.clear();
    else
      FAccountNo = accountNo.toString();
  }
  readPaymentOptions(details);
  FDueWeek = lowByte(field(FLD_DueWeek));
  FDueDay = lowByte(field(FLD_DueDay));
  details.Close();
}

void TInvoiceReportForm::setServiceCaption(const Ado::Recordset &details, const char *fieldName,
                                           const char *target) {
  const Ado::Variant value = details.Fields(fromTable(fieldName)).Value();
  if (value.isNull())
    printable(target).setEnabled(false);
  else
    label(target).setCaption(value.toString());
}

void TInvoiceReportForm::readPaymentOptions(const Ado::Recordset &details) {
  FPaymentOptions = lowByte(details.Fields(fromTable(FLD_PaymentOptions)).Value());
  FPaySlotsUsed = 0;
  // Slot 1 keeps its design caption "Cash" for cash; a cheque takes the next free slot.
  if (FPaymentOptions & kPayCash)
    FPaySlotsUsed = 1;
  if (FPaymentOptions & kPayCheque) {
    if (FPaySlotsUsed == 0)
      label("lblCash").setCaption(fromTable(CAP_Cheque));
    ++FPaySlotsUsed;
  }
}

void TInvoiceReportForm::readFundingApprovals() {
  FRegisteredCareOnly = true;
  FApprovalIDs.reset();
  FApprovalIDs = std::make_unique<TShortStringList>();
  Ado::Recordset funding = OpenQuery(fromTable(SQL_FundingApprovals));
  for (; !funding.Eof(); funding.MoveNext()) {
    const std::int32_t LocationID = funding.Fields(0).Value().toInt();
    const std::int32_t CareType = funding.Fields(1).Value().toInt();
    if (CareType != 0)
      FRegisteredCareOnly = false;
    const Ado::Variant approval = funding.Fields(2).Value();
    if (!approval.isNull())
      FApprovalIDs->AddWithTag(shortText(approval), fundingKey(LocationID, CareType));
  }
  funding.Close();
}

void TInvoiceReportForm::readSessionTypes() {
  FSessionTypes.reset();
  FSessionTypes = std::make_unique<TShortStringList>();
  Ado::Recordset types = OpenQuery(fromTable(SQL_SessionTypes));
  for (; !types.Eof(); types.MoveNext())
    FSessionTypes->AddWithTag(shortText(types.Fields(1).Value()), types.Fields(0).Value().toInt());
  types.Close();
}

void TInvoiceReportForm::readChargeTypes() {
  FChargeTypes.reset();
  FChargeTypes = std::make_unique<TShortStringList>();
  Ado::Recordset types = OpenQuery(fromTable(SQL_ChargeTypes));
  for (; !types.Eof(); types.MoveNext())
    FChargeTypes->AddWithTag(shortText(types.Fields(1).Value(), kChargeDescriptionMax),
                             types.Fields(0).Value().toInt());
  types.Close();
}

void TInvoiceReportForm::readDistributionChildren() {
  FDistribChildren.reset();
  FDistribChildren = std::make_unique<TShortStringList>();
  Ado::Recordset children = OpenQuery(fromTable(SQL_DistribChildren));
  for (; !children.Eof(); children.MoveNext()) {
    const std::int32_t ChildID = children.Fields(0).Value().toInt();
    const QString firstName = children.Fields(1).Value().toString();
    const QString lastName = children.Fields(2).Value().toString();
    const Ado::Variant grade = children.Fields(3).Value();
    const QString display =
        grade.isNull()
            ? firstName + QLatin1Char(' ') + lastName
            : InvoiceFormats::fillIn(FMT_ChildWithClass, {firstName, lastName, grade.toString()});
    FDistribChildren->AddWithTag(shortText(display), ChildID);
  }
  children.Close();
}

int TInvoiceReportForm::CompareAcctHistRows(TObject *A, TObject *B) {
  const auto &a = *static_cast<const TChildEnrolID *>(A);
  const auto &b = *static_cast<const TChildEnrolID *>(B);
  int order = compareShortStrings(a.ChildName, b.ChildName);
  if (order == 0)
    order = compareShortStrings(a.CareTypeAbbrev, b.CareTypeAbbrev);
  if (order == 0)
    order = compareShortStrings(a.EnrolmentId, b.EnrolmentId);
  return order;
}

void TInvoiceReportForm::HideUnusedPaySlots() {
  static constexpr std::pair<const char *, const char *> slots[] = {
      {"lblCash", "chkCash"}, {"lblCheq", "chkCheq"}, {"lblEFT", "chkEFT"}, {"lblCard", "chkCard"}};
  for (int slot = 4; slot >= 1; --slot)
    if (FPaySlotsUsed < slot) {
      printable(slots[slot - 1].first).setEnabled(false);
      printable(slots[slot - 1].second).setEnabled(false);
    }
}

void TInvoiceReportForm::PlacePaymentMethod(const QString &caption, bool isCard) {
  if (FPaySlotsUsed == 0)
    label("lblCash").setCaption(caption);
  else if (FPaySlotsUsed == 1)
    label("lblCheq").setCaption(caption);
  else if (isCard && FPaySlotsUsed == 2)
    label("lblEFT").setCaption(caption);
  ++FPaySlotsUsed;
}

QString TInvoiceReportForm::DirectCreditLine() const {
  return InvoiceFormats::fillIn(FMT_DirectCredit, {FBSB, FAccountNo});
}

bool TInvoiceReportForm::PlaceEFTMethod() {
  if (!(FPaymentOptions & kPayEFT))
    return false;
  PlacePaymentMethod(QString::fromLatin1(CAP_EFT), false);
  return !FBSB.isEmpty() && !FAccountNo.isEmpty();
}

void TInvoiceReportForm::FormDestroy() {
  FWeekFeeTotals.reset();
  FEstFeesRows.reset();
  FApprovalIDs.reset();
  FLocations.reset();
  FFamilyChildren.reset();
  FSessionTypes.reset();
  FChargeTypes.reset();
  FDistribChildren.reset();
  FAcctHistRows.reset();
  FInvHist.reset();
  FADODataSet1->dataSet().Close();
}

} // namespace TDInvoice
