// A band of a given type: title, page header, detail, footers and so on.
#pragma once

#include "report/engine/ReportCustomBand.h"

namespace TDInvoice::Report {

class TReportBand : public TReportCustomBand {
public:
  explicit TReportBand(QObject *owner = nullptr, TReportBandType type = TReportBandType::rbTitle);
  TReportBandType BandType() const override { return m_type; }
  void setBandType(TReportBandType type);

private:
  TReportBandType m_type;
};

} // namespace TDInvoice::Report
