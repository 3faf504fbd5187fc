// The output device of a report run: records every page into a page store (for preview,
// saving and later printing) or prints straight onto a printer.
#pragma once

#include "TDInvoice/ReportComponent.h"
#include "report/Canvas.h"
#include "report/ReportTypes.h"

#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QObject;

namespace TDInvoice::Report {

class TMetaPage;
class TReportPageList;
class TRecordingCanvas;
class TPrinterSettings;
class TPrintJob;
class TReplayCache;

enum class TPrinterDestination { Record, Direct };
enum class TPrinterStatus { Ready, Busy, Finished };

// The window told about new pages and progress (preview, progress window). Calls are posted:
// they arrive through the Qt event loop, never re-entrantly from inside the run.
class TReportPrinterClient {
public:
  virtual ~TReportPrinterClient() = default;
  virtual void pagesAvailable(int count) = 0;
  virtual void progressChanged(int percent) = 0;
  virtual void documentFinished() = 0;
};

class TReportPrinter {
public:
  explicit TReportPrinter(TPrinterDestination destination);
  ~TReportPrinter();
  TReportPrinter(const TReportPrinter &) = delete;
  TReportPrinter &operator=(const TReportPrinter &) = delete;

  TPrinterDestination destination() const { return m_destination; }

  // Settings the run hands over before beginDoc.
  void setPaperSize(TReportPaperSize paper);
  void setPaperWidth(double native); // Custom only
  void setPaperLength(double native);
  void setOrientation(TReportOrientation orientation);
  void setCopies(int copies);
  void setOutputBin(TReportBin bin);
  void setDuplex(bool on);     // unless called, duplex follows the printer's own setting
  void setFirstPage(int page); // 0 = no limit
  void setLastPage(int page);
  void setPrinterIndex(int index); // -1 = default printer
  void setTitle(const QString &title);
  void setCompression(bool on);
  int firstPage() const { return m_firstPage; }
  int lastPage() const { return m_lastPage; }
  QString title() const { return m_title; }
  // Printing goes to this PDF file instead of a printer (hosts without printers, tests).
  void setOutputFileName(const QString &fileName);

  // Direct printing withholds the job until endDoc, which hands it to the printer (or
  // writes the output file) and reports a refusal as EReportError; abortDoc discards it, so
  // a failed or cancelled run prints nothing.
  void beginDoc(); // "Printer not ready" (EReportError) unless Ready
  void newPage();  // "Illegal call to NewPage" unless Busy
  void endDoc();
  void abortDoc();
  void cancel();
  bool cancelled() const { return m_cancelled; }
  TPrinterStatus status() const { return m_status; }
  // Back to Ready after a finished document (cancelling first if still busy).
  void cleanup();

  TCanvas &canvas();                           // the current page's canvas
  double xFactor() const { return m_xFactor; } // device units per native unit
  double yFactor() const { return m_yFactor; }
  double leftOffset() const { return m_leftOffset; } // native units; 0 when recording
  double topOffset() const { return m_topOffset; }
  int xPos(double native) const; // (v - offset) * factor, rounded half even
  int yPos(double native) const;
  int xSize(double native) const;
  int ySize(double native) const;
  // The device's paper in native units: the report's paper when the printer supports it,
  // otherwise the printer's current paper (recording: the requested paper), oriented.
  double paperWidth() const;
  double paperLength() const;
  TReportOrientation orientation() const;

  void setProgress(int percent);
  int progress() const { return m_progress; }
  int pageCount() const { return m_pageCount; } // pages begun
  int pageNumber() const { return m_pageNumber; }
  int availablePages() const { return m_availablePages; } // pages finished and readable
  std::unique_ptr<TMetaPage> getPage(int n) const;        // nullptr outside 1..pageCount
  TReportPageList *pageStore();

  void setClient(TReportPrinterClient *client);
  TReportPrinterClient *client() const { return m_client; }
  // Printing recorded pages (the preview's Print). A device that belongs to a running report
  // and was not loaded from a file calls the handler instead (the report re-runs on the
  // printer).
  void setReprintHandler(std::function<void()> handler);
  void printRecorded();
  void saveToFile(const QString &fileName);
  void loadFromFile(const QString &fileName);
  bool loaded() const { return m_loaded; }

  // The printer's settings (created for the printer index on first use); a test or host may
  // substitute a described device.
  TPrinterSettings &printerSettings() const;
  void setPrinterSettings(const TPrinterSettings &settings);

private:
  void takePaperFromFirstPage();
  void startPage();
  void finishPage();
  void markFinished();
  // A job with the settings applied, for the printer index or the output file.
  std::unique_ptr<TPrintJob> openJob();
  void printPageDirect(const TMetaPage &page);
  bool inRange(int page) const;
  QSize pageSizeDevice() const;
  QSizeF portraitPaper() const;
  double portraitWidth() const;
  double portraitLength() const;
  void post(std::function<void(TReportPrinterClient &)> call);

  TPrinterDestination m_destination;
  TPrinterStatus m_status = TPrinterStatus::Ready;
  mutable std::unique_ptr<TPrinterSettings> m_settings;
  std::unique_ptr<TReportPageList> m_store;
  std::unique_ptr<TRecordingCanvas> m_canvas;
  std::unique_ptr<TPrintJob> m_job;            // the direct-print document while one is open
  std::unique_ptr<TReplayCache> m_replayCache; // its fonts and text widths
  std::unique_ptr<QObject> m_notifier;         // context of posted notifications
  std::function<void()> m_reprint;
  TReportPrinterClient *m_client = nullptr;
  QString m_title, m_outputFileName;
  TReportPaperSize m_paper = TReportPaperSize::A4;
  double m_customWidth = 2100, m_customLength = 2970;
  TReportOrientation m_orientation = TReportOrientation::poPortrait;
  int m_firstPage = 0, m_lastPage = 0, m_printerIndex = -1, m_copies = 1;
  TReportBin m_bin = TReportBin::Auto;
  std::optional<bool> m_duplex;
  bool m_compression = false, m_cancelled = false, m_loaded = false;
  double m_xFactor = 0, m_yFactor = 0, m_leftOffset = 0, m_topOffset = 0;
  int m_progress = 0, m_pageCount = 0, m_pageNumber = 0, m_availablePages = 0;
};

} // namespace TDInvoice::Report
