#include "report/engine/ReportChildBand.h"

#include "TDInvoice/Exceptions.h"
#include "report/engine/CustomReport.h"

namespace TDInvoice::Report {

TReportChildBand::TReportChildBand(QObject *owner) : TReportCustomBand(owner) {}

TReportBandType TReportChildBand::ruleType() const {
  // The first band up the parent chain that is not a child sets the rules; the chain has no
  // loops (setParentBand refuses them).
  const TReportCustomBand *band = m_parentBand;
  while (auto *child = dynamic_cast<const TReportChildBand *>(band))
    band = child->ParentBand();
  return band ? band->BandType() : TReportBandType::rbChild;
}

void TReportChildBand::setParentBand(TReportCustomBand *band) {
  const TReportCustomBand *b = band;
  while (b) {
    if (b == this)
      throw EReportError("Circular linking not allowed");
    auto *child = dynamic_cast<const TReportChildBand *>(b);
    b = child ? child->ParentBand() : nullptr;
  }
  m_parentBand = band;
  if (TCustomReport *r = report())
    r->bandsChanged();
}

} // namespace TDInvoice::Report
