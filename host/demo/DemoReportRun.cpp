#include "host/demo/DemoReportRun.h"

#include "TDInvoice/SharedAllocator.h"
#include "framework/db/AnsiText.h"
#include "host/testhost/TestHost.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>

#include <sqlite3.h>

namespace TDInvoice::Demo {
namespace {

// Whether the database has an Invoices table, read without changing the file.
bool hasInvoicesTable(const QString &path, std::string &problem) {
  sqlite3 *db = nullptr;
  const int opened = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  bool found = false;
  sqlite3_stmt *statement = nullptr;
  if (opened == SQLITE_OK &&
      sqlite3_prepare_v2(db,
                         "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'Invoices'",
                         -1, &statement, nullptr) == SQLITE_OK) {
    const int step = sqlite3_step(statement);
    found = step == SQLITE_ROW;
    if (step != SQLITE_ROW && step != SQLITE_DONE)
      problem = sqlite3_errmsg(db);
  } else {
    problem = db ? sqlite3_errmsg(db) : "out of memory";
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return found;
}

// The test host's packet callback keeps every SQL text it is sent, for tests to inspect; over a
// run of thousands of invoices that log would grow without bound, so the demo answers packets
// itself, from the same host.
TShortStringList *answerDataPacket(const char *SQL) {
  Host::TestHost *host = Host::TestHost::current();
  if (!host)
    throw Exception("No demo database is open");
  return host->packetFor(SQL ? Ado::fromAnsi(SQL) : QString());
}

int countInvoices(Host::TestHost &host, const QString &sql, const QString &clause) {
  try {
    return static_cast<int>(host.query(sql).rows.size());
  } catch (const Exception &error) {
    std::string hint;
    if (!clause.trimmed().startsWith(QLatin1String("WHERE"), Qt::CaseInsensitive))
      hint = " (the clause follows \"FROM Invoices\", so it usually starts with WHERE)";
    throw EDemoError("the --invoices clause does not work: " + std::string(error.what()) + hint +
                     "\n  SQL: " + sql.toStdString());
  }
}

} // namespace

void checkDemoDatabase(const QString &path) {
  if (!QFileInfo(path).isFile())
    throw EDemoError("database not found: " + path.toStdString());
  std::string problem;
  if (hasInvoicesTable(path, problem))
    return;
  if (!problem.empty())
    throw EDemoError("cannot read the database " + path.toStdString() + ": " + problem);
  throw EDemoError(path.toStdString() +
                   " has no Invoices table; make a demo database with tdinvoice demo-db");
}

TDemoReportRun::TDemoReportRun(TCreateInvoiceReport createInvoiceReport,
                               const TReportRequest &request) {
  checkDemoDatabase(request.database);
  if (!request.sort.trimmed().isEmpty())
    if (const std::string problem = sortProblem(request.sort); !problem.empty())
      throw EDemoError("--sort: " + problem);
  FHost = std::make_unique<Host::TestHost>(request.database);
  // Packets go straight from the host to the library in memory: packing them hard only costs
  // time on both sides.
  FHost->packetOptions().compressionLevel = 1;
  const QString sql = invoiceSql(request.invoices);
  FInvoiceCount = countInvoices(*FHost, sql, request.invoices);
  if (FInvoiceCount == 0)
    throw EDemoError("no invoices match: " + sql.toStdString());
  try {
    createReport(createInvoiceReport, request, sql);
  } catch (...) {
    release();
    throw;
  }
}

void TDemoReportRun::createReport(TCreateInvoiceReport createInvoiceReport,
                                  const TReportRequest &request, const QString &sql) {
  FBaseline = sharedBlockCount();
  const TDemoVariant &variant = *request.variant;
  createInvoiceReport(FReport, nullptr, variant.PaymentType, variant.WithCard, variant.Extended);
  if (!FReport)
    throw EDemoError("CreateInvoiceReport returned no report");
  FReport->SetOnGetLocations(&Host::TestHost::OnGetLocations);
  FReport->SetOnGetDataPacket(&answerDataPacket);
  FReport->SetOnGetInvoiceMessage(&Host::TestHost::OnGetInvoiceMessage);
  FReport->SetOnGetFamilyChildren(&Host::TestHost::OnGetFamilyChildren);
  FReport->SetOnGetInvoiceFundingKeys(&Host::TestHost::OnGetInvoiceFundingKeys);
  FReport->SetOnFillInvoiceHistory(&Host::TestHost::OnFillInvoiceHistory);
  FHost->makeCurrent();
  const QByteArray sqlText = sql.toLocal8Bit();
  FReport->LoadDataSet(sqlText.constData());
  if (!request.sort.trimmed().isEmpty())
    FReport->SetSort(request.sort.trimmed().toLatin1().constData());
  FComponent = FReport->GetReport();
  if (!FComponent)
    throw EDemoError("the invoice library gave no report component (GetReport returned nothing)");
}

std::int64_t TDemoReportRun::release() {
  if (!FReport)
    return 0;
  FReport->ReleaseReport();
  FReport->Release();
  FReport = nullptr;
  FComponent = nullptr;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return sharedBlockCount() - FBaseline;
}

TDemoReportRun::~TDemoReportRun() { release(); }

} // namespace TDInvoice::Demo
