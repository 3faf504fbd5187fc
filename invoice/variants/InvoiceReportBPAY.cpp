#include "invoice/variants/InvoiceReportBPAY.h"

namespace TDInvoice {

TInvoiceReportBPAY::TInvoiceReportBPAY(QObject *owner) : TInvoiceReportForm(owner) {}

const char *TInvoiceReportBPAY::formClassName() const { return "TInvoiceReportBPAY"; }

} // namespace TDInvoice
