// The invoice whose payment slip adds a card-payment authority.
#pragma once

#include "invoice/InvoiceReportForm.h"

namespace TDInvoice {

class TInvoiceReportCreditCard : public TInvoiceReportForm {
public:
  const char *formClassName() const override;

protected:
  explicit TInvoiceReportCreditCard(QObject *owner);
  // For the forms that inherit this one's layout and handlers.
  TInvoiceReportCreditCard(QObject *owner, Layout::TFormClass formClass);

  // Fills the payment slots this slip offers, then hides the unused ones.
  void Report1BeforePrint(Report::TCustomReport *Sender, bool &PrintReport) override;
};

} // namespace TDInvoice
