#include "report/engine/ReportFrame.h"

#include "report/ReportTypes.h"

#include <algorithm>

namespace TDInvoice::Report {

int frameThickness(int widthPoints, double factor) {
  if (widthPoints == -1)
    return 1;
  if (widthPoints <= 0)
    return 0;
  const auto dots = roundHalfEven(widthPoints / 72.0 * kNativePerInch * factor);
  return static_cast<int>(std::max<long long>(1, dots));
}

int frameOffsetNative(int widthPoints) {
  return static_cast<int>(roundHalfEven(widthPoints / 72.0 * kNativePerInch));
}

void paintFrame(TCanvas &canvas, const QRect &rect, const TReportFrame &frame, double xFactor,
                double yFactor) {
  if (!frame.anySide())
    return;
  const int across = frameThickness(frame.Width, xFactor);
  const int down = frameThickness(frame.Width, yFactor);
  const int left = rect.left();
  const int top = rect.top();
  const int right = rect.left() + rect.width();
  const int bottom = rect.top() + rect.height();
  canvas.Brush = TBrushSpec{frame.Color, true};
  if (down > 0 && frame.DrawTop)
    canvas.fillRect(QRect(left, top, right - left, down));
  if (down > 0 && frame.DrawBottom)
    canvas.fillRect(QRect(left, bottom - down, right - left, down));
  if (across > 0 && frame.DrawLeft)
    canvas.fillRect(QRect(left, top, across, bottom - top));
  if (across > 0 && frame.DrawRight)
    canvas.fillRect(QRect(right - across, top, across, bottom - top));
  canvas.Brush.solid = false;
}

} // namespace TDInvoice::Report
