// The invoice whose payment slip offers BPAY in place of direct credit.
#pragma once

#include "invoice/InvoiceReportForm.h"

namespace TDInvoice {

class TInvoiceReportBPAY : public TInvoiceReportForm {
public:
  const char *formClassName() const override;

protected:
  explicit TInvoiceReportBPAY(QObject *owner);
  // For the forms that inherit this one's layout and handlers.
  TInvoiceReportBPAY(QObject *owner, Layout::TFormClass formClass);

  // Fills the payment slots this slip offers, then hides the unused ones.
  void Report1BeforePrint(Report::TCustomReport *Sender, bool &PrintReport) override;
  // The slip as the base fills it, plus the service's biller code.
  void InvoiceFooterBeforePrint(Report::TReportCustomBand *Sender, bool &PrintBand) override;
};

} // namespace TDInvoice
