#include "report/engine/ReportPrintable.h"

#include "report/engine/CustomReport.h"
#include "report/engine/DeviceGeometry.h"
#include "report/engine/ReportCustomBand.h"
#include "report/engine/ReportRunner.h"
#include "report/output/ReportPrinter.h"

namespace TDInvoice::Report {

namespace {

int toPixels(const TReportControl &control, double native, TReportAxis axis) {
  return static_cast<int>(
      roundHalfEven(unitFromNative(native, TReportUnit::Pixels, axis, control.unitContext())));
}

double fromPixels(const TReportControl &control, int pixels, TReportAxis axis) {
  return nativeFromUnit(pixels, TReportUnit::Pixels, axis, control.unitContext());
}

} // namespace

TReportPrintable::TReportPrintable(QObject *owner) : TReportControl(owner), m_size(this) {}

void TReportPrintable::setNativeBox(double left, double top, double width, double height) {
  m_size.setValues({height, left, top, width});
}

int TReportPrintable::Left() const {
  return toPixels(*this, nativeLeft(), TReportAxis::Horizontal);
}
int TReportPrintable::Top() const { return toPixels(*this, nativeTop(), TReportAxis::Vertical); }
int TReportPrintable::Width() const {
  return toPixels(*this, nativeWidth(), TReportAxis::Horizontal);
}
int TReportPrintable::Height() const {
  return toPixels(*this, nativeHeight(), TReportAxis::Vertical);
}

void TReportPrintable::setLeft(int pixels) {
  m_size.setNativeValue(TReportPrintableSize::LeftIndex,
                        fromPixels(*this, pixels, TReportAxis::Horizontal));
}
void TReportPrintable::setTop(int pixels) {
  m_size.setNativeValue(TReportPrintableSize::TopIndex,
                        fromPixels(*this, pixels, TReportAxis::Vertical));
}
void TReportPrintable::setWidth(int pixels) {
  m_size.setNativeValue(TReportPrintableSize::WidthIndex,
                        fromPixels(*this, pixels, TReportAxis::Horizontal));
}
void TReportPrintable::setHeight(int pixels) {
  m_size.setNativeValue(TReportPrintableSize::HeightIndex,
                        fromPixels(*this, pixels, TReportAxis::Vertical));
}

TReportCustomBand *TReportPrintable::parentBand() const {
  return dynamic_cast<TReportCustomBand *>(parentControl());
}

bool TReportPrintable::requestExpansion(double h) {
  TReportCustomBand *band = parentBand();
  return band && band->requestExpansion(*this, h);
}

TReportPrinter *TReportPrintable::printer() const {
  TCustomReport *r = report();
  TReportRunner *runner = r ? r->runner() : nullptr;
  return runner ? &runner->printer() : nullptr;
}

QRect TReportPrintable::deviceRect(double left, double top, double right, double bottom) const {
  const TReportPrinter *device = printer();
  return device ? Report::deviceRect(*device, left, top, right, bottom) : QRect();
}

} // namespace TDInvoice::Report
