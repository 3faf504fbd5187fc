#include "invoice/variants/InvoiceReportExtend.h"

namespace TDInvoice {

TInvoiceReportExtend::TInvoiceReportExtend(QObject *owner)
    : TInvoiceReportStandard(owner, Layout::TFormClass::Extend) {}

const char *TInvoiceReportExtend::formClassName() const { return "TInvoiceReportExtend"; }

} // namespace TDInvoice
