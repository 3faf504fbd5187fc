// The standard invoice whose fees section shows new charges.
#pragma once

#include "invoice/variants/InvoiceReportStandard.h"

namespace TDInvoice {

class TInvoiceReportExtend : public TInvoiceReportStandard {
public:
  const char *formClassName() const override;

protected:
  explicit TInvoiceReportExtend(QObject *owner);
};

} // namespace TDInvoice
