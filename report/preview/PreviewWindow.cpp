#include "report/preview/PreviewWindow.h"

#include "report/output/MetaPage.h"
#include "report/preview/PreviewPage.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>

namespace TDInvoice::Report {

TPreviewWindow::TPreviewWindow(TReportPrinter &device, QWidget *parent)
    : QMainWindow(parent), m_device(device), m_view(new QScrollArea(this)),
      m_page(new TPreviewPage) {
  m_view->setAlignment(Qt::AlignCenter);
  m_view->setWidgetResizable(false);
  m_view->setBackgroundRole(QPalette::Dark);
  m_view->setWidget(m_page);
  m_view->setFocusPolicy(Qt::StrongFocus);
  m_view->installEventFilter(this);
  setCentralWidget(m_view);
  buildToolBar();
  buildStatusBar();
  // A device that has already finished (or holds a loaded store) is shown as it is.
  m_available = device.status() == TPrinterStatus::Ready ? 0 : device.availablePages();
  setOutputEnabled(device.status() == TPrinterStatus::Finished);
  if (device.status() == TPrinterStatus::Busy)
    runStarting();
  m_device.setClient(this);
  refreshTitle();
  showCurrentPage();
  refreshPagePanel();
}

TPreviewWindow::~TPreviewWindow() {
  if (m_device.client() == this)
    m_device.setClient(nullptr);
}

void TPreviewWindow::buildToolBar() {
  QToolBar *bar = addToolBar(QStringLiteral("Preview"));
  bar->setMovable(false);
  auto *zoomGroup = new QActionGroup(this);
  const std::array<std::pair<TPreviewAction, TZoomMode>, 3> zooms{{
      {TPreviewAction::ZoomToFit, TZoomMode::Fit},
      {TPreviewAction::Zoom100, TZoomMode::Full},
      {TPreviewAction::ZoomToWidth, TZoomMode::Width},
  }};
  const std::array<QString, 3> zoomTexts{QStringLiteral("Zoom to fit"), QStringLiteral("100%"),
                                         QStringLiteral("Zoom to width")};
  for (std::size_t i = 0; i < zooms.size(); ++i) {
    QAction *zoom = addAction(bar, zooms[i].first, zoomTexts[i]);
    zoom->setCheckable(true);
    zoom->setChecked(zooms[i].second == m_zoomMode);
    zoomGroup->addAction(zoom);
    const TZoomMode mode = zooms[i].second;
    connect(zoom, &QAction::triggered, this, [this, mode] { setZoomMode(mode); });
  }
  bar->addSeparator();
  connect(addAction(bar, TPreviewAction::FirstPage, QStringLiteral("First page")),
          &QAction::triggered, this, [this] { setPageNumber(1); });
  connect(addAction(bar, TPreviewAction::PreviousPage, QStringLiteral("Previous page")),
          &QAction::triggered, this, [this] { setPageNumber(m_pageNumber - 1); });
  connect(addAction(bar, TPreviewAction::NextPage, QStringLiteral("Next page")),
          &QAction::triggered, this, [this] { setPageNumber(m_pageNumber + 1); });
  connect(addAction(bar, TPreviewAction::LastPage, QStringLiteral("Last page")),
          &QAction::triggered, this, [this] { setPageNumber(m_available); });
  bar->addSeparator();
  connect(addAction(bar, TPreviewAction::PrinterSetup, QStringLiteral("Printer setup")),
          &QAction::triggered, this, [this] { printerSetup(); });
  connect(addAction(bar, TPreviewAction::Print, QStringLiteral("Print")), &QAction::triggered, this,
          [this] { printReport(); });
  bar->addSeparator();
  connect(addAction(bar, TPreviewAction::SaveReport, QStringLiteral("Save Report")),
          &QAction::triggered, this, [this] { saveReport(); });
  connect(addAction(bar, TPreviewAction::LoadReport, QStringLiteral("Load Report")),
          &QAction::triggered, this, [this] { loadReport(); });
  bar->addSeparator();
  connect(addAction(bar, TPreviewAction::Close, QStringLiteral("&Close")), &QAction::triggered,
          this, [this] { close(); });
}

QAction *TPreviewWindow::addAction(QToolBar *bar, TPreviewAction which, const QString &text) {
  QAction *action = bar->addAction(text);
  m_actions[std::size_t(which)] = action;
  return action;
}

void TPreviewWindow::buildStatusBar() {
  m_progressPanel = new QLabel(QStringLiteral("0%"), this);
  m_progressPanel->setMinimumWidth(60);
  m_pagePanel = new QLabel(this);
  statusBar()->addWidget(m_progressPanel);
  statusBar()->addWidget(m_pagePanel, 1);
}

void TPreviewWindow::open() {
  showMaximized();
  m_view->setFocus();
}

void TPreviewWindow::runStarting() {
  m_running = true;
  setOutputEnabled(false);
  action(TPreviewAction::LoadReport)->setEnabled(false);
}

void TPreviewWindow::runEnded() {
  m_running = false;
  action(TPreviewAction::LoadReport)->setEnabled(true);
}

void TPreviewWindow::setOutputEnabled(bool on) {
  action(TPreviewAction::PrinterSetup)->setEnabled(on);
  action(TPreviewAction::Print)->setEnabled(on);
}

void TPreviewWindow::pagesAvailable(int count) {
  m_available = std::max(m_available, count);
  refreshTitle();
  if (m_shownPage != m_pageNumber && m_pageNumber <= m_available)
    showCurrentPage();
  refreshPagePanel();
  if (m_pagesHandler)
    m_pagesHandler(count);
}

void TPreviewWindow::progressChanged(int percent) {
  if (percent <= 0 || percent >= 100) {
    m_progressPanel->clear();
    m_shownProgress = percent <= 0 ? 0 : 100;
  } else if (percent - m_shownProgress >= 5) {
    m_progressPanel->setText(QString::number(percent) + QLatin1Char('%'));
    m_shownProgress = percent;
  }
}

void TPreviewWindow::documentFinished() {
  m_running = false;
  m_available = std::max(m_available, m_device.availablePages());
  setOutputEnabled(true);
  action(TPreviewAction::LoadReport)->setEnabled(true);
  if (m_shownPage != m_pageNumber && m_pageNumber <= m_available)
    showCurrentPage();
  refreshPagePanel();
}

void TPreviewWindow::setPageNumber(int page) {
  if (page < 1 || page > m_available || page == m_pageNumber)
    return;
  m_pageNumber = page;
  showCurrentPage();
  m_view->horizontalScrollBar()->setValue(0);
  m_view->verticalScrollBar()->setValue(0);
  refreshPagePanel();
}

// Only the page on view is fetched from the store; its size decides the image's size. A page
// that cannot be read shows as an empty sheet with the reason in the status bar: this runs
// from notifications, which must not throw into the event loop (or into the run).
void TPreviewWindow::showCurrentPage() {
  std::unique_ptr<TMetaPage> page;
  try {
    page = m_device.getPage(m_pageNumber);
    statusBar()->clearMessage();
  } catch (const std::exception &error) {
    statusBar()->showMessage(QString::fromLocal8Bit(error.what()));
  }
  if (page) {
    m_page->setPaper(screenPixels(page->sizeMM()));
    m_shownPage = m_pageNumber;
  } else {
    m_page->setPaper(screenPixels(QSizeF(m_device.paperWidth(), m_device.paperLength()) / 10));
    m_shownPage = 0;
  }
  m_page->setPage(std::move(page));
  applyZoom();
}

void TPreviewWindow::setZoomMode(TZoomMode mode) {
  m_zoomMode = mode;
  const auto which = mode == TZoomMode::Fit    ? TPreviewAction::ZoomToFit
                     : mode == TZoomMode::Full ? TPreviewAction::Zoom100
                                               : TPreviewAction::ZoomToWidth;
  action(which)->setChecked(true);
  applyZoom();
}

int TPreviewWindow::zoom() const { return m_page->zoom(); }

// The view's size without scroll bars, so that showing them does not change the zoom.
void TPreviewWindow::applyZoom() {
  m_page->setZoom(zoomFor(m_zoomMode, m_page->paper(), m_view->maximumViewportSize()));
}

void TPreviewWindow::refreshPagePanel() {
  const int shown = m_available > 0 ? m_pageNumber : 0;
  m_pagePanel->setText(QStringLiteral("Page %1 of %2").arg(shown).arg(m_available));
}

void TPreviewWindow::refreshTitle() {
  const QString title = m_device.title();
  setWindowTitle(title.isEmpty() ? QStringLiteral("Print Preview") : title);
}

bool TPreviewWindow::handleKey(const QKeyEvent &event) {
  const bool control = event.modifiers() & Qt::ControlModifier;
  switch (event.key()) {
  case Qt::Key_Escape:
    close();
    return true;
  case Qt::Key_PageUp:
    setPageNumber(control ? 1 : m_pageNumber - 1);
    return true;
  case Qt::Key_PageDown:
    setPageNumber(control ? m_available : m_pageNumber + 1);
    return true;
  case Qt::Key_Home:
    setPageNumber(1);
    return true;
  case Qt::Key_End:
    setPageNumber(m_available);
    return true;
  default:
    return false;
  }
}

void TPreviewWindow::keyPressEvent(QKeyEvent *event) {
  if (!handleKey(*event))
    QMainWindow::keyPressEvent(event);
}

// The view would scroll on these keys; the preview turns pages instead, and follows the
// view's size.
bool TPreviewWindow::eventFilter(QObject *watched, QEvent *event) {
  if (watched == m_view) {
    if (event->type() == QEvent::KeyPress && handleKey(*static_cast<QKeyEvent *>(event)))
      return true;
    if (event->type() == QEvent::Resize)
      applyZoom();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TPreviewWindow::closeEvent(QCloseEvent *event) {
  event->accept();
  if (m_closed)
    return;
  m_closed = true;
  if (m_device.client() == this)
    m_device.setClient(nullptr);
  if (m_closedHandler)
    m_closedHandler();
}

} // namespace TDInvoice::Report
