// The steps of CreateInvoiceReport.
#pragma once

#include "library/InvoiceVariant.h"

#include <cstdint>

class QObject;

namespace TDInvoice {

class IInvoiceReport;

using TInvoiceFormFactory = TInvoiceReportForm *(*)(TInvoiceVariant variant, QObject *owner);

// Chooses the variant, builds its form with createForm, wraps it in a TInvoice and stores
// the interface in Report with one reference counted, releasing the reference Report held.
// If building throws, the exception propagates and Report is untouched.
void createInvoiceReport(IInvoiceReport *&Report, QObject *Owner, std::int32_t PaymentType,
                         bool WithCard, bool Extended,
                         TInvoiceFormFactory createForm = createInvoiceReportForm);

} // namespace TDInvoice
