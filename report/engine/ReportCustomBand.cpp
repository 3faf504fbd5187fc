#include "report/engine/ReportCustomBand.h"

#include "TDInvoice/Exceptions.h"
#include "report/engine/CustomReport.h"
#include "report/engine/ReportChildBand.h"
#include "report/engine/ReportPrintable.h"
#include "report/engine/ReportRunner.h"

namespace TDInvoice::Report {

TReportCustomBand::TReportCustomBand(QObject *owner) : TReportControl(owner), m_size(this) {}

TReportCustomBand::~TReportCustomBand() = default;

void TReportCustomBand::setLinkBand(TReportCustomBand *band) {
  for (TReportCustomBand *b = band; b; b = b->LinkBand())
    if (b == this)
      throw EReportError("Circular linking not allowed");
  m_linkBand = band;
}

TReportChildBand *TReportCustomBand::ChildBand() const {
  const TCustomReport *r = report();
  if (!r)
    return nullptr;
  for (TReportCustomBand *band : r->bandList())
    if (auto *child = dynamic_cast<TReportChildBand *>(band); child && child->ParentBand() == this)
      return child;
  return nullptr;
}

void TReportCustomBand::setHasChild(bool on) {
  TReportChildBand *existing = ChildBand();
  if (on && !existing) {
    auto *child = new TReportChildBand(parent());
    child->setParentBand(this);
    TReportControl *host = parentControl();
    int position = -1;
    if (host) {
      const auto &list = host->controls();
      for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == this)
          position = static_cast<int>(i) + 1;
    }
    child->setParentControl(host, position);
  } else if (!on && existing) {
    delete existing;
  }
}

int TReportCustomBand::Width() const {
  return static_cast<int>(roundHalfEven(
      unitFromNative(width(), TReportUnit::Pixels, TReportAxis::Horizontal, unitContext())));
}

int TReportCustomBand::Height() const {
  return static_cast<int>(roundHalfEven(
      unitFromNative(length(), TReportUnit::Pixels, TReportAxis::Vertical, unitContext())));
}

void TReportCustomBand::setWidth(int pixels) {
  m_size.setNativeValue(
      TReportBandSize::WidthIndex,
      nativeFromUnit(pixels, TReportUnit::Pixels, TReportAxis::Horizontal, unitContext()));
}

void TReportCustomBand::setHeight(int pixels) {
  m_size.setNativeValue(
      TReportBandSize::LengthIndex,
      nativeFromUnit(pixels, TReportUnit::Pixels, TReportAxis::Vertical, unitContext()));
}

void TReportCustomBand::setDesignPosition(int left, int top) {
  m_left = left;
  m_top = top;
}

std::vector<TReportPrintable *> TReportCustomBand::printables() const {
  std::vector<TReportPrintable *> result;
  for (TReportControl *c : controls())
    if (auto *p = dynamic_cast<TReportPrintable *>(c))
      result.push_back(p);
  return result;
}

bool TReportCustomBand::requestExpansion(TReportPrintable &printable, double h) {
  TCustomReport *r = report();
  TReportRunner *runner = r ? r->runner() : nullptr;
  return runner && runner->requestExpansion(*this, printable, h);
}

void TReportCustomBand::sizeChanged(int index) {
  // The width is the report's to set; a new length restacks the design surface.
  if (index == TReportBandSize::WidthIndex)
    return;
  if (TCustomReport *r = report())
    r->bandsChanged();
}

} // namespace TDInvoice::Report
