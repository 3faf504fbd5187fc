#include "report/engine/CustomReport.h"

#include "report/engine/ReportBand.h"
#include "report/engine/ReportChildBand.h"
#include "report/engine/ReportRunner.h"
#include "report/output/ReportPrinter.h"

#include <QLocale>

namespace TDInvoice::Report {

namespace {

bool fullWidthType(TReportBandType type) {
  switch (type) {
  case TReportBandType::rbTitle:
  case TReportBandType::rbPageHeader:
  case TReportBandType::rbPageFooter:
  case TReportBandType::rbSummary:
  case TReportBandType::rbOverlay:
    return true;
  default:
    return false; // group bands too: columns always print column by column here
  }
}

void forEachSize(TReportControl &control, const std::function<void(TReportSizeBase &)> &apply) {
  if (TReportSizeBase *size = control.sizeObject())
    apply(*size);
  for (TReportControl *child : control.controls())
    forEachSize(*child, apply);
}

} // namespace

TCustomReport::TCustomReport(QObject *owner)
    : TReportControl(owner), m_page(this), m_bands(*this), m_controller(this) {
  setFont(TFontSpec{});
  const bool metric = QLocale::system().measurementSystem() == QLocale::MetricSystem;
  const double margin = metric ? 100.0 : 127.0;
  m_page.setUnits(metric ? TReportUnit::MM : TReportUnit::Inches);
  m_page.saveUnits();
  m_page.setValues({margin, 0, margin, 0, margin, margin, 0});
  m_page.setPaperSize(metric ? TReportPaperSize::A4 : TReportPaperSize::Letter);
  m_functions.define(QStringLiteral("PAGENUMBER"), qint64(0));
  m_functions.define(QStringLiteral("COLUMNNUMBER"), qint64(0));
  m_functions.define(QStringLiteral("REPORTTITLE"), QString());
}

TCustomReport::~TCustomReport() { m_destroying = true; }

std::vector<TReportCustomBand *> TCustomReport::bandList() const {
  std::vector<TReportCustomBand *> result;
  for (TReportControl *c : controls())
    if (auto *band = dynamic_cast<TReportCustomBand *>(c))
      result.push_back(band);
  return result;
}

void TCustomReport::setUnits(TReportUnit units) {
  forEachSize(*this, [units](TReportSizeBase &size) { size.setUnits(units); });
}

void TCustomReport::setZoom(int percent) {
  if (percent <= 0 || percent == m_zoom)
    return;
  m_zoom = percent;
  bandsChanged();
}

void TCustomReport::sizeChanged(int index) {
  (void)index;
  bandsChanged();
}

TUnitContext TCustomReport::unitContext() const {
  return TUnitContext{kScreenPixelsPerInch, m_zoom, Font().pointSize};
}

int TCustomReport::pixelWidth() const {
  return static_cast<int>(
      roundHalfEven(unitFromNative(m_page.nativeValue(TReportPage::WidthIndex), TReportUnit::Pixels,
                                   TReportAxis::Horizontal, unitContext())));
}

void TCustomReport::bandsChanged() {
  if (m_inGeometry || m_destroying)
    return;
  m_inGeometry = true;
  const TUnitContext context = unitContext();
  auto pixels = [&](int index, TReportAxis axis) {
    return unitFromNative(m_page.nativeValue(index), TReportUnit::Pixels, axis, context);
  };
  const double left = pixels(TReportPage::LeftMarginIndex, TReportAxis::Horizontal);
  const double right = pixels(TReportPage::RightMarginIndex, TReportAxis::Horizontal);
  const auto space = roundHalfEven(pixels(TReportPage::ColumnSpaceIndex, TReportAxis::Horizontal));
  const auto full = roundHalfEven(pixelWidth() - left - right);
  const int columns = m_page.Columns();
  const auto column = (full - space * (columns - 1)) / columns;
  auto top = roundHalfEven(pixels(TReportPage::TopMarginIndex, TReportAxis::Vertical));
  for (TReportCustomBand *band : bandList()) {
    band->setDesignPosition(static_cast<int>(roundHalfEven(left)), static_cast<int>(top));
    band->setWidth(static_cast<int>(fullWidthType(band->ruleType()) ? full : column));
    top += band->Height();
  }
  m_inGeometry = false;
}

void TCustomReport::run(TReportPrinter &printer) {
  if (m_runner)
    return;
  TReportRunner runner(*this, printer);
  m_runner = &runner;
  struct Idle {
    TReportRunner *&slot;
    ~Idle() { slot = nullptr; }
  } idle{m_runner};
  runner.run();
}

void TCustomReport::cancel() {
  if (!m_runner)
    return;
  m_cancelled = true;
  m_runner->printer().cancel();
}

void TCustomReport::NewPage() {
  if (m_runner)
    m_runner->startNewPage();
}

void TCustomReport::NewColumn() {
  if (m_runner)
    m_runner->newColumn();
}

long long TCustomReport::AvailableSpace() const {
  return m_runner ? m_runner->availableSpace() : 0;
}

int TCustomReport::PageNumber() const { return m_runner ? m_runner->pageCount() : 0; }

} // namespace TDInvoice::Report
