// Helpers shared by the library's in-process tests.
#pragma once

#include "TDInvoice/InvoiceReport.h"
#include "invoice/InvoiceReportForm.h"
#include "library/Invoice.h"

#include <QEventLoop>
#include <QTimer>

namespace TDInvoice::Testing {

// The object behind an interface the library handed out.
inline TInvoice *invoiceOf(IInvoiceReport *report) { return static_cast<TInvoice *>(report); }
inline TInvoiceReportForm *formOf(IInvoiceReport *report) { return invoiceOf(report)->form(); }

// Runs the event loop as the host's GUI loop would: a release made while one turn handles
// an event takes effect in the next turn, so two turns see it through.
inline void runEventLoop() {
  for (int turn = 0; turn < 2; ++turn) {
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
  }
}

} // namespace TDInvoice::Testing
