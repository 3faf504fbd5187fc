// Printing recorded pages.
#include "report/output/ReportPrinter.h"

#include "TDInvoice/Exceptions.h"
#include "report/output/MetaPage.h"
#include "report/output/PrintJob.h"
#include "report/output/ReportPageList.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>

namespace TDInvoice::Report {

void TReportPrinter::printRecorded() {
  // Pages recorded for the screen print better when the report runs again on the printer.
  if (m_reprint && !m_loaded) {
    m_reprint();
    return;
  }
  // The device's own direct-print document is still being laid out.
  if (m_job)
    throw EReportError("Printer not ready");
  if (!m_store || m_store->pageCount() == 0)
    return;
  m_cancelled = false;
  const int count = m_store->pageCount();
  const int first = m_firstPage > 0 ? m_firstPage : 1;
  const int last = m_lastPage > 0 ? std::min(m_lastPage, count) : count;
  if (first > last)
    return;
  const std::unique_ptr<TPrintJob> job = openJob();
  const QRectF printable(0, 0, job->printer().width(), job->printer().height());
  TReplayCache cache;
  for (int n = first; n <= last; ++n) {
    QCoreApplication::processEvents();
    if (m_cancelled) {
      job->abort();
      return;
    }
    QPainter &painter = job->beginPage();
    if (const auto page = m_store->getPage(n))
      page->replay(painter, printable, &cache);
  }
  job->finish();
}

} // namespace TDInvoice::Report
