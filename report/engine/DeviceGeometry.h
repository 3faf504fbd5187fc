// Native rectangles on the output device.
#pragma once

#include "report/output/ReportPrinter.h"

#include <QRect>

namespace TDInvoice::Report {

// The rectangle from (left, top) to (right, bottom), native units, in device units: each
// edge converted on its own, right and bottom exclusive.
inline QRect deviceRect(const TReportPrinter &printer, double left, double top, double right,
                        double bottom) {
  const int x1 = printer.xPos(left);
  const int y1 = printer.yPos(top);
  return QRect(x1, y1, printer.xPos(right) - x1, printer.yPos(bottom) - y1);
}

} // namespace TDInvoice::Report
