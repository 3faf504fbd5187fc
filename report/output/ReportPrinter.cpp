#include "report/output/ReportPrinter.h"

#include "TDInvoice/Exceptions.h"
#include "report/output/MetaPage.h"
#include "report/output/PrintJob.h"
#include "report/output/PrinterSettings.h"
#include "report/output/RecordingCanvas.h"
#include "report/output/ReportPageList.h"

#include <QCoreApplication>
#include <QObject>
#include <QPainter>
#include <cmath>

namespace TDInvoice::Report {

TReportPrinter::TReportPrinter(TPrinterDestination destination)
    : m_destination(destination), m_notifier(std::make_unique<QObject>()) {
  m_xFactor = m_yFactor = kScreenPixelsPerInch / kNativePerInch;
}

// An open direct-print job goes with the device unprinted.
TReportPrinter::~TReportPrinter() = default;

void TReportPrinter::setPaperSize(TReportPaperSize paper) { m_paper = paper; }
void TReportPrinter::setPaperWidth(double native) {
  if (native > 0)
    m_customWidth = native;
}
void TReportPrinter::setPaperLength(double native) {
  if (native > 0)
    m_customLength = native;
}
void TReportPrinter::setOrientation(TReportOrientation orientation) { m_orientation = orientation; }
void TReportPrinter::setCopies(int copies) { m_copies = std::max(1, copies); }
void TReportPrinter::setOutputBin(TReportBin bin) { m_bin = bin; }
void TReportPrinter::setDuplex(bool on) { m_duplex = on; }
void TReportPrinter::setFirstPage(int page) { m_firstPage = std::max(0, page); }
void TReportPrinter::setLastPage(int page) { m_lastPage = std::max(0, page); }
void TReportPrinter::setPrinterIndex(int index) {
  if (index != m_printerIndex)
    m_settings.reset();
  m_printerIndex = index;
}
void TReportPrinter::setTitle(const QString &title) { m_title = title; }
void TReportPrinter::setCompression(bool on) { m_compression = on; }
void TReportPrinter::setOutputFileName(const QString &fileName) { m_outputFileName = fileName; }

TPrinterSettings &TReportPrinter::printerSettings() const {
  if (!m_settings)
    m_settings = std::make_unique<TPrinterSettings>(m_printerIndex);
  return *m_settings;
}

void TReportPrinter::setPrinterSettings(const TPrinterSettings &settings) {
  m_settings = std::make_unique<TPrinterSettings>(settings);
}

void TReportPrinter::beginDoc() {
  if (m_status != TPrinterStatus::Ready)
    throw EReportError("Printer not ready");
  m_pageCount = m_pageNumber = m_availablePages = 0;
  m_progress = 0;
  m_cancelled = false;
  m_loaded = false;
  m_canvas.reset();
  if (m_destination == TPrinterDestination::Record) {
    m_store = std::make_unique<TReportPageList>();
    m_store->setCompression(m_compression);
    m_xFactor = m_yFactor = kScreenPixelsPerInch / kNativePerInch;
    m_leftOffset = m_topOffset = 0;
  } else {
    m_job = openJob();
    m_replayCache = std::make_unique<TReplayCache>();
    const TPrinterSettings &settings = printerSettings();
    m_xFactor = settings.dpiX() / kNativePerInch;
    m_yFactor = settings.dpiY() / kNativePerInch;
    m_leftOffset = settings.leftOffset();
    m_topOffset = settings.topOffset();
  }
  m_status = TPrinterStatus::Busy;
}

std::unique_ptr<TPrintJob> TReportPrinter::openJob() {
  TPrinterSettings &settings = printerSettings();
  settings.setPaperSize(m_paper);
  settings.setPaperWidth(m_customWidth);
  settings.setPaperLength(m_customLength);
  settings.setOrientation(m_orientation);
  settings.setCopies(m_copies);
  settings.setOutputBin(m_bin);
  if (m_duplex)
    settings.setDuplex(*m_duplex);
  if (!m_outputFileName.isEmpty())
    return TPrintJob::toFile(settings, m_outputFileName, m_title);
  if (!TPrinterSettings::printerAvailable())
    throw EReportError("Printer not ready");
  return TPrintJob::toPrinter(settings, m_title);
}

void TReportPrinter::newPage() {
  if (m_status != TPrinterStatus::Busy)
    throw EReportError("Illegal call to NewPage");
  finishPage();
  startPage();
}

void TReportPrinter::startPage() {
  ++m_pageCount;
  ++m_pageNumber;
  const bool record = m_destination == TPrinterDestination::Record;
  const int dpiX = record ? kScreenPixelsPerInch : printerSettings().dpiX();
  const int dpiY = record ? kScreenPixelsPerInch : printerSettings().dpiY();
  m_canvas = std::make_unique<TRecordingCanvas>(pageSizeDevice(), dpiX, dpiY);
}

void TReportPrinter::finishPage() {
  if (!m_canvas)
    return;
  const TMetaPage page = m_canvas->takePage();
  m_canvas.reset();
  if (m_destination == TPrinterDestination::Record)
    m_store->addPage(page);
  else if (inRange(m_pageNumber))
    printPageDirect(page);
  ++m_availablePages;
  const int available = m_availablePages;
  post([available](TReportPrinterClient &client) { client.pagesAvailable(available); });
}

bool TReportPrinter::inRange(int page) const {
  return (m_firstPage == 0 || page >= m_firstPage) && (m_lastPage == 0 || page <= m_lastPage);
}

// The page was laid out in the printer's own device units, so it plays back 1:1 from the
// printable area's corner.
void TReportPrinter::printPageDirect(const TMetaPage &page) {
  page.replay(m_job->beginPage(), QRectF(QPointF(0, 0), QSizeF(page.size())), m_replayCache.get());
}

// A document that cannot be ended is still over: its job is withdrawn and the device
// finished, so the client is told and the device can be cleaned up.
void TReportPrinter::endDoc() {
  if (m_status != TPrinterStatus::Busy)
    return;
  try {
    finishPage();
    if (m_destination == TPrinterDestination::Record) {
      m_store->finish();
    } else {
      const std::unique_ptr<TPrintJob> job = std::move(m_job);
      job->finish();
    }
  } catch (...) {
    m_canvas.reset();
    m_job.reset();
    m_replayCache.reset();
    markFinished();
    throw;
  }
  markFinished();
}

void TReportPrinter::abortDoc() {
  if (m_status != TPrinterStatus::Busy)
    return;
  if (m_destination == TPrinterDestination::Record) {
    finishPage();
    m_store->finish();
  } else {
    m_canvas.reset();
    if (m_job)
      m_job->abort();
    m_job.reset();
    m_replayCache.reset();
  }
  markFinished();
}

void TReportPrinter::markFinished() {
  m_status = TPrinterStatus::Finished;
  post([](TReportPrinterClient &client) { client.documentFinished(); });
}

void TReportPrinter::cancel() { m_cancelled = true; }

void TReportPrinter::cleanup() {
  if (m_status == TPrinterStatus::Busy) {
    cancel();
    abortDoc();
  }
  m_status = TPrinterStatus::Ready;
}

TCanvas &TReportPrinter::canvas() {
  if (!m_canvas)
    throw EReportError("No page has been begun");
  return *m_canvas;
}

int TReportPrinter::xPos(double native) const {
  return static_cast<int>(roundHalfEven((native - m_leftOffset) * m_xFactor));
}
int TReportPrinter::yPos(double native) const {
  return static_cast<int>(roundHalfEven((native - m_topOffset) * m_yFactor));
}
int TReportPrinter::xSize(double native) const {
  return static_cast<int>(roundHalfEven(native * m_xFactor));
}
int TReportPrinter::ySize(double native) const {
  return static_cast<int>(roundHalfEven(native * m_yFactor));
}

// Recording takes the requested paper (A4 for Default); a printer keeps its own paper when
// it lacks the requested one.
double TReportPrinter::paperWidth() const {
  return orientation() == TReportOrientation::poLandscape ? portraitLength() : portraitWidth();
}
double TReportPrinter::paperLength() const {
  return orientation() == TReportOrientation::poLandscape ? portraitWidth() : portraitLength();
}

double TReportPrinter::portraitWidth() const { return portraitPaper().width(); }
double TReportPrinter::portraitLength() const { return portraitPaper().height(); }

QSizeF TReportPrinter::portraitPaper() const {
  if (m_paper == TReportPaperSize::Custom)
    return {m_customWidth, m_customLength};
  if (m_destination == TPrinterDestination::Direct &&
      (m_paper == TReportPaperSize::Default || !printerSettings().supports(m_paper)))
    return {printerSettings().paperWidth(), printerSettings().paperLength()};
  const QSizeF mm =
      paperSizeMM(m_paper == TReportPaperSize::Default ? TReportPaperSize::A4 : m_paper);
  return mm * 10;
}

TReportOrientation TReportPrinter::orientation() const { return m_orientation; }

QSize TReportPrinter::pageSizeDevice() const { return {xSize(paperWidth()), ySize(paperLength())}; }

void TReportPrinter::setProgress(int percent) {
  m_progress = percent;
  post([percent](TReportPrinterClient &client) { client.progressChanged(percent); });
}

std::unique_ptr<TMetaPage> TReportPrinter::getPage(int n) const {
  if (!m_store || n < 1 || n > m_pageCount)
    return nullptr;
  return m_store->getPage(n);
}

TReportPageList *TReportPrinter::pageStore() { return m_store.get(); }

void TReportPrinter::setClient(TReportPrinterClient *client) { m_client = client; }

// Notifications reach the client through the event loop; they are dropped with the device,
// and go to whichever client is attached when they arrive.
void TReportPrinter::post(std::function<void(TReportPrinterClient &)> call) {
  QMetaObject::invokeMethod(
      m_notifier.get(),
      [this, call = std::move(call)] {
        if (m_client)
          call(*m_client);
      },
      Qt::QueuedConnection);
}

void TReportPrinter::setReprintHandler(std::function<void()> handler) {
  m_reprint = std::move(handler);
}

void TReportPrinter::saveToFile(const QString &fileName) {
  if (!m_store)
    throw EReportError("There are no report pages to save");
  m_store->saveToFile(fileName);
}

// A loaded report prints on the paper of its first page when that is a paper of the table,
// in either orientation.
void TReportPrinter::takePaperFromFirstPage() {
  const auto page = m_store->getPage(1);
  if (!page)
    return;
  const QSizeF mm = page->sizeMM();
  auto near = [](const QSizeF &a, const QSizeF &b) {
    return std::abs(a.width() - b.width()) < 1.0 && std::abs(a.height() - b.height()) < 1.0;
  };
  for (int p = int(TReportPaperSize::Letter); p < int(TReportPaperSize::Custom); ++p) {
    const auto paper = static_cast<TReportPaperSize>(p);
    const QSizeF table = paperSizeMM(paper);
    if (near(mm, table) || near(mm, table.transposed())) {
      m_paper = paper;
      m_orientation =
          near(mm, table) ? TReportOrientation::poPortrait : TReportOrientation::poLandscape;
      return;
    }
  }
}

void TReportPrinter::loadFromFile(const QString &fileName) {
  auto store = std::make_unique<TReportPageList>();
  store->loadFromFile(fileName);
  m_store = std::move(store);
  m_canvas.reset();
  m_loaded = true;
  m_status = TPrinterStatus::Finished;
  m_pageCount = m_availablePages = m_store->pageCount();
  m_pageNumber = m_pageCount > 0 ? 1 : 0;
  takePaperFromFirstPage();
  const int available = m_availablePages;
  post([available](TReportPrinterClient &client) { client.pagesAvailable(available); });
  post([](TReportPrinterClient &client) { client.documentFinished(); });
}

} // namespace TDInvoice::Report
