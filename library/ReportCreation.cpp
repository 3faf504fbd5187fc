#include "library/ReportCreation.h"

#include "invoice/InvoiceReportForm.h"
#include "library/Invoice.h"

namespace TDInvoice {

void createInvoiceReport(IInvoiceReport *&Report, QObject *Owner, std::int32_t PaymentType,
                         bool WithCard, bool Extended, TInvoiceFormFactory createForm) {
  TInvoiceReportForm *form =
      createForm(chooseInvoiceVariant(PaymentType, WithCard, Extended), Owner);
  TInvoice *invoice;
  try {
    invoice = new TInvoice(form);
  } catch (...) {
    // Nobody would ever release a form without its interface.
    delete form;
    throw;
  }
  if (Report)
    Report->Release();
  Report = invoice;
  invoice->AddRef();
}

} // namespace TDInvoice
