#include "invoice/variants/InvoiceReportStandard.h"

#include "invoice/layout/InvoiceStrings.h"
#include "report/engine/ReportCustomLabel.h"

namespace TDInvoice {

using namespace InvoiceStrings;

TInvoiceReportStandard::TInvoiceReportStandard(QObject *owner)
    : TInvoiceReportForm(owner, Layout::TFormClass::Standard) {}

TInvoiceReportStandard::TInvoiceReportStandard(QObject *owner, Layout::TFormClass formClass)
    : TInvoiceReportForm(owner, formClass) {}

const char *TInvoiceReportStandard::formClassName() const { return "TInvoiceReportStandard"; }

void TInvoiceReportStandard::Report1BeforePrint(Report::TCustomReport *Sender, bool &PrintReport) {
  TInvoiceReportForm::Report1BeforePrint(Sender, PrintReport);
  const bool showDirectCredit = PlaceEFTMethod();
  if (!(FPaymentOptions & kPayEFT)) {
    // Without direct credit the customer reference means nothing to the payer.
    printable("lblBPAYCustRef").setEnabled(false);
    printable("lblBPAYCustRefLabel").setEnabled(false);
  }
  if (showDirectCredit)
    label("lblEFTPaymtInstructions").setCaption(DirectCreditLine());
  else
    printable("lblEFTPaymtInstructions").setEnabled(false);
  if (FPaymentOptions & kPayCard)
    PlacePaymentMethod(QString::fromLatin1(CAP_Card), true);
  HideUnusedPaySlots();
}

} // namespace TDInvoice
