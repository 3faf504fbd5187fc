// Handing a finished document to a CUPS print queue through the CUPS client program "lp".
#pragma once

#include "TDInvoice/ReportComponent.h"

#include <QString>
#include <QStringList>

namespace TDInvoice::Report {

// What the queue is asked to do with the document: the options Qt's own CUPS engine sends.
struct TPrintTicket {
  QString queue;
  QString title;
  int copies = 1;
  bool duplex = false; // two-sided, bound on the short edge
  bool landscape = false;
  QString media;       // a page size key: "A4", "Custom.100x50mm"
  QString mediaSource; // an IPP media-source keyword; empty: the printer's choice
};

class TPrintQueue {
public:
  // True where installed printers are CUPS queues, whose jobs Qt cannot abort once begun.
  static bool spoolsJobs();
  // The client program found on PATH, empty when it is not installed.
  static QString clientProgram();
  static QStringList arguments(const TPrintTicket &ticket, const QString &file);
  // The IPP keyword of a bin; empty for Auto and for bins IPP has no name for.
  static QString mediaSourceOf(TReportBin bin);
  // Queues file (which the queue has copied once this returns) and returns the request id
  // that lp reports. EReportError with lp's own message when the queue refuses the job.
  static QString submit(const TPrintTicket &ticket, const QString &file);
};

} // namespace TDInvoice::Report
