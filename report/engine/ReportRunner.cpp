#include "report/engine/ReportRunner.h"

#include "report/engine/CustomReport.h"
#include "report/engine/Pagination.h"
#include "report/engine/ReportChildBand.h"
#include "report/engine/ReportControllerBand.h"
#include "report/engine/ReportDataSet.h"
#include "report/engine/ReportGroup.h"
#include "report/engine/ReportPrintable.h"
#include "report/engine/ReportSubDetail.h"
#include "report/engine/TextMeasure.h"
#include "report/output/ReportPrinter.h"

#include <QCoreApplication>
#include <set>

namespace TDInvoice::Report {

namespace {

void forEachControl(TReportControl &control, const std::function<void(TReportControl &)> &visit) {
  visit(control);
  for (TReportControl *child : control.controls())
    forEachControl(*child, visit);
}

// Every run reads lengths in native units; the units of the object interface come back
// afterwards, also when the run fails.
class TNativeUnitsScope {
public:
  explicit TNativeUnitsScope(TReportControl &root) : m_root(root) {
    forEachControl(m_root, [](TReportControl &c) {
      if (TReportSizeBase *size = c.sizeObject()) {
        size->saveUnits();
        size->setUnits(TReportUnit::Native);
      }
    });
  }
  ~TNativeUnitsScope() {
    forEachControl(m_root, [](TReportControl &c) {
      if (TReportSizeBase *size = c.sizeObject())
        size->restoreUnits();
    });
  }
  TNativeUnitsScope(const TNativeUnitsScope &) = delete;
  TNativeUnitsScope &operator=(const TNativeUnitsScope &) = delete;

private:
  TReportControl &m_root;
};

// Components of owner in creation order, depth first.
void collectComponents(QObject &owner, std::vector<QObject *> &out) {
  for (QObject *child : owner.children()) {
    out.push_back(child);
    collectComponents(*child, out);
  }
}

} // namespace

TReportRunner::TReportRunner(TCustomReport &report, TReportPrinter &printer)
    : m_report(report), m_printer(printer) {}

TReportRunner::~TReportRunner() = default;

const TReportFunctions &TReportRunner::functions() const { return m_report.Functions(); }

TReportDataSet *TReportRunner::reportDataSet() const { return m_report.DataSet(); }

TReportCustomBand *TReportRunner::columnHeaderBand() const {
  return m_report.Bands().ColumnHeaderBand();
}

void TReportRunner::run() {
  m_report.clearCancelled();
  collectDataSets();
  bool printReport = true;
  if (m_report.BeforePrint)
    m_report.BeforePrint(&m_report, printReport);
  if (!printReport)
    return;
  checkFonts();
  TNativeUnitsScope nativeUnits(m_report);
  handOverSettings();
  m_printer.beginDoc();
  m_currentY = -1;
  m_pageCount = 0;
  m_currentColumn = m_report.Page().Columns();
  m_pageFooterSize = computePageFooterSize();
  try {
    buildControllerTree();
    prepare();
    execute();
    m_lastPage = true;
    if (!m_report.cancelled())
      endPage();
  } catch (...) {
    unprepare();
    try {
      m_printer.abortDoc();
    } catch (...) {
      // the handler's error is the one to report
    }
    throw;
  }
  unprepare();
  if (m_report.cancelled()) {
    m_printer.abortDoc();
    return;
  }
  m_printer.endDoc();
  if (m_printer.destination() == TPrinterDestination::Direct && m_report.AfterPrint)
    m_report.AfterPrint(&m_report);
}

void TReportRunner::collectDataSets() {
  m_dataSets.clear();
  QObject *owner = m_report.parent() ? m_report.parent() : &m_report;
  std::vector<QObject *> components;
  collectComponents(*owner, components);
  for (QObject *component : components)
    if (auto *dataSet = dynamic_cast<TReportDataSet *>(component))
      m_dataSets.push_back(dataSet);
}

void TReportRunner::checkFonts() const {
  std::set<QString> families;
  forEachControl(m_report, [&families](TReportControl &c) { families.insert(c.Font().family); });
  for (const QString &family : families)
    TTextMeasure::checkFamily(family);
}

void TReportRunner::handOverSettings() {
  const TReportPage &page = m_report.Page();
  const TReportPrinterSettings &settings = m_report.PrinterSettings();
  m_printer.setPaperSize(page.PaperSize());
  if (page.PaperSize() == TReportPaperSize::Custom) {
    m_printer.setPaperWidth(page.nativeValue(TReportPage::WidthIndex));
    m_printer.setPaperLength(page.nativeValue(TReportPage::LengthIndex));
  }
  m_printer.setOrientation(page.Orientation());
  m_printer.setCopies(settings.Copies);
  m_printer.setOutputBin(settings.OutputBin);
  m_printer.setFirstPage(settings.FirstPage);
  m_printer.setLastPage(settings.LastPage);
  m_printer.setPrinterIndex(settings.PrinterIndex);
  m_printer.setTitle(m_report.ReportTitle());
  m_printer.setCompression(m_report.Options().testFlag(TReportOption::Compression));
}

double TReportRunner::computePageFooterSize() const {
  double size = 0;
  for (TReportCustomBand *band : m_report.bandList()) {
    if (band->BandType() != TReportBandType::rbPageFooter || !band->Enabled())
      continue;
    size += band->length();
    for (TReportCustomBand *child = band->ChildBand(); child; child = child->ChildBand())
      if (child->Enabled())
        size += child->length();
  }
  return size;
}

void TReportRunner::buildControllerTree() {
  TReportController &root = m_report.controller();
  const TReportBands &bands = m_report.Bands();
  root.configure({bands.DetailBand(), bands.TitleBand(), bands.SummaryBand(), m_report.DataSet(),
                  &m_report.OnNeedData, &m_report, m_report.PrintIfEmpty(), false, true});
  std::vector<QObject *> components;
  collectComponents(m_report.parent() ? *m_report.parent() : m_report, components);
  std::vector<TReportControllerBand *> loops;
  std::vector<TReportGroup *> groups;
  for (QObject *component : components) {
    if (auto *loop = dynamic_cast<TReportControllerBand *>(component);
        loop && loop->report() == &m_report)
      loops.push_back(loop);
    if (auto *group = dynamic_cast<TReportGroup *>(component);
        group && group->report() == &m_report)
      groups.push_back(group);
  }
  for (TReportControllerBand *loop : loops) {
    TReportController::TConfig config{loop, nullptr, nullptr, nullptr, nullptr,
                                      loop, true,    false,   false};
    if (auto *sub = dynamic_cast<TReportSubDetail *>(loop)) {
      config.header = sub->HeaderBand();
      config.footer = sub->FooterBand();
      config.dataSet = sub->DataSet();
      config.needData = &sub->OnNeedData;
      config.printIfEmpty = sub->PrintIfEmpty();
      config.printBefore = sub->PrintBefore();
    }
    loop->controller().configure(config);
  }
  auto controllerOf = [this](TReportControl *master) -> TReportController * {
    if (master == &m_report)
      return &m_report.controller();
    auto *loop = dynamic_cast<TReportControllerBand *>(master);
    return loop && loop->report() == &m_report ? &loop->controller() : nullptr;
  };
  for (TReportControllerBand *loop : loops)
    if (TReportController *master = controllerOf(loop->Master()))
      master->addController(&loop->controller());
  for (TReportGroup *group : groups)
    if (TReportController *master = controllerOf(group->Master()))
      master->addGroup(group);
}

void TReportRunner::prepare() {
  m_prepared = true;
  setFunction("PAGENUMBER", 0);
  setFunction("COLUMNNUMBER", 0);
  m_report.Functions().define(QStringLiteral("REPORTTITLE"), m_report.ReportTitle());
  std::function<void(TReportController &)> prepareTree = [&](TReportController &controller) {
    controller.prepare(*this);
    for (TReportController *nested : controller.beforeList())
      prepareTree(*nested);
    for (TReportController *nested : controller.afterList())
      prepareTree(*nested);
  };
  prepareTree(m_report.controller());
  m_printables.clear();
  forEachControl(m_report, [this](TReportControl &c) {
    if (auto *printable = dynamic_cast<TReportPrintable *>(&c))
      m_printables.push_back(printable);
  });
  for (TReportPrintable *printable : m_printables)
    printable->prepare();
}

void TReportRunner::unprepare() {
  if (!m_prepared)
    return;
  m_prepared = false;
  forEachControl(m_report, [](TReportControl &c) {
    if (auto *printable = dynamic_cast<TReportPrintable *>(&c))
      printable->unprepare();
    if (auto *loop = dynamic_cast<TReportControllerBand *>(&c))
      loop->controller().unprepare();
  });
  m_report.controller().unprepare();
  m_printables.clear();
}

void TReportRunner::execute() { m_report.controller().execute(*this); }

void TReportRunner::setFunction(const char *name, long long value) {
  m_report.Functions().define(QString::fromLatin1(name), static_cast<qint64>(value));
}

void TReportRunner::processEvents() {
  if (QCoreApplication::instance())
    QCoreApplication::processEvents();
}

bool TReportRunner::stopRequested() const { return m_printer.cancelled() || m_report.cancelled(); }

void TReportRunner::reportProgress(int percent) {
  m_printer.setProgress(percent);
  if (const auto &handler = m_report.progressHandler())
    handler(percent);
}

} // namespace TDInvoice::Report
