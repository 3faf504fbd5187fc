#include "invoice/variants/InvoiceReportCreditCard.h"

#include "invoice/layout/InvoiceStrings.h"
#include "report/engine/ReportCustomBand.h"
#include "report/engine/ReportCustomLabel.h"

namespace TDInvoice {

using namespace InvoiceStrings;

TInvoiceReportCreditCard::TInvoiceReportCreditCard(QObject *owner)
    : TInvoiceReportForm(owner, Layout::TFormClass::CreditCard) {}

TInvoiceReportCreditCard::TInvoiceReportCreditCard(QObject *owner, Layout::TFormClass formClass)
    : TInvoiceReportForm(owner, formClass) {}

const char *TInvoiceReportCreditCard::formClassName() const { return "TInvoiceReportCreditCard"; }

void TInvoiceReportCreditCard::Report1BeforePrint(Report::TCustomReport *Sender,
                                                  bool &PrintReport) {
  TInvoiceReportForm::Report1BeforePrint(Sender, PrintReport);
  const bool showDirectCredit = PlaceEFTMethod();
  if (FPaymentOptions & kPayCard)
    PlacePaymentMethod(QString::fromLatin1(CAP_Card), true);
  if (showDirectCredit) {
    label("lblEFTPaymtInstructions").setCaption(DirectCreditLine());
  } else {
    Report::TReportPrintable &line = printable("lblEFTPaymtInstructions");
    line.setEnabled(false);
    // The direct-credit line is the band's last row: without it the slip ends where the
    // line would begin.
    component<Report::TReportCustomBand>("InvoiceFooter").setHeight(line.Top());
    printable("lblBPAYCustRef").setEnabled(false);
    printable("lblBPAYCustRefLabel").setEnabled(false);
  }
  HideUnusedPaySlots();
}

} // namespace TDInvoice
