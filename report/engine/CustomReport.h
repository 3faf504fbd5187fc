// The report object: page description, bands, options and events, and the entry to the
// print loop. Lengths are native units (tenths of a millimetre) unless a unit says otherwise.
#pragma once

#include "TDInvoice/ReportComponent.h"
#include "report/engine/ReportBands.h"
#include "report/engine/ReportControl.h"
#include "report/engine/ReportController.h"
#include "report/engine/ReportExpression.h"
#include "report/engine/ReportPage.h"

#include <QFlags>
#include <functional>
#include <memory>
#include <vector>

namespace TDInvoice::Report {

class TReportDataSet;
class TReportPrinter;
class TReportRunner;

enum class TReportOption { FirstPageHeader = 0x1, LastPageFooter = 0x2, Compression = 0x4 };
Q_DECLARE_FLAGS(TReportOptions, TReportOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TReportOptions)

// Copies, Duplex, FirstPage, LastPage (0: no limit), OutputBin and the printer index.
struct TReportPrinterSettings : TReportPrinterSettingsValues {};

class TCustomReport : public TReportControl {
public:
  // PrintReport arrives true; false cancels the run before anything is output.
  using TBeforePrintEvent = std::function<void(TCustomReport *Sender, bool &PrintReport)>;
  using TNotifyEvent = std::function<void(TCustomReport *Sender)>;
  using TNeedDataEvent = TReportController::TNeedDataEvent;

  explicit TCustomReport(QObject *owner = nullptr);
  ~TCustomReport() override;

  TBeforePrintEvent BeforePrint;
  TNotifyEvent AfterPrint;
  TNotifyEvent AfterPreview;
  TNotifyEvent OnPreview;
  TNotifyEvent OnStartPage;
  TNotifyEvent OnEndPage;
  // Drives the report's loop when it has no dataset.
  TNeedDataEvent OnNeedData;

  // The bands placed on the report, in list order, and the special ones by type.
  std::vector<TReportCustomBand *> bandList() const;
  const TReportBands &Bands() const { return m_bands; }

  TReportDataSet *DataSet() const { return m_dataSet; }
  void setDataSet(TReportDataSet *dataSet) { m_dataSet = dataSet; }
  QString Description() const { return m_description; }
  void setDescription(const QString &text) { m_description = text; }
  TReportFunctions &Functions() { return m_functions; }
  const TReportFunctions &Functions() const { return m_functions; }
  TReportOptions Options() const { return m_options; }
  void setOptions(TReportOptions options) { m_options = options; }
  TReportPage &Page() { return m_page; }
  const TReportPage &Page() const { return m_page; }
  TReportPrinterSettings &PrinterSettings() { return m_printerSettings; }
  const TReportPrinterSettings &PrinterSettings() const { return m_printerSettings; }
  bool PrintIfEmpty() const { return m_printIfEmpty; }
  void setPrintIfEmpty(bool on) { m_printIfEmpty = on; }
  QString ReportTitle() const { return m_reportTitle; }
  void setReportTitle(const QString &title) { m_reportTitle = title; }
  bool ShowProgress() const { return m_showProgress; }
  void setShowProgress(bool on) { m_showProgress = on; }
  bool SnapToGrid() const { return m_snapToGrid; }
  void setSnapToGrid(bool on) { m_snapToGrid = on; }
  QRgb Color() const { return m_color; }
  void setColor(QRgb color) { m_color = color; }
  // The unit of the page and of every band and printable size.
  TReportUnit Units() const { return m_page.Units(); }
  void setUnits(TReportUnit units);
  int Zoom() const { return m_zoom; }
  void setZoom(int percent);

  TCustomReport *asReport() override { return this; }
  const TCustomReport *asReport() const override { return this; }
  TReportSizeBase *sizeObject() override { return &m_page; }
  void sizeChanged(int index) override;
  TUnitContext unitContext() const override;
  // The report's width in screen pixels at its zoom.
  int pixelWidth() const;

  // Redoes the band geometry (widths and design positions) after a change of page, columns
  // or bands.
  void bandsChanged();

  // Runs the report onto printer: the whole print loop. Nothing happens while a run is
  // going. Errors of handlers propagate after the document was aborted; the report is
  // idle again on every path.
  void run(TReportPrinter &printer);
  bool running() const { return m_runner != nullptr; }
  TReportRunner *runner() const { return m_runner; }
  // Stops a running report: the loops end at their next iteration and the document is
  // aborted.
  void cancel();
  bool cancelled() const { return m_cancelled; }
  void clearCancelled() { m_cancelled = false; }

  // Page-break operations for handlers; nothing happens while the report is idle.
  void NewPage();
  void NewColumn();
  // Native units left on the current page (0 while idle).
  long long AvailableSpace() const;
  int PageNumber() const;

  TReportController &controller() { return m_controller; }
  // Told of the progress of a run (percent), after the output device.
  void setProgressHandler(std::function<void(int)> handler) { m_progress = std::move(handler); }
  const std::function<void(int)> &progressHandler() const { return m_progress; }

protected:
  void controlsChanged() override { bandsChanged(); }

private:
  friend class TReportRunnerScope;
  void applyBandWidth(TReportCustomBand &band, int fullWidth, int columnWidth);

  TReportPage m_page;
  TReportBands m_bands;
  TReportController m_controller;
  TReportFunctions m_functions;
  TReportPrinterSettings m_printerSettings;
  TReportDataSet *m_dataSet = nullptr;
  TReportOptions m_options = TReportOption::FirstPageHeader | TReportOption::LastPageFooter;
  QString m_description;
  QString m_reportTitle;
  QRgb m_color = qRgb(255, 255, 255);
  int m_zoom = 100;
  bool m_printIfEmpty = true;
  bool m_showProgress = true;
  bool m_snapToGrid = true;
  bool m_cancelled = false;
  bool m_inGeometry = false;
  bool m_destroying = false;
  TReportRunner *m_runner = nullptr;
  std::function<void(int)> m_progress;
};

} // namespace TDInvoice::Report
