// A horizontal band of a report: printables placed on it print together, one band height
// (plus whatever its stretching printables add) at a time.
#pragma once

#include "report/engine/ReportControl.h"
#include "report/engine/ReportSize.h"

#include <QPointer>
#include <QRect>
#include <functional>
#include <vector>

namespace TDInvoice::Report {

enum class TReportBandType : int {
  rbTitle,
  rbPageHeader,
  rbDetail,
  rbPageFooter,
  rbSummary,
  rbGroupHeader,
  rbGroupFooter,
  rbSubDetail,
  rbColumnHeader,
  rbOverlay,
  rbChild
};

class TReportChildBand;
class TReportController;
class TReportPrintable;

class TReportCustomBand : public TReportControl {
public:
  // PrintBand arrives preset to Enabled; false skips this print of the band.
  using TBeforePrintEvent = std::function<void(TReportCustomBand *Sender, bool &PrintBand)>;
  using TAfterPrintEvent = std::function<void(TReportCustomBand *Sender, bool BandPrinted)>;

  explicit TReportCustomBand(QObject *owner = nullptr);
  ~TReportCustomBand() override;

  virtual TReportBandType BandType() const = 0;
  // The type whose rules the band follows: a child band takes its parent chain's.
  virtual TReportBandType ruleType() const { return BandType(); }

  TBeforePrintEvent BeforePrint;
  TAfterPrintEvent AfterPrint;

  bool AlignToBottom() const { return m_alignToBottom; }
  void setAlignToBottom(bool on) { m_alignToBottom = on; }
  QRgb Color() const { return m_color; }
  void setColor(QRgb color) { m_color = color; }
  bool Enabled() const { return m_enabled; }
  void setEnabled(bool on) { m_enabled = on; }
  bool ForceNewColumn() const { return m_forceNewColumn; }
  void setForceNewColumn(bool on) { m_forceNewColumn = on; }
  bool ForceNewPage() const { return m_forceNewPage; }
  void setForceNewPage(bool on) { m_forceNewPage = on; }

  // The band whose height counts when deciding whether this one fits. A link that would
  // close a loop raises EReportError "Circular linking not allowed".
  TReportCustomBand *LinkBand() const { return m_linkBand; }
  void setLinkBand(TReportCustomBand *band);

  // The first child band of the report's band list whose ParentBand is this band.
  TReportChildBand *ChildBand() const;
  bool HasChild() const { return ChildBand() != nullptr; }
  // Creates a child band right after this one in the band list, or destroys the child.
  void setHasChild(bool on);

  TReportBandSize &Size() { return m_size; }
  const TReportBandSize &Size() const { return m_size; }
  double length() const { return m_size.nativeValue(TReportBandSize::LengthIndex); }
  double width() const { return m_size.nativeValue(TReportBandSize::WidthIndex); }

  // The pixel rectangle at the report's zoom. Setting the height or width in pixels
  // recomputes the native size from it.
  int Left() const { return m_left; }
  int Top() const { return m_top; }
  int Width() const;
  int Height() const;
  void setWidth(int pixels);
  void setHeight(int pixels);
  void setDesignPosition(int left, int top);

  // The enabled and disabled printables placed on the band, in list order.
  std::vector<TReportPrintable *> printables() const;

  // Run state: expansion added by stretching printables during the current print, and the
  // band's rectangle on the page in device units.
  double expansion() const { return m_expansion; }
  void setExpansion(double expansion) { m_expansion = expansion; }
  QRect printRect() const { return m_printRect; }
  void setPrintRect(const QRect &rect) { m_printRect = rect; }
  // Asks the running report for h more native units of band length for printable.
  bool requestExpansion(TReportPrintable &printable, double h);
  // The controller whose printables learn that the master data advanced when this band
  // prints (the detail band of a running controller).
  TReportController *notifyController() const { return m_notifyController; }
  void setNotifyController(TReportController *controller) { m_notifyController = controller; }

  TReportSizeBase *sizeObject() override { return &m_size; }
  void sizeChanged(int index) override;

private:
  TReportBandSize m_size;
  QPointer<TReportCustomBand> m_linkBand;
  bool m_alignToBottom = false;
  bool m_enabled = true;
  bool m_forceNewColumn = false;
  bool m_forceNewPage = false;
  QRgb m_color = qRgb(255, 255, 255);
  int m_left = 0;
  int m_top = 0;
  double m_expansion = 0;
  QRect m_printRect;
  TReportController *m_notifyController = nullptr;
};

} // namespace TDInvoice::Report
