// The BPAY invoice whose instructions also allow payment from a credit card account.
#pragma once

#include "invoice/variants/InvoiceReportBPAY.h"

namespace TDInvoice {

class TInvoiceReportBPAYCC : public TInvoiceReportBPAY {
public:
  const char *formClassName() const override;

protected:
  explicit TInvoiceReportBPAYCC(QObject *owner);
};

} // namespace TDInvoice
