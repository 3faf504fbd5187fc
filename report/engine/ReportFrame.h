// The frame lines of a report, band or printable.
#pragma once

#include "report/Canvas.h"

#include <QColor>
#include <QRect>

namespace TDInvoice::Report {

struct TReportFrame {
  QRgb Color = qRgb(0, 0, 0);
  bool DrawTop = false;
  bool DrawBottom = false;
  bool DrawLeft = false;
  bool DrawRight = false;
  // Kept for the layouts; printed frames are always solid.
  Qt::PenStyle Style = Qt::SolidLine;
  int Width = 1; // points

  bool anySide() const { return DrawTop || DrawBottom || DrawLeft || DrawRight; }
  bool operator==(const TReportFrame &) const = default;
};

// Thickness of a frame line of widthPoints in device units, factor being device units per
// native unit: at least 1 for any positive width, 1 for the hairline width -1, 0 otherwise.
int frameThickness(int widthPoints, double factor);

// Frame line width in native units, as text is moved clear of it (4 for 1 point).
int frameOffsetNative(int widthPoints);

// Paints the drawn sides of frame as solid strips along the inside of rect (device units)
// and leaves the canvas brush clear.
void paintFrame(TCanvas &canvas, const QRect &rect, const TReportFrame &frame, double xFactor,
                double yFactor);

} // namespace TDInvoice::Report
