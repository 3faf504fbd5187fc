#include "invoice/variants/InvoiceReportExtendCC.h"

namespace TDInvoice {

TInvoiceReportExtendCC::TInvoiceReportExtendCC(QObject *owner)
    : TInvoiceReportCreditCard(owner, Layout::TFormClass::ExtendCC) {}

const char *TInvoiceReportExtendCC::formClassName() const { return "TInvoiceReportExtendCC"; }

} // namespace TDInvoice
