// Rectangles, ellipses and lines drawn with a pen and a brush.
#pragma once

#include "report/engine/ReportPrintable.h"

namespace TDInvoice::Report {

enum class TReportShapeType {
  stRectangle,
  stCircle,
  stVertLine,
  stHorLine,
  stTopAndBottom,
  stRightAndLeft
};

class TReportShape : public TReportPrintable {
public:
  // A new shape is 65 x 65 pixels.
  explicit TReportShape(QObject *owner = nullptr);

  TReportShapeType Shape() const { return m_shape; }
  void setShape(TReportShapeType shape) { m_shape = shape; }
  // The pen width is in device units of the output and is not scaled.
  TPenSpec &Pen() { return m_pen; }
  const TPenSpec &Pen() const { return m_pen; }
  void setPen(const TPenSpec &pen) { m_pen = pen; }
  TBrushSpec &Brush() { return m_brush; }
  const TBrushSpec &Brush() const { return m_brush; }
  void setBrush(const TBrushSpec &brush) { m_brush = brush; }

  void print(double offsetX, double offsetY) override;

private:
  TReportShapeType m_shape = TReportShapeType::stRectangle;
  TPenSpec m_pen;
  TBrushSpec m_brush;
};

} // namespace TDInvoice::Report
