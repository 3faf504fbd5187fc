// A form on the base layout whose handlers and members the handler-level tests reach
// directly, with the test host's callbacks set.
#pragma once

#include "InvoiceTestSupport.h"

#include "framework/Form.h"
#include "invoice/ADODataSetComponent.h"
#include "invoice/InvoiceReportForm.h"
#include "report/engine/Report.h"
#include "report/engine/ReportCustomLabel.h"
#include "report/engine/ReportRichText.h"

#include <QPointer>

namespace TDInvoice::Testing {

class TProbeForm : public TInvoiceReportForm {
public:
  explicit TProbeForm(QObject *owner) : TInvoiceReportForm(owner, Layout::TFormClass::Base) {
    const Intake::THostCallbacks callbacks = Host::TestHost::callbacks();
    setOnGetLocations(callbacks.OnGetLocations);
    setOnGetDataPacket(callbacks.OnGetDataPacket);
    setOnGetInvoiceMessage(callbacks.OnGetInvoiceMessage);
    setOnGetFamilyChildren(callbacks.OnGetFamilyChildren);
    setOnGetInvoiceFundingKeys(callbacks.OnGetInvoiceFundingKeys);
    setOnFillInvoiceHistory(callbacks.OnFillInvoiceHistory);
  }

  using TInvoiceReportForm::component;
  using TInvoiceReportForm::label;
  using TInvoiceReportForm::printable;

  using TInvoiceReportForm::ChildBand1BeforePrint;
  using TInvoiceReportForm::CompareAcctHistRows;
  using TInvoiceReportForm::DetailBand1BeforePrint;
  using TInvoiceReportForm::ftrAcctHistBeforePrint;
  using TInvoiceReportForm::ftrEstFeesBeforePrint;
  using TInvoiceReportForm::ftrWeekEstFeesBeforePrint;
  using TInvoiceReportForm::grphdrInvoiceBeforePrint;
  using TInvoiceReportForm::hdrAcctHistBeforePrint;
  using TInvoiceReportForm::HideUnusedPaySlots;
  using TInvoiceReportForm::InvoiceFooterBeforePrint;
  using TInvoiceReportForm::Report1BeforePrint;
  using TInvoiceReportForm::subdetWeeklyBeforePrint;
  using TInvoiceReportForm::subdetWeeklyNeedData;
  using TInvoiceReportForm::subdtlAcctHistBeforePrint;
  using TInvoiceReportForm::subdtlAcctHistNeedData;
  using TInvoiceReportForm::subdtlEstFeeRowBeforePrint;
  using TInvoiceReportForm::subdtlEstFeeRowNeedData;
  using TInvoiceReportForm::subdtlInvMsgBeforePrint;

  using TInvoiceReportForm::FAccountName;
  using TInvoiceReportForm::FAccountNo;
  using TInvoiceReportForm::FAcctHistRows;
  using TInvoiceReportForm::FApprovalIDs;
  using TInvoiceReportForm::FBPAYBiller;
  using TInvoiceReportForm::FBPAYCustRef;
  using TInvoiceReportForm::FBSB;
  using TInvoiceReportForm::FChargeTypes;
  using TInvoiceReportForm::FCloseBal;
  using TInvoiceReportForm::FCloseDate;
  using TInvoiceReportForm::FDebitDate;
  using TInvoiceReportForm::FDistribChildren;
  using TInvoiceReportForm::FDueDay;
  using TInvoiceReportForm::FDueWeek;
  using TInvoiceReportForm::FEstFeesRows;
  using TInvoiceReportForm::FEstFeesTotal;
  using TInvoiceReportForm::FFamilyChildren;
  using TInvoiceReportForm::FFamilyName;
  using TInvoiceReportForm::FHistCount;
  using TInvoiceReportForm::FInvHist;
  using TInvoiceReportForm::FInvoiceMessage;
  using TInvoiceReportForm::FInvoiceNote;
  using TInvoiceReportForm::FIssueDate;
  using TInvoiceReportForm::FLocations;
  using TInvoiceReportForm::FPaymentOptions;
  using TInvoiceReportForm::FPaySlotsUsed;
  using TInvoiceReportForm::FRegisteredCareOnly;
  using TInvoiceReportForm::FSessionTypes;
  using TInvoiceReportForm::FUseCreditCard;
  using TInvoiceReportForm::FUseDirectDebit;
  using TInvoiceReportForm::FWeekCount;
  using TInvoiceReportForm::FWeekFeeTotals;

  // Report preparation, as a run starts it.
  void prepare() {
    bool printReport = true;
    Report1BeforePrint(Report1(), printReport);
  }
  // The header and detail band of the current invoice row.
  void startInvoice() {
    bool printBand = true;
    grphdrInvoiceBeforePrint(nullptr, printBand);
    DetailBand1BeforePrint(nullptr, printBand);
  }
  // Loads the invoices and prepares, then starts the first invoice.
  void startFirstInvoice() {
    LoadDataSet(TInvoiceReportRun::kInvoicesSql);
    prepare();
    startInvoice();
  }
  void nextInvoice() { ADODataSet1()->dataSet().Next(); }
  // The next history line, as the sub-detail's loop asks for it: false when there is none.
  bool nextHistoryLine() {
    bool more = false;
    subdtlAcctHistNeedData(nullptr, more);
    if (more) {
      bool printBand = true;
      subdtlAcctHistBeforePrint(nullptr, printBand);
    }
    return more;
  }

  QString caption(const char *name) { return label(name).Caption(); }
  bool enabled(const char *name) { return printable(name).Enabled(); }
};

// The probe, destroyed through the form's own path (FormDestroy first).
inline std::unique_ptr<TProbeForm, void (*)(TProbeForm *)> makeProbeForm() {
  return {TForm::create<TProbeForm>(nullptr), [](TProbeForm *form) { delete form; }};
}

} // namespace TDInvoice::Testing
