// The preview window: shows the pages of a recording output device while the run is still
// adding them, one page at a time, with zoom, page navigation, printing and saving or
// loading of the page store. It is the device's client from construction until it closes.
#pragma once

#include "report/output/ReportPrinter.h"
#include "report/preview/PreviewGeometry.h"

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>

class QAction;
class QLabel;
class QScrollArea;

namespace TDInvoice::Report {

class TPreviewPage;

enum class TPreviewAction {
  ZoomToFit,
  Zoom100,
  ZoomToWidth,
  FirstPage,
  PreviousPage,
  NextPage,
  LastPage,
  PrinterSetup,
  Print,
  SaveReport,
  LoadReport,
  Close
};

class TPreviewWindow : public QMainWindow, public TReportPrinterClient {
public:
  // Asks for a file name (empty: the user gave up). selectedFilter arrives as the proposed
  // filter and returns the one chosen.
  using TFileChooser = std::function<QString(const QString &caption, const QStringList &filters,
                                             QString &selectedFilter)>;
  using TMessageHandler = std::function<void(const QString &message)>;
  using TPrinterSetupHandler = std::function<void(TReportPrinter &device)>;

  explicit TPreviewWindow(TReportPrinter &device, QWidget *parent = nullptr);
  ~TPreviewWindow() override;

  // Shows the window maximised.
  void open();
  // A run into the device is about to begin: printing and loading wait for its end.
  void runStarting();
  // The run ended without a document (its BeforePrint declined): loading is possible again.
  void runEnded();

  void pagesAvailable(int count) override;
  void progressChanged(int percent) override;
  void documentFinished() override;

  int pageNumber() const { return m_pageNumber; }
  int pageCount() const { return m_available; }
  // Changes outside 1..pageCount are ignored; a change scrolls the view to its top-left.
  void setPageNumber(int page);

  TZoomMode zoomMode() const { return m_zoomMode; }
  void setZoomMode(TZoomMode mode);
  int zoom() const;

  void printReport();
  void printerSetup();
  void saveReport();
  void loadReport();

  // Hooks, so that hosts and tests can replace the platform dialogs.
  void setSaveFileChooser(TFileChooser chooser) { m_saveChooser = std::move(chooser); }
  void setOpenFileChooser(TFileChooser chooser) { m_openChooser = std::move(chooser); }
  void setMessageHandler(TMessageHandler handler) { m_message = std::move(handler); }
  // "Printer setup" has no dialog of its own; without a handler it does nothing.
  void setPrinterSetupHandler(TPrinterSetupHandler handler) { m_printerSetup = std::move(handler); }
  // Told of every available-page message after the window has handled it.
  void setPagesAvailableHandler(std::function<void(int)> handler) {
    m_pagesHandler = std::move(handler);
  }
  // Called once when the window closes, after it has detached from the device.
  void setClosedHandler(std::function<void()> handler) { m_closedHandler = std::move(handler); }
  bool closed() const { return m_closed; }

  TReportPrinter &device() { return m_device; }
  QAction *action(TPreviewAction which) const { return m_actions[std::size_t(which)]; }
  QLabel *progressPanel() const { return m_progressPanel; }
  QLabel *pagePanel() const { return m_pagePanel; }
  QScrollArea *view() const { return m_view; }
  TPreviewPage *pageImage() const { return m_page; }

  // The file filters the save dialog offers: the page store first, then every export filter.
  static QStringList saveFilters();

protected:
  void closeEvent(QCloseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void buildToolBar();
  void buildStatusBar();
  QAction *addAction(class QToolBar *bar, TPreviewAction which, const QString &text);
  bool handleKey(const QKeyEvent &event);
  void showCurrentPage();
  void applyZoom();
  void refreshPagePanel();
  void refreshTitle();
  void setOutputEnabled(bool on);
  void takePaperFromFirstPage();
  void message(const QString &text);
  QString chooseFile(const TFileChooser &chooser, const QString &caption,
                     const QStringList &filters, QString &selected, bool save);

  TReportPrinter &m_device;
  std::array<QAction *, 12> m_actions{};
  QLabel *m_progressPanel = nullptr;
  QLabel *m_pagePanel = nullptr;
  QScrollArea *m_view = nullptr;
  TPreviewPage *m_page = nullptr;
  TZoomMode m_zoomMode = TZoomMode::Width;
  int m_pageNumber = 1;
  int m_shownPage = 0; // the page number the image holds; 0: none yet
  int m_available = 0;
  int m_shownProgress = 0;
  bool m_running = false;
  bool m_closed = false;
  TFileChooser m_saveChooser, m_openChooser;
  TMessageHandler m_message;
  TPrinterSetupHandler m_printerSetup;
  std::function<void(int)> m_pagesHandler;
  std::function<void()> m_closedHandler;
};

} // namespace TDInvoice::Report
