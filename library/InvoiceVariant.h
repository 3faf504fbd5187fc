// Which invoice form CreateInvoiceReport builds, and building it.
#pragma once

#include <cstdint>

class QObject;

namespace TDInvoice {

class TInvoiceReportForm;

enum class TInvoiceVariant { Standard, Extend, CreditCard, ExtendCC, BPAY, BPAYCC };

// Payment type 2 is a credit-card slip, 3 a BPAY slip, anything else the standard slip.
// WithCard matters only for a BPAY report that is not extended; an extended report is
// never a BPAY report.
TInvoiceVariant chooseInvoiceVariant(std::int32_t PaymentType, bool WithCard, bool Extended);

// Builds a form of the variant's class, owned by owner (may be null). Its callback slots
// are empty.
TInvoiceReportForm *createInvoiceReportForm(TInvoiceVariant variant, QObject *owner);

} // namespace TDInvoice
