// A control placed on a band (or straight on the report) that draws itself when its band
// prints.
#pragma once

#include "report/engine/ReportControl.h"
#include "report/engine/ReportSize.h"

#include <QRect>

namespace TDInvoice::Report {

class TReportCustomBand;
class TReportPrinter;

class TReportPrintable : public TReportControl {
public:
  explicit TReportPrintable(QObject *owner = nullptr);

  bool Enabled() const { return m_enabled; }
  void setEnabled(bool on) { m_enabled = on; }

  TReportPrintableSize &Size() { return m_size; }
  const TReportPrintableSize &Size() const { return m_size; }
  TReportSizeBase *sizeObject() override { return &m_size; }
  double nativeLeft() const { return m_size.nativeValue(TReportPrintableSize::LeftIndex); }
  double nativeTop() const { return m_size.nativeValue(TReportPrintableSize::TopIndex); }
  double nativeWidth() const { return m_size.nativeValue(TReportPrintableSize::WidthIndex); }
  double nativeHeight() const { return m_size.nativeValue(TReportPrintableSize::HeightIndex); }
  void setNativeBox(double left, double top, double width, double height);

  // The pixel rectangle at the report's zoom; setting a pixel value recomputes the native
  // value from it (242 px become 640.2916... native at 96 ppi and zoom 100).
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void setLeft(int pixels);
  void setTop(int pixels);
  void setWidth(int pixels);
  void setHeight(int pixels);

  // The band the printable sits on, or nullptr when it sits on the report.
  TReportCustomBand *parentBand() const;

  // Printing: offsets are the band's position (native units). finished() tells whether the
  // last print drew everything; an unfinished printable continues on its band's next page.
  virtual void prepare() {}
  virtual void unprepare() {}
  virtual void print(double offsetX, double offsetY) = 0;
  bool finished() const { return m_finished; }
  // Whether the last print drew anything new (an unfinished printable that makes no
  // progress on a fresh page would otherwise repeat forever).
  bool progressed() const { return m_progressed; }
  // Gives up what remains (used when nothing more can be placed).
  virtual void abandon() { m_finished = true; }
  virtual void masterDataAdvanced() {}

  // Expansion bookkeeping of the current band print, kept by the band.
  void resetExpansion() {
    m_expanded = false;
    m_bandExpansion = 0;
  }
  bool hasExpanded() const { return m_expanded; }
  double bandExpansion() const { return m_bandExpansion; }
  void learnExpansion(double expansion) {
    m_expanded = true;
    m_bandExpansion = expansion;
  }

protected:
  void setFinished(bool finished) { m_finished = finished; }
  void setProgressed(bool progressed) { m_progressed = progressed; }
  // Asks the band for h more native units; false when refused or not on a running band.
  bool requestExpansion(double h);
  // The running report's output device, or nullptr.
  TReportPrinter *printer() const;
  // A native rectangle in device units of the running device.
  QRect deviceRect(double left, double top, double right, double bottom) const;

private:
  TReportPrintableSize m_size;
  bool m_enabled = true;
  bool m_finished = true;
  bool m_progressed = true;
  bool m_expanded = false;
  double m_bandExpansion = 0;
};

} // namespace TDInvoice::Report
