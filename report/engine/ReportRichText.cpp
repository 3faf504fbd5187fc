#include "report/engine/ReportRichText.h"

#include "report/output/ReportPrinter.h"

namespace TDInvoice::Report {

namespace {

TTextAlign canvasAlign(TAlignment alignment) {
  if (alignment == TAlignment::taRightJustify)
    return TTextAlign::Right;
  if (alignment == TAlignment::taCenter)
    return TTextAlign::Center;
  return TTextAlign::Left;
}

} // namespace

TReportRichText::TReportRichText(QObject *owner) : TReportPrintable(owner) {}

TReportRichText::~TReportRichText() = default;

void TReportRichText::setLines(const QByteArray &lines) { m_lines = lines; }

void TReportRichText::setPlainText(const QString &text) {
  QString withBreaks = text;
  withBreaks.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  withBreaks.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  m_lines = withBreaks.toLatin1();
}

TRichTextFormatter &TReportRichText::formatter() {
  if (!m_formatter)
    m_formatter = createRichTextFormatter();
  return *m_formatter;
}

void TReportRichText::prepare() {
  setFinished(true);
  m_nextChar = 0;
}

void TReportRichText::unprepare() {
  if (m_formatter)
    m_formatter->releaseCache();
}

void TReportRichText::finish() {
  setFinished(true);
  m_nextChar = 0;
  formatter().releaseCache();
}

void TReportRichText::print(double offsetX, double offsetY) {
  TReportPrinter *device = printer();
  if (!device) {
    setFinished(true);
    return;
  }
  const int start = finished() ? 0 : m_nextChar;
  TRichTextFormatter &layout = formatter();
  layout.setContent(m_lines, Font(), canvasAlign(m_alignment));
  const int length = layout.textLength();
  TCanvas &canvas = device->canvas();
  const double left = offsetX + nativeLeft();
  const double top = offsetY + nativeTop();
  QRect box = deviceRect(left, top, left + nativeWidth(), top + nativeHeight());
  // Measure first and draw once, into the box as far as the band lets it grow: the page
  // then holds each piece of text once.
  int end = layout.format(canvas, box, start, false);
  setProgressed(end > start);
  if (end >= length || !m_autoStretch || !parentBand() || length == 0) {
    layout.format(canvas, box, start, true);
    paintFrame(canvas, box, Frame(), device->xFactor(), device->yFactor());
    finish();
    return;
  }
  while (end < length && requestExpansion(kExpansionStep)) {
    box = deviceRect(left, top, left + nativeWidth(), top + nativeHeight() + bandExpansion());
    end = layout.format(canvas, box, start, false);
  }
  layout.format(canvas, box, start, true);
  setProgressed(end > start);
  if (end >= length) {
    finish();
    return;
  }
  setFinished(false);
  m_nextChar = end;
}

} // namespace TDInvoice::Report
