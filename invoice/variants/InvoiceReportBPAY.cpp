#include "invoice/variants/InvoiceReportBPAY.h"

#include "invoice/layout/InvoiceStrings.h"
#include "report/engine/ReportCustomBand.h"
#include "report/engine/ReportCustomLabel.h"

namespace TDInvoice {

using namespace InvoiceStrings;

TInvoiceReportBPAY::TInvoiceReportBPAY(QObject *owner)
    : TInvoiceReportForm(owner, Layout::TFormClass::BPAY) {}

TInvoiceReportBPAY::TInvoiceReportBPAY(QObject *owner, Layout::TFormClass formClass)
    : TInvoiceReportForm(owner, formClass) {}

const char *TInvoiceReportBPAY::formClassName() const { return "TInvoiceReportBPAY"; }

void TInvoiceReportBPAY::Report1BeforePrint(Report::TCustomReport *Sender, bool &PrintReport) {
  TInvoiceReportForm::Report1BeforePrint(Sender, PrintReport);
  // BPAY takes the place of direct credit and is always offered; the EFT option is not read.
  PlacePaymentMethod(QString::fromLatin1(CAP_BPAY), false);
  if (FPaymentOptions & kPayCard)
    PlacePaymentMethod(QString::fromLatin1(CAP_Card), true);
  HideUnusedPaySlots();
}

void TInvoiceReportBPAY::InvoiceFooterBeforePrint(Report::TReportCustomBand *Sender,
                                                  bool &PrintBand) {
  TInvoiceReportForm::InvoiceFooterBeforePrint(Sender, PrintBand);
  label("lblBillerCode").setCaption(FBPAYBiller);
}

} // namespace TDInvoice
