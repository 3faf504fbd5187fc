#include "report/output/PrintJob.h"

#include "TDInvoice/Exceptions.h"
#include "report/output/PrinterSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QTemporaryFile>

namespace TDInvoice::Report {

namespace {

constexpr qint64 kCopyChunk = 1 << 16;

[[noreturn]] void fail(const QString &message) { throw EReportError(message.toStdString()); }

std::unique_ptr<QPrinter> pdfPrinter(const QString &fileName, const QString &title) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(fileName);
  printer->setDocName(title);
  printer->setFullPage(false);
  return printer;
}

} // namespace

TPrintJob::TPrintJob(Kind kind, const QString &title) : m_kind(kind), m_title(title) {}

TPrintJob::~TPrintJob() { abort(); }

std::unique_ptr<TPrintJob> TPrintJob::toPrinter(TPrinterSettings &settings, const QString &title) {
  const bool spooled = TPrintQueue::spoolsJobs();
  std::unique_ptr<TPrintJob> job(new TPrintJob(spooled ? Kind::Queue : Kind::Platform, title));
  auto platform = std::make_unique<QPrinter>(QPrinter::HighResolution);
  platform->setPrinterName(settings.device());
  platform->setDocName(title);
  platform->setFullPage(false);
  settings.apply(*platform);
  if (!spooled) {
    job->m_printer = std::move(platform);
    return job;
  }
  if (TPrintQueue::clientProgram().isEmpty())
    fail(QStringLiteral("Cannot print on %1: the CUPS client program lp is not installed")
             .arg(settings.device()));
  job->openSpool();
  // The spooled pages keep the printer's resolution and unprintable margins, so the layout
  // is the one the printer itself would have had.
  auto printer = pdfPrinter(job->m_spool->fileName(), title);
  printer->setResolution(platform->resolution());
  printer->setPageLayout(platform->pageLayout());
  settings.readDevice(*printer);
  const QPageLayout layout = printer->pageLayout();
  job->m_ticket.queue = settings.device();
  job->m_ticket.title = title;
  job->m_ticket.copies = settings.copies();
  job->m_ticket.duplex = settings.duplexCapable() && settings.duplex();
  job->m_ticket.landscape = layout.orientation() == QPageLayout::Landscape;
  job->m_ticket.media = layout.pageSize().key();
  job->m_ticket.mediaSource = TPrintQueue::mediaSourceOf(settings.outputBin());
  job->m_printer = std::move(printer);
  return job;
}

std::unique_ptr<TPrintJob> TPrintJob::toFile(TPrinterSettings &settings, const QString &fileName,
                                             const QString &title) {
  const QFileInfo target(fileName);
  if (!target.absoluteDir().exists())
    fail(QStringLiteral("Cannot write %1: its folder does not exist").arg(fileName));
  std::unique_ptr<TPrintJob> job(new TPrintJob(Kind::File, title));
  job->m_fileName = target.absoluteFilePath();
  job->openSpool();
  job->m_printer = pdfPrinter(job->m_spool->fileName(), title);
  settings.apply(*job->m_printer);
  return job;
}

void TPrintJob::openSpool() {
  m_spool =
      std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/tdi-print-XXXXXX.pdf"));
  if (!m_spool->open())
    fail(QStringLiteral("Cannot create a temporary print file in %1: %2")
             .arg(QDir::tempPath(), m_spool->errorString()));
  // The PDF writer opens the file by its name; the object only keeps and finally removes it.
  m_spool->close();
}

QString TPrintJob::spoolFileName() const { return m_spool ? m_spool->fileName() : QString(); }

QPainter &TPrintJob::beginPage() {
  if (m_state != State::Open)
    fail(QStringLiteral("Printer not ready"));
  if (!m_painter) {
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_printer.get()))
      fail(QStringLiteral("Printer not ready"));
    m_painter = std::move(painter);
  } else if (!m_printer->newPage()) {
    fail(QStringLiteral("Cannot start a new printer page"));
  }
  ++m_pages;
  return *m_painter;
}

void TPrintJob::closePainter() {
  if (m_painter && m_painter->isActive())
    m_painter->end();
  m_painter.reset();
}

void TPrintJob::finish() {
  if (m_state != State::Open)
    return;
  m_state = State::Finished;
  struct RemoveSpool {
    TPrintJob &job;
    ~RemoveSpool() { job.removeSpool(); }
  } removeSpool{*this};
  closePainter();
  if (m_pages == 0)
    return;
  if (m_kind == Kind::Queue)
    TPrintQueue::submit(m_ticket, m_spool->fileName());
  else if (m_kind == Kind::File)
    deliverToFile();
}

void TPrintJob::abort() {
  if (m_state != State::Open)
    return;
  m_state = State::Aborted;
  if (m_kind == Kind::Platform && m_painter && m_painter->isActive())
    m_printer->abort();
  closePainter();
  removeSpool();
}

// Copied rather than renamed: the output file gets the permissions of a file the user writes,
// not the private ones of the temporary file, and replaces an earlier one in one step.
void TPrintJob::deliverToFile() {
  QFile spool(m_spool->fileName());
  if (!spool.open(QIODevice::ReadOnly))
    fail(QStringLiteral("Cannot read the temporary print file %1: %2")
             .arg(spool.fileName(), spool.errorString()));
  QSaveFile target(m_fileName);
  if (!target.open(QIODevice::WriteOnly))
    fail(QStringLiteral("Cannot write %1: %2").arg(m_fileName, target.errorString()));
  while (!spool.atEnd()) {
    const QByteArray chunk = spool.read(kCopyChunk);
    if (chunk.isEmpty() || target.write(chunk) != chunk.size()) {
      target.cancelWriting();
      fail(QStringLiteral("Cannot write %1: %2").arg(m_fileName, target.errorString()));
    }
  }
  if (!target.commit())
    fail(QStringLiteral("Cannot write %1: %2").arg(m_fileName, target.errorString()));
}

void TPrintJob::removeSpool() { m_spool.reset(); }

} // namespace TDInvoice::Report
