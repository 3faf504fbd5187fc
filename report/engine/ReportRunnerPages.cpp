// The band and page operations of a run: where each band lands and when pages break.
#include "report/engine/CustomReport.h"
#include "report/engine/DeviceGeometry.h"
#include "report/engine/Pagination.h"
#include "report/engine/ReportChildBand.h"
#include "report/engine/ReportController.h"
#include "report/engine/ReportPrintable.h"
#include "report/engine/ReportRunner.h"
#include "report/output/ReportPrinter.h"

namespace TDInvoice::Report {

namespace {

bool exemptFromForcing(TReportBandType type) {
  return type == TReportBandType::rbTitle || type == TReportBandType::rbPageHeader ||
         type == TReportBandType::rbPageFooter || type == TReportBandType::rbOverlay;
}

} // namespace

void TReportRunner::printBand(TReportCustomBand *band) {
  if (!band)
    return;
  TReportCustomBand &b = *band;
  if (b.AlignToBottom())
    alignBand(b);
  bool printIt = b.Enabled();
  if (printIt && b.BeforePrint)
    b.BeforePrint(&b, printIt);
  if (printIt) {
    placeBand(b);
    if (TReportController *controller = b.notifyController())
      controller->notifyPrintables();
    b.setPrintRect(deviceRect(m_printer, m_currentX, m_currentY, m_currentX + b.width(),
                              m_currentY + b.length()));
    if (b.Height() != 0 && b.Enabled())
      printContents(b);
  } else if (!b.Enabled()) {
    if (TReportController *controller = b.notifyController())
      controller->notifyPrintables();
  }
  if (b.AfterPrint)
    b.AfterPrint(&b, printIt);
  // A child prints whether or not its parent did; its own BeforePrint decides.
  printBand(b.ChildBand());
}

void TReportRunner::alignBand(TReportCustomBand &band) {
  if (band.ruleType() == TReportBandType::rbSummary &&
      !m_report.Options().testFlag(TReportOption::LastPageFooter))
    m_pageFooterSize = 0;
  m_currentY = Pagination::alignToBottom(
      m_currentY, m_printer.paperLength(),
      m_report.Page().nativeValue(TReportPage::BottomMarginIndex), band.length(), m_pageFooterSize);
}

void TReportRunner::placeBand(TReportCustomBand &band) {
  const bool forcible = !exemptFromForcing(band.ruleType()) && pageBegun();
  if (band.ForceNewPage() && forcible)
    forcedNewPage();
  else if (band.ForceNewColumn() && forcible)
    forcedNewColumn();
  else
    makeSpace(band);
}

void TReportRunner::makeSpace(TReportCustomBand &band) {
  std::vector<Pagination::TLinkedBand> links;
  for (TReportCustomBand *link = band.LinkBand(); link; link = link->LinkBand())
    links.push_back({link->length(), link->Height()});
  const long long needed = roundHalfEven(Pagination::stretchHeight(band.length(), links));
  const TReportPage &page = m_report.Page();
  const double printableLength = page.nativeValue(TReportPage::LengthIndex) -
                                 page.nativeValue(TReportPage::TopMarginIndex) -
                                 page.nativeValue(TReportPage::BottomMarginIndex);
  if (Pagination::needsNewColumn(pageBegun(), band.ruleType() == TReportBandType::rbPageFooter,
                                 availableSpace(), needed, printableLength))
    newColumn();
}

void TReportRunner::printContents(TReportCustomBand &band) {
  TCanvas &canvas = m_printer.canvas();
  canvas.Brush = TBrushSpec{band.Color(), true};
  canvas.fillRect(band.printRect());
  const double savedLength = band.length();
  auto restart = [&band, savedLength] {
    band.Size().setNativeValue(TReportBandSize::LengthIndex, savedLength);
    band.setExpansion(0);
    for (TReportPrintable *p : band.printables())
      p->resetExpansion();
  };
  restart();
  std::vector<TReportPrintable *> pending;
  for (TReportPrintable *p : band.printables())
    if (p->Enabled())
      pending.push_back(p);
  bool freshColumn = false;
  for (;;) {
    bool done = true;
    bool progressed = false;
    for (TReportPrintable *p : pending) {
      p->print(m_currentX, m_currentY);
      done = done && p->finished();
      progressed = progressed || p->progressed();
    }
    const QRect frameRect = deviceRect(m_printer, m_currentX, m_currentY, m_currentX + band.width(),
                                       m_currentY + band.length() + band.expansion() + 1);
    paintFrame(m_printer.canvas(), frameRect, band.Frame(), m_printer.xFactor(),
               m_printer.yFactor());
    if (done)
      break;
    if (freshColumn && !progressed) {
      // Nothing more fits even at the top of an empty column: give the rest up rather
      // than break pages for ever.
      for (TReportPrintable *p : pending)
        if (!p->finished())
          p->abandon();
      break;
    }
    newColumn();
    restart();
    std::erase_if(pending, [](TReportPrintable *p) { return p->finished(); });
    freshColumn = true;
  }
  m_currentY += band.length() + band.expansion();
  band.Size().setNativeValue(TReportBandSize::LengthIndex, savedLength);
}

long long TReportRunner::availableSpace() const {
  return Pagination::availableSpace(pageBegun(), m_printer.paperLength(),
                                    m_report.Page().nativeValue(TReportPage::BottomMarginIndex),
                                    m_pageFooterSize, m_currentY);
}

bool TReportRunner::requestExpansion(TReportCustomBand &band, TReportPrintable &printable,
                                     double h) {
  const auto result = Pagination::requestExpansion(availableSpace(), band.length(),
                                                   band.expansion(), h, printable.hasExpanded());
  if (!result.granted)
    return false;
  band.setExpansion(result.expansion);
  printable.learnExpansion(result.expansion);
  return true;
}

void TReportRunner::newColumn() {
  const TReportPage &page = m_report.Page();
  if (m_currentColumn >= page.Columns()) {
    m_currentColumn = 1;
    m_currentX = page.nativeValue(TReportPage::LeftMarginIndex);
    newPage();
  } else {
    const TReportCustomBand *detail = m_report.Bands().DetailBand();
    const double space = page.nativeValue(TReportPage::ColumnSpaceIndex);
    const double full = page.nativeValue(TReportPage::WidthIndex) -
                        page.nativeValue(TReportPage::LeftMarginIndex) -
                        page.nativeValue(TReportPage::RightMarginIndex);
    const double columnWidth = (full - space * (page.Columns() - 1)) / page.Columns();
    m_currentX += space + (detail ? detail->width() : columnWidth);
    m_currentY = m_columnTop;
    ++m_currentColumn;
  }
  setFunction("COLUMNNUMBER", m_currentColumn);
  if (m_currentColumn != 1 || m_pageCount != 1) {
    printBand(columnHeaderBand());
    m_report.controller().newPageCheck(*this);
  }
}

void TReportRunner::newPage() {
  endPage();
  ++m_pageCount;
  setFunction("PAGENUMBER", m_pageCount);
  m_printer.newPage();
  const TReportPage &page = m_report.Page();
  m_currentY = page.nativeValue(TReportPage::TopMarginIndex);
  if (m_report.OnStartPage)
    m_report.OnStartPage(&m_report);
  if (m_pageCount > 1 || m_report.Options().testFlag(TReportOption::FirstPageHeader))
    printBand(m_report.Bands().PageHeaderBand());
  m_columnTop = m_currentY;
  if (m_pageCount == 1)
    if (const TReportCustomBand *title = m_report.Bands().TitleBand())
      m_columnTop += title->length();
}

void TReportRunner::endPage() {
  if (!pageBegun())
    return;
  const TReportPage &page = m_report.Page();
  m_currentY = page.nativeValue(TReportPage::LengthIndex) -
               page.nativeValue(TReportPage::BottomMarginIndex) - m_pageFooterSize;
  m_currentX = page.nativeValue(TReportPage::LeftMarginIndex);
  if (!m_lastPage || m_report.Options().testFlag(TReportOption::LastPageFooter))
    printBand(m_report.Bands().PageFooterBand());
  printReportPrintables();
  paintReportFrame();
  if (m_report.OnEndPage)
    m_report.OnEndPage(&m_report);
}

void TReportRunner::printReportPrintables() {
  // Printables placed on the report itself count from the paper's top-left corner.
  for (TReportControl *control : m_report.controls())
    if (auto *printable = dynamic_cast<TReportPrintable *>(control);
        printable && printable->Enabled())
      printable->print(0, 0);
}

void TReportRunner::paintReportFrame() {
  const TReportPage &page = m_report.Page();
  const QRect rect = deviceRect(m_printer, page.nativeValue(TReportPage::LeftMarginIndex),
                                page.nativeValue(TReportPage::TopMarginIndex),
                                page.nativeValue(TReportPage::WidthIndex) -
                                    page.nativeValue(TReportPage::RightMarginIndex),
                                page.nativeValue(TReportPage::LengthIndex) -
                                    page.nativeValue(TReportPage::BottomMarginIndex));
  paintFrame(m_printer.canvas(), rect, m_report.Frame(), m_printer.xFactor(), m_printer.yFactor());
}

void TReportRunner::forcedNewPage() {
  if (m_skipNextForcedPage) {
    m_skipNextForcedPage = false;
    return;
  }
  startNewPage();
}

void TReportRunner::startNewPage() {
  do
    newColumn();
  while (m_currentColumn != 1);
}

void TReportRunner::forcedNewColumn() {
  const bool firstRequest = !m_forcedColumnSeen;
  m_forcedColumnSeen = true;
  if (firstRequest && m_currentColumn <= 1)
    return;
  newColumn();
}

} // namespace TDInvoice::Report
