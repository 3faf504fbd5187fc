#include "report/engine/ReportController.h"

#include "report/engine/ReportBand.h"
#include "report/engine/ReportCustomBand.h"
#include "report/engine/ReportDataSet.h"
#include "report/engine/ReportGroup.h"
#include "report/engine/ReportPrintable.h"
#include "report/engine/ReportRunner.h"

#include <algorithm>

namespace TDInvoice::Report {

int countRecords(const TReportDataSet &dataSet) {
  try {
    return dataSet.RecordCount();
  } catch (...) {
    return 1;
  }
}

void TReportController::configure(const TConfig &config) {
  m_config = config;
  m_before.clear();
  m_after.clear();
  m_groups.clear();
}

void TReportController::addController(TReportController *controller) {
  (controller->config().printBefore ? m_before : m_after).push_back(controller);
}

void TReportController::prepare(TReportRunner &run) {
  for (TReportGroup *group : m_groups) {
    group->state() = {};
    group->evaluator().prepare(group->Expression(), &run.dataSets(), &run.functions());
  }
}

void TReportController::unprepare() {
  for (TReportGroup *group : m_groups)
    group->evaluator().unprepare();
  if (m_config.detail)
    m_config.detail->setNotifyController(nullptr);
  m_notify.clear();
}

bool TReportController::hasNeedData() const { return m_config.needData && *m_config.needData; }

void TReportController::execute(TReportRunner &run) {
  for (TReportGroup *group : m_groups)
    group->state().value.reset();
  if (!m_config.dataSet && !hasNeedData()) {
    if (m_config.printIfEmpty)
      printEmpty(run);
    return;
  }
  bool moreData = true;
  int recordCount = 0;
  if (TReportDataSet *data = m_config.dataSet) {
    data->First();
    moreData = !data->Eof();
    recordCount = countRecords(*data);
    if (!moreData && m_config.printIfEmpty)
      printEmpty(run);
  } else {
    (*m_config.needData)(m_config.sender, moreData);
  }
  m_detailNumber = 0;
  if (m_config.detail)
    m_config.detail->setNotifyController(this);
  if (!moreData)
    return;
  run.processEvents();
  if (run.stopRequested())
    return;
  printHeaders(run);
  checkGroups();
  while (moreData) {
    run.processEvents();
    if (run.stopRequested())
      break;
    ++m_detailNumber;
    printGroupHeaders(run);
    runDetail(run);
    moreData = advance();
    if (checkGroups()) {
      // The footers of the finished group see its last record.
      if (m_config.dataSet)
        m_config.dataSet->Prior();
      printGroupFooters(run);
      if (m_config.dataSet)
        m_config.dataSet->Next();
    }
    if (m_config.dataSet && m_config.dataSet == run.reportDataSet() && recordCount != 0)
      run.reportProgress(m_detailNumber * 100 / recordCount);
  }
  // At the end every open group is finished: each becomes due for its footer.
  for (TReportGroup *group : m_groups)
    group->state().changed = !group->state().changed;
  printGroupFooters(run);
  if (m_config.footer) {
    if (!run.pageBegun())
      run.newColumn();
    run.printBand(m_config.footer);
  }
}

void TReportController::printHeaders(TReportRunner &run) {
  if (m_config.header) {
    run.printBand(m_config.header);
    if (m_config.reportController)
      run.setSkipNextForcedPage();
  }
  if (m_config.reportController && run.pageCount() <= 1) {
    TReportCustomBand *columnHeader = run.columnHeaderBand();
    if (columnHeader && columnHeader->Enabled()) {
      run.printBand(columnHeader);
      run.setSkipNextForcedPage();
    }
  }
}

void TReportController::runDetail(TReportRunner &run) {
  executeList(m_before, run);
  run.printBand(m_config.detail);
  executeList(m_after, run);
}

bool TReportController::advance() {
  if (TReportDataSet *data = m_config.dataSet) {
    data->Next();
    return !data->Eof();
  }
  bool moreData = false;
  (*m_config.needData)(m_config.sender, moreData);
  return moreData;
}

void TReportController::printEmpty(TReportRunner &run) {
  run.printBand(m_config.header);
  executeList(m_before, run);
  run.printBand(m_config.detail);
  executeList(m_after, run);
  run.printBand(m_config.footer);
}

bool TReportController::checkGroups() {
  bool anyChanged = false;
  for (TReportGroup *group : m_groups) {
    if (anyChanged) {
      // Every group inside a changed one starts over.
      group->evaluate();
      group->state().changed = true;
      continue;
    }
    group->state().changed = group->evaluate();
    anyChanged = group->state().changed;
  }
  return anyChanged;
}

void TReportController::printGroupHeaders(TReportRunner &run) {
  for (TReportGroup *group : m_groups) {
    if (!group->state().changed)
      continue;
    run.printBand(group);
    group->state().inGroup = true;
    group->state().headerPage = run.pageCount();
  }
}

void TReportController::printGroupFooters(TReportRunner &run) {
  for (auto it = m_groups.rbegin(); it != m_groups.rend(); ++it) {
    TReportGroup *group = *it;
    if (!group->state().changed)
      continue;
    if (group->FooterBand())
      run.printBand(group->FooterBand());
    group->state().inGroup = false;
  }
}

void TReportController::newPageCheck(TReportRunner &run) {
  if (std::any_of(m_groups.begin(), m_groups.end(),
                  [](TReportGroup *g) { return g->state().changed; }))
    return;
  for (TReportController *nested : m_before)
    nested->newPageCheck(run);
  auto first = std::find_if(m_groups.begin(), m_groups.end(), [&run](TReportGroup *g) {
    return g->ReprintOnNewPage() && g->state().inGroup && g->state().headerPage < run.pageCount();
  });
  if (first != m_groups.end()) {
    (*first)->state().changed = true;
    (*first)->state().headerPage = run.pageCount();
    for (auto it = first + 1; it != m_groups.end(); ++it) {
      (*it)->evaluate();
      (*it)->state().changed = true;
    }
    printGroupHeaders(run);
  }
  for (TReportController *nested : m_after)
    nested->newPageCheck(run);
}

void TReportController::addDataNotify(TReportPrintable *printable) {
  if (std::find(m_notify.begin(), m_notify.end(), printable) == m_notify.end())
    m_notify.push_back(printable);
}

void TReportController::notifyPrintables() {
  for (TReportPrintable *printable : m_notify)
    printable->masterDataAdvanced();
}

void TReportController::executeList(const std::vector<TReportController *> &list,
                                    TReportRunner &run) {
  for (TReportController *controller : list)
    controller->execute(run);
}

} // namespace TDInvoice::Report
