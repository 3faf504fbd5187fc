#include "report/preview/PreviewGeometry.h"

#include <algorithm>
#include <cmath>

namespace TDInvoice::Report {

namespace {

constexpr double kMillimetresPerInch = 25.4;

bool near(QSizeF a, QSizeF b) {
  return std::abs(a.width() - b.width()) < 1.0 && std::abs(a.height() - b.height()) < 1.0;
}

int roundedPixels(double value) { return static_cast<int>(roundHalfEven(value)); }

} // namespace

int clampZoom(int percent) { return std::clamp(percent, kMinZoom, kMaxZoom); }

int zoomFor(TZoomMode mode, QSizeF pageSize, QSize viewSize) {
  if (mode == TZoomMode::Full || pageSize.width() <= 0 || pageSize.height() <= 0)
    return 100;
  const double byWidth = viewSize.width() / pageSize.width();
  const double byHeight = viewSize.height() / pageSize.height();
  const double percent = mode == TZoomMode::Width ? byWidth * 90 : std::min(byWidth, byHeight) * 95;
  return clampZoom(static_cast<int>(roundHalfEven(percent)));
}

QSizeF screenPixels(QSizeF pageMM) { return pageMM / kMillimetresPerInch * kScreenPixelsPerInch; }

TPageImageLayout pageImageLayout(QSizeF pageSize, int zoom) {
  const int w = std::max(1, roundedPixels(pageSize.width() * zoom / 100.0));
  const int h = std::max(1, roundedPixels(pageSize.height() * zoom / 100.0));
  TPageImageLayout layout;
  layout.imageSize = QSize(w + 4, h + 4);
  layout.sheet = QRect(1, 1, w, h);
  layout.outline = QRect(0, 0, w + 2, h + 2);
  layout.shadowRight = QRect(w + 2, 2, 2, h + 2);
  layout.shadowBottom = QRect(2, h + 2, w + 2, 2);
  return layout;
}

std::optional<TPaperMatch> paperOfPage(QSizeF pageMM) {
  for (int p = int(TReportPaperSize::Letter); p < int(TReportPaperSize::Custom); ++p) {
    const auto paper = static_cast<TReportPaperSize>(p);
    const QSizeF mm = paperSizeMM(paper);
    if (near(pageMM, mm))
      return TPaperMatch{paper, TReportOrientation::poPortrait};
    if (near(pageMM, mm.transposed()))
      return TPaperMatch{paper, TReportOrientation::poLandscape};
  }
  return std::nullopt;
}

} // namespace TDInvoice::Report
