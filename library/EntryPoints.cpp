// The three functions the library exports.
#include "TDInvoice/InvoiceReport.h"
#include "framework/ApplicationObjects.h"
#include "library/ReportCreation.h"

extern "C" {

void FinaliseInvoiceDLL() { TDInvoice::restoreSavedApplicationObjects(); }

void InitInvoiceDLL(TDInvoice::TApplication *Application, TDInvoice::TScreen *Screen) {
  TDInvoice::installHostApplicationObjects(Application, Screen);
}

void CreateInvoiceReport(TDInvoice::IInvoiceReport *&Report, QObject *Owner,
                         std::int32_t PaymentType, std::int16_t WithCard, std::int16_t Extended) {
  // A 16-bit boolean is true when any of its bits is set.
  TDInvoice::createInvoiceReport(Report, Owner, PaymentType, WithCard != 0, Extended != 0);
}
}
