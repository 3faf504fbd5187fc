#include "invoice/variants/InvoiceReportCreditCard.h"

namespace TDInvoice {

TInvoiceReportCreditCard::TInvoiceReportCreditCard(QObject *owner)
    : TInvoiceReportForm(owner, Layout::TFormClass::CreditCard) {}

TInvoiceReportCreditCard::TInvoiceReportCreditCard(QObject *owner, Layout::TFormClass formClass)
    : TInvoiceReportForm(owner, formClass) {}

const char *TInvoiceReportCreditCard::formClassName() const { return "TInvoiceReportCreditCard"; }

} // namespace TDInvoice
