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
};

} // namespace TDInvoice
