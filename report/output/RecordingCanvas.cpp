#include "report/output/RecordingCanvas.h"

#include "report/ReportTypes.h"

namespace TDInvoice::Report {

namespace {
int dotsPerMeter(int dpi) { return static_cast<int>(roundHalfEven(dpi / 0.0254)); }
} // namespace

TRecordingCanvas::TRecordingCanvas(QSize pageSize, int dpiX, int dpiY)
    : m_page(pageSize, dpiX, dpiY), m_measure(1, 1, QImage::Format_ARGB32_Premultiplied) {
  // Text is measured on a device of the canvas's resolution, as it will be laid out.
  m_measure.setDotsPerMeterX(dotsPerMeter(dpiX));
  m_measure.setDotsPerMeterY(dotsPerMeter(dpiY));
}

void TRecordingCanvas::fillRect(const QRect &r) { m_page.add(TMetaFillRect{r, Brush}); }
void TRecordingCanvas::rectangle(const QRect &r) { m_page.add(TMetaRectangle{r, Pen, Brush}); }
void TRecordingCanvas::ellipse(const QRect &r) { m_page.add(TMetaEllipse{r, Pen, Brush}); }
void TRecordingCanvas::line(const QPoint &from, const QPoint &to) {
  m_page.add(TMetaLine{from, to, Pen});
}
void TRecordingCanvas::textOut(int x, int y, const QString &text, TTextAlign align) {
  m_page.add(TMetaText{QPoint(x, y), align, Font, text});
}
void TRecordingCanvas::drawImage(const QRect &target, const QImage &image) {
  m_page.add(TMetaImage{target, image});
}
void TRecordingCanvas::drawPicture(const QRect &target, const QByteArray &svg) {
  m_page.add(TMetaPicture{target, svg});
}
void TRecordingCanvas::setClipRect(const QRect &r) { m_page.add(TMetaClip{true, r}); }
void TRecordingCanvas::clearClip() { m_page.add(TMetaClip{false, QRect()}); }

TMetaPage TRecordingCanvas::takePage() {
  TMetaPage page(m_page.size(), m_page.dpiX(), m_page.dpiY());
  std::swap(page, m_page);
  return page;
}

} // namespace TDInvoice::Report
