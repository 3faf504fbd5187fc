#include "report/richtext/RichTextStyle.h"

#include <cmath>

namespace TDInvoice::Report {

namespace {

TFontSpec specOf(const TRichCharFormat &format, QRgb autoColor) {
  TFontSpec spec;
  spec.family = format.family;
  spec.pointSize = format.pointSize;
  if (format.verticalAlign != TRichVerticalAlign::Normal)
    spec.pointSize = format.pointSize * TRichTextStyle::kScriptScale;
  spec.bold = format.bold;
  spec.italic = format.italic;
  spec.underline = format.underline;
  spec.strikeOut = format.strikeOut;
  spec.color = format.color.value_or(autoColor);
  return spec;
}

double risePoints(const TRichCharFormat &format) {
  double points = format.baselineShift / 2.0;
  if (format.verticalAlign == TRichVerticalAlign::Superscript)
    points += format.pointSize / 3.0;
  else if (format.verticalAlign == TRichVerticalAlign::Subscript)
    points -= format.pointSize / 6.0;
  return points;
}

} // namespace

TRichTextStyle::TRichTextStyle(const TRichCharFormat &format, QRgb autoColor, TCanvas &canvas)
    : spec_(specOf(format, autoColor)), hidden_(format.hidden), background_(format.background),
      font_(canvas.qfont(spec_)), metrics_(font_, canvas.measureDevice()) {
  const QFontMetrics whole(font_, canvas.measureDevice());
  ascent_ = whole.ascent();
  descent_ = whole.descent();
  rise_ = static_cast<int>(std::lround(risePoints(format) * canvas.dpiY() / 72.0));
  latin_.fill(-1);
}

double TRichTextStyle::advance(char16_t c) {
  if (c < latin_.size()) {
    double &cached = latin_[c];
    if (cached < 0)
      cached = metrics_.horizontalAdvance(QChar(c));
    return cached;
  }
  auto found = others_.constFind(c);
  if (found == others_.constEnd())
    found = others_.insert(c, metrics_.horizontalAdvance(QChar(c)));
  return found.value();
}

double TRichTextStyle::width(QStringView text) const {
  return metrics_.horizontalAdvance(text.toString());
}

} // namespace TDInvoice::Report
