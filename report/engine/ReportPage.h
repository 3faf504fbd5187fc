// The page description of a report: paper, orientation, margins and columns.
#pragma once

#include "report/ReportTypes.h"
#include "report/engine/ReportSize.h"

namespace TDInvoice::Report {

class TReportPage : public TReportSizeBase {
public:
  // Values are stored in this order.
  enum Index {
    BottomMarginIndex = 0,
    LengthIndex = 1,
    TopMarginIndex = 2,
    WidthIndex = 3,
    LeftMarginIndex = 4,
    RightMarginIndex = 5,
    ColumnSpaceIndex = 6
  };

  explicit TReportPage(TReportControl *owner);

  double BottomMargin() const { return value(BottomMarginIndex); }
  void setBottomMargin(double v) { setValue(BottomMarginIndex, v); }
  // Length and Width can only be written while PaperSize is Custom.
  double Length() const { return value(LengthIndex); }
  void setLength(double v) { setValue(LengthIndex, v); }
  double TopMargin() const { return value(TopMarginIndex); }
  void setTopMargin(double v) { setValue(TopMarginIndex, v); }
  double Width() const { return value(WidthIndex); }
  void setWidth(double v) { setValue(WidthIndex, v); }
  double LeftMargin() const { return value(LeftMarginIndex); }
  void setLeftMargin(double v) { setValue(LeftMarginIndex, v); }
  double RightMargin() const { return value(RightMarginIndex); }
  void setRightMargin(double v) { setValue(RightMarginIndex, v); }
  double ColumnSpace() const { return value(ColumnSpaceIndex); }
  void setColumnSpace(double v) { setValue(ColumnSpaceIndex, v); }

  // A paper of the table fills Width and Length (swapped for landscape); Default and Custom
  // keep the stored values.
  TReportPaperSize PaperSize() const { return m_paperSize; }
  void setPaperSize(TReportPaperSize paper);
  TReportOrientation Orientation() const { return m_orientation; }
  void setOrientation(TReportOrientation orientation);
  int Columns() const { return m_columns; }
  void setColumns(int columns); // values below 1 are ignored
  bool Ruler() const { return m_ruler; }
  void setRuler(bool on) { m_ruler = on; }

protected:
  bool writable(int index) const override;

private:
  void applyPaper();

  TReportPaperSize m_paperSize = TReportPaperSize::A4;
  TReportOrientation m_orientation = TReportOrientation::poPortrait;
  int m_columns = 1;
  bool m_ruler = true;
};

} // namespace TDInvoice::Report
