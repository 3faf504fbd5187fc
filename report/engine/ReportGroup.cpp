#include "report/engine/ReportGroup.h"

#include "TDInvoice/Exceptions.h"
#include "report/engine/CustomReport.h"
#include "report/engine/ReportBand.h"
#include "report/engine/ReportControllerBand.h"

namespace TDInvoice::Report {

void checkMaster(TReportControl *master) {
  if (master && !dynamic_cast<TCustomReport *>(master) &&
      !dynamic_cast<TReportControllerBand *>(master))
    throw EReportError("A master must be a report or a controller band");
}

TReportGroup::TReportGroup(QObject *owner) : TReportCustomBand(owner) {}

void TReportGroup::setFooterBand(TReportBand *band) {
  m_footerBand = band;
  if (band)
    band->setBandType(TReportBandType::rbGroupFooter);
}

void TReportGroup::setMaster(TReportControl *master) {
  checkMaster(master);
  m_master = master;
}

bool TReportGroup::evaluate() {
  TReportValue current = m_evaluator.value();
  const bool changed = !m_state.value || !sameValue(*m_state.value, current);
  if (changed)
    m_state.value = std::move(current);
  return changed;
}

} // namespace TDInvoice::Report
