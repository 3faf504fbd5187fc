// The preview's printing, saving and loading.
#include "report/preview/PreviewWindow.h"

#include "TDInvoice/Exceptions.h"
#include "report/output/Exporters.h"
#include "report/output/MetaPage.h"
#include "report/output/ReportPageList.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace TDInvoice::Report {

namespace {

const QString &storeFilter() {
  static const QString filter = QStringLiteral("Report file (*.qrp)");
  return filter;
}

// The export filter for a chosen dialog filter, or for the file's extension when the page
// store's own filter was left selected.
const TExportFilter *exporterFor(const QString &fileName, const QString &selected) {
  const auto &filters = exportFilters();
  const QStringList offered = TPreviewWindow::saveFilters();
  const auto index = offered.indexOf(selected);
  if (index > 0 && std::size_t(index) <= filters.size())
    return &filters[std::size_t(index) - 1];
  const QString suffix = QFileInfo(fileName).suffix();
  for (const TExportFilter &filter : filters)
    if (suffix.compare(filter.extension, Qt::CaseInsensitive) == 0)
      return &filter;
  return nullptr;
}

} // namespace

QStringList TPreviewWindow::saveFilters() {
  QStringList filters{storeFilter()};
  for (const TExportFilter &filter : exportFilters())
    filters << QStringLiteral("%1 (*.%2)").arg(filter.name, filter.extension);
  return filters;
}

void TPreviewWindow::message(const QString &text) {
  if (m_message)
    m_message(text);
  else
    QMessageBox::information(this, windowTitle(), text);
}

QString TPreviewWindow::chooseFile(const TFileChooser &chooser, const QString &caption,
                                   const QStringList &filters, QString &selected, bool save) {
  if (chooser)
    return chooser(caption, filters, selected);
  const QString joined = filters.join(QStringLiteral(";;"));
  return save ? QFileDialog::getSaveFileName(this, caption, QString(), joined, &selected)
              : QFileDialog::getOpenFileName(this, caption, QString(), joined, &selected);
}

// Errors end here: they must not unwind through the event loop that delivered the click.
void TPreviewWindow::printReport() {
  if (m_running)
    return;
  try {
    m_device.printRecorded();
  } catch (const std::exception &error) {
    message(QString::fromLocal8Bit(error.what()));
  }
}

void TPreviewWindow::printerSetup() {
  if (m_printerSetup && !m_running)
    m_printerSetup(m_device);
}

void TPreviewWindow::saveReport() {
  QString selected = storeFilter();
  const QString fileName =
      chooseFile(m_saveChooser, QStringLiteral("Save report"), saveFilters(), selected, true);
  if (fileName.isEmpty())
    return;
  try {
    if (const TExportFilter *filter = exporterFor(fileName, selected)) {
      const TReportPageList *store = m_device.pageStore();
      if (!store)
        throw EReportError("There are no report pages to save");
      filter->run(*store, fileName);
    } else {
      m_device.saveToFile(fileName);
    }
  } catch (const std::exception &error) {
    message(QString::fromLocal8Bit(error.what()));
  }
}

// Loading replaces the device's store, so it waits while a run is still adding pages.
void TPreviewWindow::loadReport() {
  if (m_running || m_device.status() == TPrinterStatus::Busy)
    return;
  QString selected = storeFilter();
  const QStringList filters{storeFilter(), QStringLiteral("All files (*)")};
  const QString fileName =
      chooseFile(m_openChooser, QStringLiteral("Load report"), filters, selected, false);
  if (fileName.isEmpty())
    return;
  if (!QFileInfo(fileName).isFile()) {
    message(QStringLiteral("File does not exist"));
    return;
  }
  try {
    m_device.loadFromFile(fileName);
  } catch (const std::exception &error) {
    message(QString::fromLocal8Bit(error.what()));
    return;
  }
  takePaperFromFirstPage();
  m_available = m_device.availablePages();
  m_pageNumber = 1;
  m_shownPage = 0;
  showCurrentPage();
  setOutputEnabled(true);
  refreshPagePanel();
}

// Printing a loaded store uses the paper its pages were recorded on.
void TPreviewWindow::takePaperFromFirstPage() {
  const std::unique_ptr<TMetaPage> first = m_device.getPage(1);
  if (!first)
    return;
  if (const auto match = paperOfPage(first->sizeMM())) {
    m_device.setPaperSize(match->paper);
    m_device.setOrientation(match->orientation);
  }
}

} // namespace TDInvoice::Report
