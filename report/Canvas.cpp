#include "report/Canvas.h"

#include <QFontMetrics>
#include <cmath>

namespace TDInvoice::Report {

QFont fontAtResolution(const TFontSpec &spec, double dpiY) {
  QFont font(spec.family);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(spec.pointSize * dpiY / 72.0))));
  font.setBold(spec.bold);
  font.setItalic(spec.italic);
  font.setUnderline(spec.underline);
  font.setStrikeOut(spec.strikeOut);
  font.setKerning(false);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

QFont TCanvas::qfont(const TFontSpec &spec) const { return fontAtResolution(spec, dpiY()); }

QSize TCanvas::textExtent(const QString &text) {
  QFontMetrics metrics(qfont(Font), measureDevice());
  return {metrics.horizontalAdvance(text), metrics.height()};
}

} // namespace TDInvoice::Report
