#include "invoice/variants/InvoiceReportBPAY.h"

namespace TDInvoice {

TInvoiceReportBPAY::TInvoiceReportBPAY(QObject *owner)
    : TInvoiceReportForm(owner, Layout::TFormClass::BPAY) {}

TInvoiceReportBPAY::TInvoiceReportBPAY(QObject *owner, Layout::TFormClass formClass)
    : TInvoiceReportForm(owner, formClass) {}

const char *TInvoiceReportBPAY::formClassName() const { return "TInvoiceReportBPAY"; }

} // namespace TDInvoice
