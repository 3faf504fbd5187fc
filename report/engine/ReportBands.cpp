#include "report/engine/ReportBands.h"

#include "report/engine/CustomReport.h"

namespace TDInvoice::Report {

TReportCustomBand *TReportBands::firstOfType(TReportBandType type) const {
  for (TReportCustomBand *band : m_report.bandList())
    if (band->BandType() == type)
      return band;
  return nullptr;
}

} // namespace TDInvoice::Report
