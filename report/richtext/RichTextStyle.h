// A character format made concrete for one canvas: the font the canvas draws it in, its
// metrics in device units, and a cache of character advances for fast measuring.
#pragma once

#include "report/Canvas.h"
#include "report/richtext/RichTextDocument.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>

#include <array>
#include <optional>

namespace TDInvoice::Report {

class TRichTextStyle {
public:
  // Super- and subscripts print at two thirds of the size, raised by a third of the size
  // or lowered by a sixth of it.
  static constexpr double kScriptScale = 2.0 / 3.0;

  TRichTextStyle(const TRichCharFormat &format, QRgb autoColor, TCanvas &canvas);

  const TFontSpec &spec() const { return spec_; }
  bool hidden() const { return hidden_; }
  const std::optional<QRgb> &background() const { return background_; }
  int ascent() const { return ascent_; }
  int descent() const { return descent_; }
  int rise() const { return rise_; } // device units the baseline is raised by

  // Advance of one character; cached.
  double advance(char16_t c);
  // Width of a character sequence measured as one piece (shaped text, clusters).
  double width(QStringView text) const;

private:
  TFontSpec spec_;
  bool hidden_ = false;
  std::optional<QRgb> background_;
  QFont font_;
  QFontMetricsF metrics_;
  int ascent_ = 0;
  int descent_ = 0;
  int rise_ = 0;
  std::array<double, 256> latin_; // negative: not measured yet
  QHash<char16_t, double> others_;
};

} // namespace TDInvoice::Report
