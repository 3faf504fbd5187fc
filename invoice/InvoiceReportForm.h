// The base invoice form: the report Report1 built from the form's stored layout, the dataset
// ADODataSet1 it walks (one row per invoice), the host callbacks, and the band handlers that
// fill every section of an invoice. Never created by itself; CreateInvoiceReport builds one
// of the variants, which pass their layout's class to this constructor.
//
// The layout binds its events by name to the virtual handlers below. A variant replaces a
// handler by overriding the function of that name, and its override calls this class's
// handler first.
#pragma once

#include "TDInvoice/InvHistList.h"
#include "TDInvoice/InvoiceReport.h"
#include "TDInvoice/LocationTable.h"
#include "TDInvoice/ShortStringList.h"
#include "framework/Form.h"
#include "framework/db/Recordset.h"
#include "intake/HostCallbacks.h"
#include "invoice/FormLayoutBuilder.h"
#include "invoice/layout/InvoiceLayouts.h"
#include "support/EstFeesRowsList.h"
#include "support/WeekFeeTotalsList.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace TDInvoice {

namespace Report {
class TReport;
class TReportLabel;
class TReportMemo;
class TReportPrintable;
class TReportRichText;
class TReportPreviewer;
class TReportShape;
} // namespace Report

class TADODataSetComponent;
class TInvHistItem;

class TInvoiceReportForm : public TForm, private TLayoutHandlers {
public:
  const char *formClassName() const override;
  // The class whose stored layout the form was built from.
  Layout::TFormClass formClass() const { return FFormClass; }

  // The six callback slots: stored and returned unchanged; null until set.
  TOnGetLocations OnGetLocations() const { return FHostCallbacks.OnGetLocations; }
  void setOnGetLocations(TOnGetLocations value) { FHostCallbacks.OnGetLocations = value; }
  TOnGetDataPacket OnGetDataPacket() const { return FHostCallbacks.OnGetDataPacket; }
  void setOnGetDataPacket(TOnGetDataPacket value) { FHostCallbacks.OnGetDataPacket = value; }
  TOnGetInvoiceMessage OnGetInvoiceMessage() const { return FHostCallbacks.OnGetInvoiceMessage; }
  void setOnGetInvoiceMessage(TOnGetInvoiceMessage value) {
    FHostCallbacks.OnGetInvoiceMessage = value;
  }
  TOnGetFamilyChildren OnGetFamilyChildren() const { return FHostCallbacks.OnGetFamilyChildren; }
  void setOnGetFamilyChildren(TOnGetFamilyChildren value) {
    FHostCallbacks.OnGetFamilyChildren = value;
  }
  TOnGetInvoiceFundingKeys OnGetInvoiceFundingKeys() const {
    return FHostCallbacks.OnGetInvoiceFundingKeys;
  }
  void setOnGetInvoiceFundingKeys(TOnGetInvoiceFundingKeys value) {
    FHostCallbacks.OnGetInvoiceFundingKeys = value;
  }
  TOnFillInvoiceHistory OnFillInvoiceHistory() const { return FHostCallbacks.OnFillInvoiceHistory; }
  void setOnFillInvoiceHistory(TOnFillInvoiceHistory value) {
    FHostCallbacks.OnFillInvoiceHistory = value;
  }
  // All six, for the query operations.
  const Intake::THostCallbacks &hostCallbacks() const { return FHostCallbacks; }

  // Calls into the host. A slot the host left empty raises Exception ("<name> is not set")
  // rather than jumping to address zero. Results pass to the caller
  // as the callback contracts say.
  TLocationTable *callOnGetLocations() const;
  TShortStringList *callOnGetDataPacket(const char *SQL) const;
  char *callOnGetInvoiceMessage(std::int32_t CloseDate) const;
  TShortStringList *callOnGetFamilyChildren(std::int32_t ParentID) const;
  char *callOnGetInvoiceFundingKeys(std::int32_t InvoiceNo) const;
  void callOnFillInvoiceHistory(std::int32_t InvoiceNo, TInvHistList *List) const;

  // Loads ADODataSet1 with the host's rows for SQL; sorts it (the dataset must be open).
  void LoadDataSet(const char *SQL);
  void SetSort(const char *SortText);

  // Report1 as the host drives it (GetReport), and the engine's view of it.
  TReportComponent *reportComponent() const;
  Report::TReport *Report1() const { return FReport1; }
  TADODataSetComponent *ADODataSet1() const { return FADODataSet1; }

  // Report1, ADODataSet1 and every band and printable of the layout, by name; nullptr when
  // there is none of that name and class.
  QObject *findComponentObject(std::string_view name) const;
  template <class T> T *findComponent(std::string_view name) const {
    return dynamic_cast<T *>(findComponentObject(name));
  }

  ~TInvoiceReportForm() override;

protected:
  TInvoiceReportForm(QObject *owner, Layout::TFormClass formClass);

  // Report preparation, once per run.
  virtual void Report1BeforePrint(Report::TCustomReport *Sender, bool &PrintReport);
  // The header and address block.
  virtual void grphdrInvoiceBeforePrint(Report::TReportCustomBand *Sender, bool &PrintBand);
  virtual void DetailBand1BeforePrint(Report::TReportCustomBand *Sender, bool &PrintBand);
  // The account history.
  virtual void hdrAcctHistBeforePrint(Report::TReportCustomBand *Sender, bool &PrintBand);
  virtual void subdtlAcctHistNeedData(QObject *Sender, bool &MoreData);
  virtual void subdtlAcctHistBeforePrint(Report::TReportCustomBand *Sender, bool &PrintBand);
  virtual void ftrAcctHistBeforePrint(Report::TReportCustomBand *Sender, bool &PrintBand);
  // The estimated fees.
  virtual void subdetWeeklyNeedData(QObject *Sender, bool &MoreData);
  virtual void subdetWeeklyBeforePrint(Report::TReportCustomBand *Sender, bool &PrintBand);
  virtual void subdtlEstFeeRowNeedData(QObject *Sender, bool &MoreData);
  virtual void subdtlEstFeeRowBeforePrint(Report::TReportCustomBand *Sender, bool &PrintBand);
  virtual void ftrWeekEstFeesBeforePrint(Report::TReportCustomBand *Sender, bool &PrintBand);
  virtual void ftrEstFeesBeforePrint(Report::TReportCustomBand *Sender, bool &PrintBand);
  // The invoice message and the customer note.
  virtual void subdtlInvMsgBeforePrint(Report::TReportCustomBand *Sender, bool &PrintBand);
  virtual void ChildBand1BeforePrint(Report::TReportCustomBand *Sender, bool &PrintBand);
  // The payment slip.
  virtual void InvoiceFooterBeforePrint(Report::TReportCustomBand *Sender, bool &PrintBand);

  // Disables the label and tick box of every payment slot above FPaySlotsUsed.
  void HideUnusedPaySlots();
  // Puts a payment method into the next free slot. Slots 1 and 2 take its caption; slot 3
  // takes it for the card only (EFT and BPAY land there under their own design caption), and
  // slot 4 is only ever the card's.
  void PlacePaymentMethod(const QString &caption, bool isCard);
  // The direct-credit line from FBSB and FAccountNo.
  QString DirectCreditLine() const;
  // Offers EFT in the next slot when the service takes it; true when the account details
  // for the direct-credit line are there too.
  bool PlaceEFTMethod();
  // Orders enrolment-ID rows by child name, care type, enrolment ID (short-string order).
  int CompareAcctHistRows(TObject *A, TObject *B);
  // Frees what the runs created and closes ADODataSet1.
  void FormDestroy() override;

  // The named component, which the layout must have: a missing one raises Exception.
  template <class T> T &component(std::string_view name) const {
    if (T *found = findComponent<T>(name))
      return *found;
    missingComponent(name);
  }
  Report::TReportLabel &label(std::string_view name) const;
  Report::TReportPrintable &printable(std::string_view name) const;

  // A host query through OnGetDataPacket, and the text of SQL with one parameter put in.
  Ado::Recordset OpenQuery(const QString &SQL) const;
  static QString sqlWith(const char *SQL, std::int32_t value);

  // Prepared once per run (report preparation).
  std::unique_ptr<TSortedObjectList> FAcctHistRows;
  std::unique_ptr<TInvHistList> FInvHist;
  QString FBPAYBiller;
  QString FBSB;
  QString FAccountNo;
  // FPaymentOptions bits: the payment methods the service accepts.
  static constexpr std::uint8_t kPayCash = 1;
  static constexpr std::uint8_t kPayCheque = 2;
  static constexpr std::uint8_t kPayEFT = 4;
  static constexpr std::uint8_t kPayCard = 8;
  std::uint8_t FPaymentOptions = 0;
  std::int32_t FPaySlotsUsed = 0;
  std::uint8_t FDueWeek = 0;
  std::uint8_t FDueDay = 0;
  std::unique_ptr<TLocationTable> FLocations;
  bool FRegisteredCareOnly = true;
  std::unique_ptr<TShortStringList> FApprovalIDs;
  std::unique_ptr<TShortStringList> FSessionTypes;
  std::unique_ptr<TShortStringList> FChargeTypes;
  std::unique_ptr<TShortStringList> FDistribChildren;
  std::unique_ptr<TEstFeesRowsList> FEstFeesRows;
  std::unique_ptr<TWeekFeeTotalsList> FWeekFeeTotals;

  // Per invoice (header and detail band).
  double FIssueDate = 0;
  TCurrency FCloseBal = 0;
  std::int32_t FCloseDate = 0;
  QByteArray FInvoiceMessage;
  std::int32_t FMessageCloseDate = 0;
  std::int32_t FDebitDate = 0;
  std::int32_t FDebitDateCloseDate = 0;
  QString FFamilyName;
  QString FAccountName;
  QString FBPAYCustRef;
  bool FUseDirectDebit = false;
  bool FUseCreditCard = false;
  std::unique_ptr<TShortStringList> FFamilyChildren;
  std::int32_t FHistCount = 0;
  std::int32_t FHistIndex = 0;
  std::int32_t FWeekCount = 0;
  std::int32_t FWeekIndex = 0;
  std::int32_t FFeeRowIndex = 0;
  TCurrency FEstFeesTotal = 0;
  QString FInvoiceNote;
  // Within one week of the estimated fees.
  std::int32_t FWeekRowCount = 0;
  std::int32_t FWeekRowIndex = 0;
  std::int32_t FLastFeeRowChild = 0;

private:
  Report::TCustomReport::TBeforePrintEvent reportBeforePrint(std::string_view name) override;
  Report::TReportCustomBand::TBeforePrintEvent bandBeforePrint(std::string_view name) override;
  Report::TReportSubDetail::TNeedDataEvent needData(std::string_view name) override;
  [[noreturn]] void missingComponent(std::string_view name) const;

  // Report preparation steps.
  void readServiceDetails();
  void setServiceCaption(const Ado::Recordset &details, const char *field, const char *target);
  void readPaymentOptions(const Ado::Recordset &details);
  void readFundingApprovals();
  void readSessionTypes();
  void readChargeTypes();
  void readDistributionChildren();
  // Header and detail band steps.
  void lookUpDebitDate();
  void showApprovalIDs(std::int32_t InvoiceNo);
  void readAccount(std::int32_t ParentID);
  void readInvoiceNote(std::int32_t ParentID);
  // The account history.
  void buildAccountHistory(std::int32_t InvoiceNo);
  void showHistoryLine(const TInvHistItem &entry);
  void showChargeLine(const TInvHistItem &entry);
  void showMoneyLine(const TInvHistItem &entry, int descriptionWidth, const QString &description);
  // The display name (8-bit) of one of the account's children; empty when absent.
  std::string familyChild(std::int32_t ChildID) const;
  // The estimated fees.
  void buildFeeGrid(std::int32_t InvoiceNo);
  QString pendingAttendances(std::int32_t InvoiceNo);
  TCurrency showDayAmounts(const char *const (&labels)[kFeeColumns], TDaySet days,
                           const TCurrency (&amounts)[kFeeColumns]);
  // The payment slip.
  QString paymentInstructions(TCurrency amountToPay) const;

  Layout::TFormClass FFormClass;
  Intake::THostCallbacks FHostCallbacks;
  TADODataSetComponent *FADODataSet1 = nullptr;
  Report::TReport *FReport1 = nullptr;
  // Report1's preview and progress windows.
  std::unique_ptr<Report::TReportPreviewer> FPreviewer;
  std::map<std::string, QObject *, std::less<>> FComponents;
};

} // namespace TDInvoice
