// Size objects: ordered lists of native values, read and written through a unit.
#pragma once

#include "report/engine/ReportUnits.h"

#include <vector>

namespace TDInvoice::Report {

class TReportControl;

class TReportSizeBase {
public:
  virtual ~TReportSizeBase() = default;
  TReportSizeBase(const TReportSizeBase &) = delete;
  TReportSizeBase &operator=(const TReportSizeBase &) = delete;

  // The stored native values, in the layout's order.
  const std::vector<double> &Values() const { return m_values; }
  void setValues(const std::vector<double> &values);
  double nativeValue(int index) const;
  void setNativeValue(int index, double native);

  TReportUnit Units() const { return m_units; }
  void setUnits(TReportUnit units) { m_units = units; }
  // Remembers the unit so that a run can switch to another one and back.
  void saveUnits() { m_savedUnits = m_units; }
  void restoreUnits() { m_units = m_savedUnits; }

  // Value index converted to and from Units.
  double value(int index) const;
  void setValue(int index, double value);

protected:
  TReportSizeBase(TReportControl *owner, std::vector<TReportAxis> axes);
  // Whether a write of index through the object interface is taken.
  virtual bool writable(int index) const {
    (void)index;
    return true;
  }
  virtual void changed(int index);
  TUnitContext context() const;

private:
  TReportControl *m_owner;
  std::vector<TReportAxis> m_axes;
  std::vector<double> m_values;
  TReportUnit m_units = TReportUnit::MM;
  TReportUnit m_savedUnits = TReportUnit::MM;
};

// A band's length and width: Values are (length, width).
class TReportBandSize : public TReportSizeBase {
public:
  enum Index { LengthIndex = 0, WidthIndex = 1 };
  explicit TReportBandSize(TReportControl *owner);
  double Height() const { return value(LengthIndex); }
  void setHeight(double v) { setValue(LengthIndex, v); }
  double Width() const { return value(WidthIndex); }
  void setWidth(double v) { setValue(WidthIndex, v); }
};

// A printable's box relative to its band: Values are (height, left, top, width).
class TReportPrintableSize : public TReportSizeBase {
public:
  enum Index { HeightIndex = 0, LeftIndex = 1, TopIndex = 2, WidthIndex = 3 };
  explicit TReportPrintableSize(TReportControl *owner);
  double Height() const { return value(HeightIndex); }
  void setHeight(double v) { setValue(HeightIndex, v); }
  double Left() const { return value(LeftIndex); }
  void setLeft(double v) { setValue(LeftIndex, v); }
  double Top() const { return value(TopIndex); }
  void setTop(double v) { setValue(TopIndex, v); }
  double Width() const { return value(WidthIndex); }
  void setWidth(double v) { setValue(WidthIndex, v); }
};

} // namespace TDInvoice::Report
