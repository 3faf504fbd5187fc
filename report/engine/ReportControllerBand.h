// A band that runs a data loop of its own through the controller it owns.
#pragma once

#include "report/engine/ReportCustomBand.h"

#include <memory>

namespace TDInvoice::Report {

class TReportController;

class TReportControllerBand : public TReportCustomBand {
public:
  explicit TReportControllerBand(QObject *owner = nullptr);
  ~TReportControllerBand() override;

  // The report or controller band whose loop runs this one (once per master record). A
  // master chain that would lead back to this band raises "Circular linking not allowed".
  TReportControl *Master() const { return m_master; }
  void setMaster(TReportControl *master);

  TReportController &controller() { return *m_controller; }

private:
  QPointer<TReportControl> m_master;
  std::unique_ptr<TReportController> m_controller;
};

} // namespace TDInvoice::Report
