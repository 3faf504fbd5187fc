// A band printed right after its parent band, whether or not the parent printed.
#pragma once

#include "report/engine/ReportCustomBand.h"

namespace TDInvoice::Report {

class TReportChildBand : public TReportCustomBand {
public:
  explicit TReportChildBand(QObject *owner = nullptr);
  TReportBandType BandType() const override { return TReportBandType::rbChild; }
  TReportBandType ruleType() const override;

  TReportCustomBand *ParentBand() const { return m_parentBand; }
  // A parent chain that would lead back to this band raises "Circular linking not allowed".
  void setParentBand(TReportCustomBand *band);

private:
  QPointer<TReportCustomBand> m_parentBand;
};

} // namespace TDInvoice::Report
