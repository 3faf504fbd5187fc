// A direct-print document that reaches its destination only once it is finished. Its pages
// are written to a temporary PDF, which finish() hands to the print queue (or copies to the
// output file) and abort() deletes: Qt's CUPS engine cannot withdraw a job it has begun, and
// would print the pages done so far of a run that failed.
#pragma once

#include "report/output/PrintQueue.h"

#include <QString>
#include <memory>

class QPainter;
class QPrinter;
class QTemporaryFile;

namespace TDInvoice::Report {

class TPrinterSettings;

class TPrintJob {
public:
  // A job for the printer settings.device(). The settings are applied to the printer and
  // its resolution and offsets read back into them. "Printer not ready" (EReportError)
  // when the job cannot be prepared.
  static std::unique_ptr<TPrintJob> toPrinter(TPrinterSettings &settings, const QString &title);
  // A job written as a PDF file; fileName is only replaced when the job finishes.
  static std::unique_ptr<TPrintJob> toFile(TPrinterSettings &settings, const QString &fileName,
                                           const QString &title);
  ~TPrintJob(); // aborts a job not finished
  TPrintJob(const TPrintJob &) = delete;
  TPrintJob &operator=(const TPrintJob &) = delete;

  QPrinter &printer() { return *m_printer; }
  // The painter of the next page; the first call opens the document.
  QPainter &beginPage();
  int pageCount() const { return m_pages; }
  // Delivers the pages (a job without pages delivers nothing). EReportError when that fails;
  // the temporary file is gone either way.
  void finish();
  void abort();
  bool isOpen() const { return m_state == State::Open; }
  const TPrintTicket &ticket() const { return m_ticket; }
  QString spoolFileName() const; // empty when the job paints on the platform printer

private:
  enum class Kind { Queue, File, Platform };
  enum class State { Open, Finished, Aborted };
  TPrintJob(Kind kind, const QString &title);
  void openSpool();
  void closePainter();
  void deliverToFile();
  void removeSpool();

  Kind m_kind;
  State m_state = State::Open;
  QString m_title, m_fileName;
  TPrintTicket m_ticket;
  std::unique_ptr<QPrinter> m_printer;
  std::unique_ptr<QPainter> m_painter;
  std::unique_ptr<QTemporaryFile> m_spool;
  int m_pages = 0;
};

} // namespace TDInvoice::Report
