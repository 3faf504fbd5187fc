#include "report/engine/ReportBand.h"

#include "report/engine/CustomReport.h"

namespace TDInvoice::Report {

TReportBand::TReportBand(QObject *owner, TReportBandType type)
    : TReportCustomBand(owner), m_type(type) {}

void TReportBand::setBandType(TReportBandType type) {
  if (type == m_type)
    return;
  m_type = type;
  if (TCustomReport *r = report())
    r->bandsChanged(); // full or column width follows the type
}

} // namespace TDInvoice::Report
