// Look-up of a report's special bands: the first band of each type in the band list.
#pragma once

#include "report/engine/ReportCustomBand.h"

namespace TDInvoice::Report {

class TCustomReport;

class TReportBands {
public:
  explicit TReportBands(const TCustomReport &report) : m_report(report) {}

  TReportCustomBand *firstOfType(TReportBandType type) const;
  TReportCustomBand *TitleBand() const { return firstOfType(TReportBandType::rbTitle); }
  TReportCustomBand *PageHeaderBand() const { return firstOfType(TReportBandType::rbPageHeader); }
  TReportCustomBand *ColumnHeaderBand() const {
    return firstOfType(TReportBandType::rbColumnHeader);
  }
  TReportCustomBand *DetailBand() const { return firstOfType(TReportBandType::rbDetail); }
  TReportCustomBand *PageFooterBand() const { return firstOfType(TReportBandType::rbPageFooter); }
  TReportCustomBand *SummaryBand() const { return firstOfType(TReportBandType::rbSummary); }

private:
  const TCustomReport &m_report;
};

} // namespace TDInvoice::Report
