#include "report/output/PrintQueue.h"

#include "TDInvoice/Exceptions.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>

namespace TDInvoice::Report {

namespace {

// lp only talks to the local scheduler; it answers at once unless that hangs.
constexpr int kClientTimeoutMs = 60000;

[[noreturn]] void refused(const TPrintTicket &ticket, const QString &reason) {
  throw EReportError(QStringLiteral("The print job \"%1\" could not be sent to %2: %3")
                         .arg(ticket.title, ticket.queue, reason)
                         .toStdString());
}

} // namespace

bool TPrintQueue::spoolsJobs() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
  return true;
#else
  return false;
#endif
}

QString TPrintQueue::clientProgram() {
  return QStandardPaths::findExecutable(QStringLiteral("lp"));
}

QStringList TPrintQueue::arguments(const TPrintTicket &ticket, const QString &file) {
  QStringList args{QStringLiteral("-d"), ticket.queue};
  if (!ticket.title.isEmpty())
    args << QStringLiteral("-t") << ticket.title;
  args << QStringLiteral("-n") << QString::number(std::max(1, ticket.copies));
  if (ticket.copies > 1)
    args << QStringLiteral("-o") << QStringLiteral("collate=true");
  if (!ticket.media.isEmpty())
    args << QStringLiteral("-o") << QStringLiteral("media=") + ticket.media;
  args << QStringLiteral("-o")
       << (ticket.duplex ? QStringLiteral("sides=two-sided-short-edge")
                         : QStringLiteral("sides=one-sided"));
  if (ticket.landscape)
    args << QStringLiteral("-o") << QStringLiteral("landscape");
  if (!ticket.mediaSource.isEmpty())
    args << QStringLiteral("-o") << QStringLiteral("media-source=") + ticket.mediaSource;
  args << file;
  return args;
}

// The keywords CUPS maps to the matching InputSlot of a driver.
QString TPrintQueue::mediaSourceOf(TReportBin bin) {
  switch (bin) {
  case TReportBin::Upper:
    return QStringLiteral("top");
  case TReportBin::Lower:
    return QStringLiteral("bottom");
  case TReportBin::Middle:
    return QStringLiteral("middle");
  case TReportBin::Manual:
    return QStringLiteral("manual");
  case TReportBin::Envelope:
    return QStringLiteral("envelope");
  case TReportBin::LargeCapacity:
    return QStringLiteral("large-capacity");
  case TReportBin::Cassette:
    return QStringLiteral("main");
  default:
    return {};
  }
}

QString TPrintQueue::submit(const TPrintTicket &ticket, const QString &file) {
  const QString program = clientProgram();
  if (program.isEmpty())
    refused(ticket, QStringLiteral("the CUPS client program lp is not installed"));
  QProcess lp;
  lp.start(program, arguments(ticket, file));
  if (!lp.waitForStarted())
    refused(ticket, QStringLiteral("%1 could not be started (%2)").arg(program, lp.errorString()));
  if (!lp.waitForFinished(kClientTimeoutMs)) {
    lp.kill();
    lp.waitForFinished();
    refused(ticket, QStringLiteral("%1 did not answer").arg(program));
  }
  const QString output = QString::fromLocal8Bit(lp.readAllStandardOutput()).trimmed();
  const QString errors = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
  if (lp.exitStatus() != QProcess::NormalExit)
    refused(ticket, QStringLiteral("%1 crashed").arg(program));
  if (lp.exitCode() != 0)
    refused(ticket,
            errors.isEmpty()
                ? QStringLiteral("%1 ended with exit code %2").arg(program).arg(lp.exitCode())
                : errors);
  static const QRegularExpression requestId(QStringLiteral("request id is (\\S+)"));
  return requestId.match(output).captured(1);
}

} // namespace TDInvoice::Report
