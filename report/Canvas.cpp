#include "report/Canvas.h"

#include <QFontMetrics>
#include <cmath>

namespace TDInvoice::Report {

QFont TCanvas::qfont(const TFontSpec &spec) const {
  QFont font(spec.family);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(spec.pointSize * dpiY() / 72.0))));
  font.setBold(spec.bold);
  font.setItalic(spec.italic);
  font.setUnderline(spec.underline);
  font.setStrikeOut(spec.strikeOut);
  font.setKerning(false);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

QSize TCanvas::textExtent(const QString &text) {
  QFontMetrics metrics(qfont(Font), measureDevice());
  return {metrics.horizontalAdvance(text), metrics.height()};
}

}  // namespace TDInvoice::Report
