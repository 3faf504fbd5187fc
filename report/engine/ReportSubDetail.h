// A band printed once per record of its own data (a dataset, or rows that its OnNeedData
// handler supplies), with optional header and footer bands, inside its master's loop.
#pragma once

#include "report/engine/ReportBand.h"
#include "report/engine/ReportControllerBand.h"

#include <functional>

namespace TDInvoice::Report {

class TReportDataSet;
class TReportSubDetail;

// The header and footer bands of a sub-detail, created and destroyed on request.
class TReportSubDetailBands {
public:
  explicit TReportSubDetailBands(TReportSubDetail &owner) : m_owner(owner) {}
  bool HasHeader() const;
  void setHasHeader(bool on);
  bool HasFooter() const;
  void setHasFooter(bool on);

private:
  TReportSubDetail &m_owner;
};

class TReportSubDetail : public TReportControllerBand {
public:
  // Called once per row: MoreData arrives true on the first call of a loop and false on
  // later ones; the handler sets it true when it loaded one more row.
  using TNeedDataEvent = std::function<void(QObject *Sender, bool &MoreData)>;

  explicit TReportSubDetail(QObject *owner = nullptr);
  TReportBandType BandType() const override { return TReportBandType::rbSubDetail; }

  TNeedDataEvent OnNeedData;

  TReportSubDetailBands &Bands() { return m_bands; }
  TReportDataSet *DataSet() const { return m_dataSet; }
  void setDataSet(TReportDataSet *dataSet) { m_dataSet = dataSet; }
  // Attaching makes the band a group footer or group header.
  TReportBand *FooterBand() const { return m_footerBand; }
  void setFooterBand(TReportBand *band);
  TReportBand *HeaderBand() const { return m_headerBand; }
  void setHeaderBand(TReportBand *band);
  bool PrintBefore() const { return m_printBefore; }
  void setPrintBefore(bool on) { m_printBefore = on; }
  bool PrintIfEmpty() const { return m_printIfEmpty; }
  void setPrintIfEmpty(bool on) { m_printIfEmpty = on; }

private:
  TReportSubDetailBands m_bands{*this};
  TReportDataSet *m_dataSet = nullptr;
  QPointer<TReportBand> m_footerBand;
  QPointer<TReportBand> m_headerBand;
  bool m_printBefore = false;
  bool m_printIfEmpty = true;
};

} // namespace TDInvoice::Report
