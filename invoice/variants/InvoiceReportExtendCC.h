// The credit-card invoice whose fees section shows new charges.
#pragma once

#include "invoice/variants/InvoiceReportCreditCard.h"

namespace TDInvoice {

class TInvoiceReportExtendCC : public TInvoiceReportCreditCard {
public:
  const char *formClassName() const override;

protected:
  explicit TInvoiceReportExtendCC(QObject *owner);
};

} // namespace TDInvoice
