#include "report/engine/ReportControllerBand.h"

#include "TDInvoice/Exceptions.h"
#include "report/engine/ReportController.h"
#include "report/engine/ReportGroup.h"

namespace TDInvoice::Report {

TReportControllerBand::TReportControllerBand(QObject *owner)
    : TReportCustomBand(owner), m_controller(std::make_unique<TReportController>(this)) {}

TReportControllerBand::~TReportControllerBand() = default;

void TReportControllerBand::setMaster(TReportControl *master) {
  checkMaster(master);
  for (TReportControl *m = master; m;) {
    if (m == this)
      throw EReportError("Circular linking not allowed");
    auto *band = dynamic_cast<TReportControllerBand *>(m);
    m = band ? band->Master() : nullptr;
  }
  m_master = master;
}

} // namespace TDInvoice::Report
