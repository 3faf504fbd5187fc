// A group header band: prints whenever the value of its expression changes, and its footer
// band when the group ends.
#pragma once

#include "report/engine/ReportBand.h"
#include "report/engine/ReportCustomBand.h"
#include "report/engine/ReportExpression.h"

#include <optional>

namespace TDInvoice::Report {

class TReportGroup : public TReportCustomBand {
public:
  explicit TReportGroup(QObject *owner = nullptr);
  TReportBandType BandType() const override { return TReportBandType::rbGroupHeader; }

  QString Expression() const { return m_expression; }
  void setExpression(const QString &expression) { m_expression = expression; }
  // Attaching a footer band makes it a group footer.
  TReportBand *FooterBand() const { return m_footerBand; }
  void setFooterBand(TReportBand *band);
  // The report or controller band whose data loop the group belongs to.
  TReportControl *Master() const { return m_master; }
  void setMaster(TReportControl *master);
  bool ReprintOnNewPage() const { return m_reprintOnNewPage; }
  void setReprintOnNewPage(bool on) { m_reprintOnNewPage = on; }

  // Run state.
  struct TGroupState {
    std::optional<TReportValue> value; // empty: no stored value
    bool changed = false;
    bool inGroup = false;
    int headerPage = 0;
  };
  TGroupState &state() { return m_state; }
  TReportExpression &evaluator() { return m_evaluator; }
  // Evaluates the expression, stores the value and reports whether it differs from the
  // stored one (always when there was none).
  bool evaluate();

private:
  QString m_expression;
  QPointer<TReportBand> m_footerBand;
  QPointer<TReportControl> m_master;
  bool m_reprintOnNewPage = false;
  TGroupState m_state;
  TReportExpression m_evaluator;
};

// Checks that master can drive a data loop (a report or a controller band); raises
// EReportError otherwise.
void checkMaster(TReportControl *master);

} // namespace TDInvoice::Report
