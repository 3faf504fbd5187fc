#include "invoice/variants/InvoiceReportBPAYCC.h"

namespace TDInvoice {

TInvoiceReportBPAYCC::TInvoiceReportBPAYCC(QObject *owner)
    : TInvoiceReportBPAY(owner, Layout::TFormClass::BPAYCC) {}

const char *TInvoiceReportBPAYCC::formClassName() const { return "TInvoiceReportBPAYCC"; }

} // namespace TDInvoice
