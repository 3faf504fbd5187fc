#include "invoice/variants/InvoiceReportStandard.h"

namespace TDInvoice {

TInvoiceReportStandard::TInvoiceReportStandard(QObject *owner) : TInvoiceReportForm(owner) {}

const char *TInvoiceReportStandard::formClassName() const { return "TInvoiceReportStandard"; }

} // namespace TDInvoice
