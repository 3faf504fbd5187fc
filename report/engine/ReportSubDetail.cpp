#include "report/engine/ReportSubDetail.h"

#include "report/engine/ReportBand.h"

namespace TDInvoice::Report {

namespace {

// A new header or footer band goes next to the sub-detail in the band list.
TReportBand *createBandNextTo(TReportSubDetail &subDetail, TReportBandType type, int offset) {
  auto *band = new TReportBand(subDetail.parent(), type);
  band->setName(subDetail.Name() + (type == TReportBandType::rbGroupHeader
                                        ? QStringLiteral("Header")
                                        : QStringLiteral("Footer")));
  TReportControl *host = subDetail.parentControl();
  int position = -1;
  if (host) {
    const auto &list = host->controls();
    for (std::size_t i = 0; i < list.size(); ++i)
      if (list[i] == &subDetail)
        position = static_cast<int>(i) + offset;
  }
  band->setParentControl(host, position);
  return band;
}

} // namespace

bool TReportSubDetailBands::HasHeader() const { return m_owner.HeaderBand() != nullptr; }

void TReportSubDetailBands::setHasHeader(bool on) {
  if (on && !HasHeader())
    m_owner.setHeaderBand(createBandNextTo(m_owner, TReportBandType::rbGroupHeader, 0));
  else if (!on && HasHeader())
    delete m_owner.HeaderBand();
}

bool TReportSubDetailBands::HasFooter() const { return m_owner.FooterBand() != nullptr; }

void TReportSubDetailBands::setHasFooter(bool on) {
  if (on && !HasFooter())
    m_owner.setFooterBand(createBandNextTo(m_owner, TReportBandType::rbGroupFooter, 1));
  else if (!on && HasFooter())
    delete m_owner.FooterBand();
}

TReportSubDetail::TReportSubDetail(QObject *owner) : TReportControllerBand(owner) {}

void TReportSubDetail::setFooterBand(TReportBand *band) {
  m_footerBand = band;
  if (band)
    band->setBandType(TReportBandType::rbGroupFooter);
}

void TReportSubDetail::setHeaderBand(TReportBand *band) {
  m_headerBand = band;
  if (band)
    band->setBandType(TReportBandType::rbGroupHeader);
}

} // namespace TDInvoice::Report
