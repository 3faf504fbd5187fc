#include "report/engine/ReportUnits.h"

#include <cmath>

namespace TDInvoice::Report {

namespace {

// Native units per character cell at point size s: 80 / s / 2.54 across, 145.3 / s / 2.54
// down, in millimetres.
double characterMM(TReportAxis axis, double fontSize) {
  double size = std::abs(fontSize);
  if (size == 0)
    size = 12; // the panel's default font size; avoids dividing by zero
  const double base = axis == TReportAxis::Horizontal ? 80.0 : 145.3;
  return base / size / 2.54;
}

double zoomOf(const TUnitContext &context) { return context.zoom > 0 ? context.zoom : 100; }

double ppiOf(const TUnitContext &context) {
  return context.pixelsPerInch > 0 ? context.pixelsPerInch : kScreenPixelsPerInch;
}

} // namespace

double unitFromNative(double native, TReportUnit unit, TReportAxis axis,
                      const TUnitContext &context) {
  switch (unit) {
  case TReportUnit::MM:
    return native / 10.0;
  case TReportUnit::Inches:
    return native / kNativePerInch;
  case TReportUnit::Pixels:
    return native / (kNativePerInch / ppiOf(context)) * zoomOf(context) / 100.0;
  case TReportUnit::Characters:
    return native / characterMM(axis, context.fontSize) / 10.0;
  case TReportUnit::Native:
    break;
  }
  return native;
}

double nativeFromUnit(double value, TReportUnit unit, TReportAxis axis,
                      const TUnitContext &context) {
  switch (unit) {
  case TReportUnit::MM:
    return value * 10.0;
  case TReportUnit::Inches:
    return value * kNativePerInch;
  case TReportUnit::Pixels:
    return value * kNativePerInch / ppiOf(context) * 100.0 / zoomOf(context);
  case TReportUnit::Characters:
    return value * 10.0 * characterMM(axis, context.fontSize);
  case TReportUnit::Native:
    break;
  }
  return value;
}

} // namespace TDInvoice::Report
