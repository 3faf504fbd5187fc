#include "report/engine/ReportCustomLabel.h"

#include "report/engine/CustomReport.h"
#include "report/engine/ReportCustomBand.h"
#include "report/engine/TextMeasure.h"
#include "report/output/ReportPrinter.h"

#include <algorithm>

namespace TDInvoice::Report {

namespace {

TTextAlign canvasAlign(TAlignment alignment) {
  switch (alignment) {
  case TAlignment::taRightJustify:
    return TTextAlign::Right;
  case TAlignment::taCenter:
    return TTextAlign::Center;
  case TAlignment::taLeftJustify:
    break;
  }
  return TTextAlign::Left;
}

} // namespace

TReportCustomLabel::TReportCustomLabel(QObject *owner) : TReportPrintable(owner) {}

void TReportCustomLabel::setAlignment(TAlignment alignment) { m_alignment = alignment; }

void TReportCustomLabel::setAutoSize(bool on) {
  m_autoSize = on;
  reformat();
}

void TReportCustomLabel::setWordWrap(bool on) {
  m_wordWrap = on;
  reformat();
}

void TReportCustomLabel::setFontSize(int points) {
  m_fontSize = points;
  if (points > 0) {
    TFontSpec font = Font();
    font.pointSize = points;
    setFont(font);
  }
}

void TReportCustomLabel::sizeChanged(int index) {
  if (index == TReportPrintableSize::WidthIndex || index < 0)
    reformat();
}

void TReportCustomLabel::reformat() { reformatText(text()); }

TReportCustomLabel::TFormatted TReportCustomLabel::formattedFrom(const QString &text) const {
  return {text,
          Font(),
          Width(),
          Height(),
          unitContext().zoom,
          m_autoSize,
          m_wordWrap,
          report() != nullptr,
          Frame()};
}

void TReportCustomLabel::reformatText(const QString &source) {
  if (m_formatting || loading())
    return;
  if (m_formatted && *m_formatted == formattedFrom(source))
    return;
  m_formatting = true;
  const int zoom = unitContext().zoom;
  const TFontSpec font = Font();
  const TTextWidthFunction width = [&font, zoom](const QString &s) {
    return TTextMeasure::textWidth(font, s) * zoom / 100;
  };
  m_lines = formatText(source, TLabelFormat{m_autoSize, m_wordWrap, Width()}, width);
  if (TTextMeasure::available()) {
    const int lineHeight = TTextMeasure::textHeight(font) * zoom / 100 + 1;
    if (formatsCaption() && report())
      raiseToOneLine(lineHeight);
    if (m_autoSize) {
      sizeToWidest(width);
      raiseToOneLine(lineHeight);
    }
    m_formatted = formattedFrom(source);
  }
  m_formatting = false;
}

void TReportCustomLabel::raiseToOneLine(int lineHeight) {
  if (Height() < lineHeight)
    setHeight(lineHeight);
}

void TReportCustomLabel::sizeToWidest(const TTextWidthFunction &width) {
  int widest = 0;
  for (const QString &line : m_lines)
    widest = std::max(widest, width(line));
  if (Frame().DrawLeft)
    widest += Frame().Width;
  if (Frame().DrawRight)
    widest += Frame().Width;
  const int old = Width();
  if (widest == old)
    return;
  // Right-aligned text keeps its right edge, centred text its centre.
  int shift = 0;
  if (m_alignment == TAlignment::taRightJustify)
    shift = old - widest;
  else if (m_alignment == TAlignment::taCenter)
    shift = (old - widest) / 2;
  if (shift != 0)
    Size().setNativeValue(TReportPrintableSize::LeftIndex,
                          nativeLeft() + nativeFromUnit(shift, TReportUnit::Pixels,
                                                        TReportAxis::Horizontal, unitContext()));
  setWidth(widest);
}

void TReportCustomLabel::prepare() {
  setFinished(true);
  m_nextLine = 0;
}

double TReportCustomLabel::anchorX(double left, double textLeft, double width) const {
  switch (m_alignment) {
  case TAlignment::taRightJustify:
    return left + width;
  case TAlignment::taCenter:
    return left + width / 2;
  case TAlignment::taLeftJustify:
    break;
  }
  return textLeft;
}

void TReportCustomLabel::print(double offsetX, double offsetY) {
  TReportPrinter *device = printer();
  if (!device) {
    setFinished(true);
    return;
  }
  const bool startOver = finished();
  QString source = text();
  if (OnPrint)
    OnPrint(this, source);
  reformatText(source);
  if (startOver)
    m_nextLine = 0;

  double left = offsetX + nativeLeft();
  if (const TReportCustomBand *band = parentBand(); band && m_alignToBand) {
    if (m_alignment == TAlignment::taRightJustify)
      left = offsetX + band->width() - nativeWidth();
    else if (m_alignment == TAlignment::taCenter)
      left = offsetX + (band->width() - nativeWidth()) / 2;
    else
      left = offsetX;
  }
  const double top = offsetY + nativeTop();
  const double width = nativeWidth();
  const double height = nativeHeight();
  TCanvas &canvas = device->canvas();
  const double lineHeight = TTextMeasure::canvasLineHeight(canvas, Font()) / device->yFactor();
  if (!m_transparent) {
    canvas.Brush = TBrushSpec{m_color, true};
    canvas.fillRect(deviceRect(left, top, left + width, top + height));
  }
  const int frameOffset = frameOffsetNative(Frame().Width);
  const double textTop = top + (Frame().DrawTop ? frameOffset : 0);
  const double textLeft = left + (Frame().DrawLeft ? frameOffset : 0);
  const double anchor = anchorX(left, textLeft, width);
  double bottomLimit = top + height + 1;
  double filledBottom = top + height;
  double lineTop = textTop;
  bool progressed = false;
  int line = m_nextLine;
  for (; line < m_lines.size(); ++line) {
    if (lineTop + lineHeight > bottomLimit) {
      if (!m_autoStretch || !requestExpansion(lineHeight))
        break;
      bottomLimit = top + height + 1 + bandExpansion();
      if (!m_transparent) {
        canvas.Brush = TBrushSpec{m_color, true};
        canvas.fillRect(
            deviceRect(left, filledBottom, left + width, top + height + bandExpansion()));
        filledBottom = top + height + bandExpansion();
      }
    }
    const QString &textLine = m_lines[line];
    if (!textLine.isEmpty()) {
      canvas.Font = Font();
      canvas.textOut(device->xPos(anchor), device->yPos(lineTop), textLine,
                     canvasAlign(m_alignment));
    }
    lineTop += lineHeight;
    progressed = true;
  }
  m_nextLine = line;
  setProgressed(progressed);
  setFinished(!(line < m_lines.size() && m_autoStretch));
  if (Frame().anySide())
    paintFrame(canvas, deviceRect(left, textTop, left + width, textTop + height + bandExpansion()),
               Frame(), device->xFactor(), device->yFactor());
}

TReportLabel::TReportLabel(QObject *owner) : TReportCustomLabel(owner) {}

void TReportLabel::setCaption(const QString &caption) {
  m_caption = caption;
  reformat();
}

QStringList TReportLabel::formatText(const QString &text, const TLabelFormat &format,
                                     const TTextWidthFunction &width) const {
  return formatLabelText(text, format, width);
}

TReportMemo::TReportMemo(QObject *owner) : TReportCustomLabel(owner) {}

void TReportMemo::setLines(const QStringList &lines) {
  m_memoLines = lines;
  reformat();
}

QString TReportMemo::text() const { return m_memoLines.join(QLatin1Char('\r')); }

QStringList TReportMemo::formatText(const QString &text, const TLabelFormat &format,
                                    const TTextWidthFunction &width) const {
  const QStringList lines = text.split(QLatin1Char('\r'));
  if (format.autoSize)
    return lines;
  QStringList result;
  for (const QString &line : lines)
    result.append(formatLabelText(line, format, width));
  return result;
}

} // namespace TDInvoice::Report
