#include "invoice/variants/InvoiceReportCreditCard.h"

namespace TDInvoice {

TInvoiceReportCreditCard::TInvoiceReportCreditCard(QObject *owner) : TInvoiceReportForm(owner) {}

const char *TInvoiceReportCreditCard::formClassName() const { return "TInvoiceReportCreditCard"; }

} // namespace TDInvoice
