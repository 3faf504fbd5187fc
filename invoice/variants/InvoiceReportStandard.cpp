#include "invoice/variants/InvoiceReportStandard.h"

namespace TDInvoice {

TInvoiceReportStandard::TInvoiceReportStandard(QObject *owner)
    : TInvoiceReportForm(owner, Layout::TFormClass::Standard) {}

TInvoiceReportStandard::TInvoiceReportStandard(QObject *owner, Layout::TFormClass formClass)
    : TInvoiceReportForm(owner, formClass) {}

const char *TInvoiceReportStandard::formClassName() const { return "TInvoiceReportStandard"; }

} // namespace TDInvoice
