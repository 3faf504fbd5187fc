// One run of a report: the run-time state (position, page, column) and the page-break
// operations of the print loop. Created by TCustomReport::run for the length of a run.
#pragma once

#include <vector>

namespace TDInvoice::Report {

class TCustomReport;
class TReportController;
class TReportCustomBand;
class TReportDataSet;
class TReportFunctions;
class TReportPrintable;
class TReportPrinter;

class TReportRunner {
public:
  TReportRunner(TCustomReport &report, TReportPrinter &printer);
  ~TReportRunner();
  TReportRunner(const TReportRunner &) = delete;
  TReportRunner &operator=(const TReportRunner &) = delete;

  void run();

  TReportPrinter &printer() { return m_printer; }
  TCustomReport &report() { return m_report; }
  const std::vector<TReportDataSet *> &dataSets() const { return m_dataSets; }
  const TReportFunctions &functions() const;
  TReportDataSet *reportDataSet() const;
  TReportCustomBand *columnHeaderBand() const;

  // The single entry through which every band prints.
  void printBand(TReportCustomBand *band);
  long long availableSpace() const;
  void newColumn();
  void newPage();
  void endPage();
  void forcedNewPage();
  void forcedNewColumn();
  // New columns until column 1 of a new page (a handler's page break).
  void startNewPage();
  bool requestExpansion(TReportCustomBand &band, TReportPrintable &printable, double h);

  bool pageBegun() const { return m_pageCount > 0; }
  int pageCount() const { return m_pageCount; }
  int currentColumn() const { return m_currentColumn; }
  double currentX() const { return m_currentX; }
  double currentY() const { return m_currentY; }
  void setSkipNextForcedPage() { m_skipNextForcedPage = true; }

  // Lets the user interface process pending events (a preview or progress window may
  // cancel the run meanwhile).
  void processEvents();
  // The loops stop: the device was cancelled (directly, or by cancelling the report).
  bool stopRequested() const;
  void reportProgress(int percent);

private:
  void collectDataSets();
  void checkFonts() const;
  void handOverSettings();
  double computePageFooterSize() const;
  void buildControllerTree();
  void prepare();
  void unprepare();
  void execute();

  void alignBand(TReportCustomBand &band);
  void placeBand(TReportCustomBand &band);
  void makeSpace(TReportCustomBand &band);
  void printContents(TReportCustomBand &band);
  void printReportPrintables();
  void paintReportFrame();
  void setFunction(const char *name, long long value);

  TCustomReport &m_report;
  TReportPrinter &m_printer;
  std::vector<TReportDataSet *> m_dataSets;
  std::vector<TReportPrintable *> m_printables;
  double m_currentX = 0;
  double m_currentY = -1;
  double m_columnTop = 0;
  double m_pageFooterSize = 0;
  int m_pageCount = 0;
  int m_currentColumn = 1;
  bool m_lastPage = false;
  bool m_skipNextForcedPage = false;
  bool m_forcedColumnSeen = false;
  bool m_prepared = false;
};

} // namespace TDInvoice::Report
