// The invoice whose payment slip offers BPAY in place of direct credit.
#pragma once

#include "invoice/InvoiceReportForm.h"

namespace TDInvoice {

class TInvoiceReportBPAY : public TInvoiceReportForm {
public:
  const char *formClassName() const override;

protected:
  explicit TInvoiceReportBPAY(QObject *owner);
};

} // namespace TDInvoice
