// The invoice with the standard payment slip: cash, cheque, direct credit and card.
#pragma once

#include "invoice/InvoiceReportForm.h"

namespace TDInvoice {

class TInvoiceReportStandard : public TInvoiceReportForm {
public:
  const char *formClassName() const override;

protected:
  explicit TInvoiceReportStandard(QObject *owner);
  // For the forms that inherit this one's layout and handlers.
  TInvoiceReportStandard(QObject *owner, Layout::TFormClass formClass);

  // Fills the payment slots this slip offers, then hides the unused ones.
  void Report1BeforePrint(Report::TCustomReport *Sender, bool &PrintReport) override;
};

} // namespace TDInvoice
