// Printing recorded pages.
#include "report/output/ReportPrinter.h"

#include "TDInvoice/Exceptions.h"
#include "report/output/MetaPage.h"
#include "report/output/PrinterSettings.h"
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
  if (!m_store || m_store->pageCount() == 0)
    return;
  if (m_painter && m_painter->isActive()) {
    m_printer->abort();
    m_painter->end();
  }
  m_painter.reset();
  m_cancelled = false;
  const int count = m_store->pageCount();
  const int first = m_firstPage > 0 ? m_firstPage : 1;
  const int last = m_lastPage > 0 ? std::min(m_lastPage, count) : count;
  if (first > last)
    return;
  m_printer = openPrinter();
  QPainter painter;
  if (!painter.begin(m_printer.get()))
    throw EReportError("Printer not ready");
  const QRectF printable(0, 0, m_printer->width(), m_printer->height());
  for (int n = first; n <= last; ++n) {
    QCoreApplication::processEvents();
    if (m_cancelled) {
      m_printer->abort();
      break;
    }
    if (n > first && !m_printer->newPage())
      throw EReportError("Cannot start a new printer page");
    if (const auto page = m_store->getPage(n))
      page->replay(painter, printable);
  }
  painter.end();
}

} // namespace TDInvoice::Report
