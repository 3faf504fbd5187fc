#include "report/engine/ReportPage.h"

#include "report/engine/ReportControl.h"

namespace TDInvoice::Report {

TReportPage::TReportPage(TReportControl *owner)
    : TReportSizeBase(owner, {TReportAxis::Vertical, TReportAxis::Vertical, TReportAxis::Vertical,
                              TReportAxis::Horizontal, TReportAxis::Horizontal,
                              TReportAxis::Horizontal, TReportAxis::Horizontal}) {}

bool TReportPage::writable(int index) const {
  if (index == LengthIndex || index == WidthIndex)
    return m_paperSize == TReportPaperSize::Custom;
  return true;
}

void TReportPage::setPaperSize(TReportPaperSize paper) {
  m_paperSize = paper;
  applyPaper();
  changed(-1);
}

void TReportPage::setOrientation(TReportOrientation orientation) {
  m_orientation = orientation;
  applyPaper();
  changed(-1);
}

void TReportPage::setColumns(int columns) {
  if (columns <= 0 || columns == m_columns)
    return;
  m_columns = columns;
  changed(-1);
}

void TReportPage::applyPaper() {
  if (m_paperSize == TReportPaperSize::Default || m_paperSize == TReportPaperSize::Custom)
    return;
  const QSizeF mm = paperSizeMM(m_paperSize);
  const bool landscape = m_orientation == TReportOrientation::poLandscape;
  setNativeValue(WidthIndex, (landscape ? mm.height() : mm.width()) * 10.0);
  setNativeValue(LengthIndex, (landscape ? mm.width() : mm.height()) * 10.0);
}

} // namespace TDInvoice::Report
