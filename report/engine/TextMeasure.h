// Text measurement on a 96-ppi reference device, as the layouts were measured when they were
// designed: labels size and wrap by these widths and heights, in screen pixels.
#pragma once

#include "report/Canvas.h"

#include <QFont>
#include <QString>

namespace TDInvoice::Report {

class TTextMeasure {
public:
  static constexpr int kPixelsPerInch = 96;

  // Whether text can be measured at all (fonts need a GUI application).
  static bool available();

  // The font of spec on the reference device: pixel size round(points x 96 / 72), no
  // kerning.
  static QFont font(const TFontSpec &spec);
  // Width of text plus 1 pixel; 0 when text cannot be measured (no GUI application).
  static int textWidth(const TFontSpec &spec, const QString &text);
  // The height of the font's text cell (the height of "A"), whatever text is measured.
  static int textHeight(const TFontSpec &spec);
  // Height of the text cell of "W" in the given font on canvas, in its device units (cached per
  // font and resolution).
  static int canvasLineHeight(TCanvas &canvas, const TFontSpec &spec);
  // The family fontconfig resolves family to.
  static QString resolvedFamily(const QString &family);
  // Raises EReportError unless family resolves to itself or a metric-compatible font.
  static void checkFamily(const QString &family);
};

} // namespace TDInvoice::Report
