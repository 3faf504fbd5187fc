// The base of every report object: a component owned by its form (QObject parent, creation
// order = component order) and placed on a visual parent (report or band) that keeps its
// controls in a list of its own order.
#pragma once

#include "report/Canvas.h"
#include "report/engine/ReportFrame.h"
#include "report/engine/ReportUnits.h"

#include <QObject>
#include <QString>
#include <vector>

namespace TDInvoice::Report {

class TCustomReport;

class TReportControl : public QObject {
public:
  explicit TReportControl(QObject *owner = nullptr);
  ~TReportControl() override;
  TReportControl(const TReportControl &) = delete;
  TReportControl &operator=(const TReportControl &) = delete;

  QString Name() const { return objectName(); }
  void setName(const QString &name) { setObjectName(name); }

  // The visual parent. position is an index into the parent's list (-1: append); a control
  // already placed is moved.
  TReportControl *parentControl() const { return m_parent; }
  void setParentControl(TReportControl *parent, int position = -1);
  const std::vector<TReportControl *> &controls() const { return m_controls; }

  // The report this control belongs to: itself, or the first report up the visual chain.
  TCustomReport *report() const;
  // This control as a report (no cast needed on the hot paths).
  virtual TCustomReport *asReport() { return nullptr; }
  virtual const TCustomReport *asReport() const { return nullptr; }

  // The font in use: the visual parent's while ParentFont is set. Setting a font clears
  // ParentFont.
  const TFontSpec &Font() const;
  void setFont(const TFontSpec &font);
  bool ParentFont() const { return m_parentFont; }
  void setParentFont(bool on);

  TReportFrame &Frame() { return m_frame; }
  const TReportFrame &Frame() const { return m_frame; }
  void setFrame(const TReportFrame &frame) { m_frame = frame; }

  // Zoom, screen resolution and font size for unit conversions, taken from the report.
  virtual TUnitContext unitContext() const;
  // While loading (a layout being applied), a control does not react to its own property
  // changes; endLoading lets it settle once, with every property in place.
  void beginLoading() { m_loading = true; }
  void endLoading();
  bool loading() const { return m_loading; }

  // The control's size object, if it has one.
  virtual class TReportSizeBase *sizeObject() { return nullptr; }
  // A size object of this control changed value index (-1: several values).
  virtual void sizeChanged(int index) { (void)index; }

protected:
  // The font in use changed (own font, ParentFont or a parent's font).
  virtual void fontChanged() {}
  virtual void controlsChanged() {}
  // Loading ended.
  virtual void loaded() {}

private:
  void detachFromParent();
  void notifyFontChanged();

  TReportControl *m_parent = nullptr;
  std::vector<TReportControl *> m_controls;
  TFontSpec m_font;
  bool m_parentFont = true;
  bool m_loading = false;
  TReportFrame m_frame;
};

} // namespace TDInvoice::Report
