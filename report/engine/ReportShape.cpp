#include "report/engine/ReportShape.h"

#include "report/output/ReportPrinter.h"

namespace TDInvoice::Report {

TReportShape::TReportShape(QObject *owner) : TReportPrintable(owner) {
  const double side = nativeFromPixels(65);
  setNativeBox(0, 0, side, side);
}

void TReportShape::print(double offsetX, double offsetY) {
  setFinished(true);
  setProgressed(true);
  TReportPrinter *device = printer();
  if (!device)
    return;
  TCanvas &canvas = device->canvas();
  canvas.Pen = m_pen;
  canvas.Brush = m_brush;
  const double left = offsetX + nativeLeft();
  const double top = offsetY + nativeTop();
  const double right = left + nativeWidth();
  const double bottom = top + nativeHeight();
  auto point = [device](double x, double y) { return QPoint(device->xPos(x), device->yPos(y)); };
  switch (m_shape) {
  case TReportShapeType::stRectangle:
    canvas.rectangle(deviceRect(left, top, right, bottom));
    break;
  case TReportShapeType::stCircle:
    canvas.ellipse(deviceRect(left, top, right, bottom));
    break;
  case TReportShapeType::stVertLine: {
    const double x = left + nativeWidth() / 2;
    canvas.line(point(x, top), point(x, bottom));
    break;
  }
  case TReportShapeType::stHorLine: {
    const double y = top + nativeHeight() / 2;
    canvas.line(point(left, y), point(right, y));
    break;
  }
  case TReportShapeType::stTopAndBottom:
    canvas.line(point(left, top), point(right, top));
    canvas.line(point(left, bottom), point(right, bottom));
    break;
  case TReportShapeType::stRightAndLeft:
    canvas.line(point(left, top), point(left, bottom));
    canvas.line(point(right, top), point(right, bottom));
    break;
  }
}

} // namespace TDInvoice::Report
