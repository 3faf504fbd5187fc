// The preview's geometry without any widget: zoom percentages for the three zoom modes, the
// size of the page image and where the sheet, outline and shadow lie in it, and the paper of
// a recorded page's size.
#pragma once

#include "report/ReportTypes.h"

#include <QRect>
#include <QSize>
#include <QSizeF>
#include <optional>

namespace TDInvoice::Report {

enum class TZoomMode { Fit, Full, Width };

constexpr int kMinZoom = 2;
constexpr int kMaxZoom = 2000;

int clampZoom(int percent);
// Percentages for a view of viewSize pixels showing a page of pageSize screen pixels (at
// 100 %), rounded and clamped: fit takes the smaller of the two ratios x 95, width the
// horizontal ratio x 90, full is 100.
int zoomFor(TZoomMode mode, QSizeF pageSize, QSize viewSize);

// A page of pageMM millimetres in screen pixels at 100 %.
QSizeF screenPixels(QSizeF pageMM);

// The page image: the paper at zoom percent plus 4 pixels, which hold a 1-pixel outline on
// every side and a 2-pixel shadow along the right and bottom edges.
struct TPageImageLayout {
  QSize imageSize;
  QRect sheet;   // the paper itself, inside the outline
  QRect outline; // drawn as a 1-pixel frame around the sheet
  QRect shadowRight;
  QRect shadowBottom;
};
TPageImageLayout pageImageLayout(QSizeF pageSize, int zoom);

// The paper of the engine's table that a page of pageMM millimetres is printed on, in either
// orientation (1 mm tolerance, for pages recorded in whole device units).
struct TPaperMatch {
  TReportPaperSize paper;
  TReportOrientation orientation;
};
std::optional<TPaperMatch> paperOfPage(QSizeF pageMM);

} // namespace TDInvoice::Report
