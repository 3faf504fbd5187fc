// Units in which report lengths are read and written. Every length is held in native units
// (tenths of a millimetre); a unit only changes how a property presents it.
#pragma once

#include "report/ReportTypes.h"

namespace TDInvoice::Report {

enum class TReportUnit : int { MM, Inches, Pixels, Characters, Native };

// Characters convert differently across and down the page.
enum class TReportAxis { Horizontal, Vertical };

// What a conversion depends on: the screen's pixels per inch and the zoom percentage (Pixels)
// and the report font's point size (Characters).
struct TUnitContext {
  int pixelsPerInch = kScreenPixelsPerInch;
  int zoom = 100;
  double fontSize = 10;
};

double unitFromNative(double native, TReportUnit unit, TReportAxis axis,
                      const TUnitContext &context = {});
double nativeFromUnit(double value, TReportUnit unit, TReportAxis axis,
                      const TUnitContext &context = {});

} // namespace TDInvoice::Report
