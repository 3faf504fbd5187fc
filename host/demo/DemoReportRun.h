// One report run as a host drives it: the test host over a database, then through the loaded
// library CreateInvoiceReport, the six callbacks, LoadDataSet, SetSort and GetReport; at the
// end ReleaseReport and Release, with the shared allocator's blocks counted before and after.
#pragma once

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/InvoiceReport.h"
#include "TDInvoice/ReportComponent.h"
#include "host/demo/DemoOptions.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace TDInvoice::Host {
class TestHost;
}

namespace TDInvoice::Demo {

// A problem the host finds before the library is asked: a missing database, a bad clause.
class EDemoError : public Exception {
public:
  using Exception::Exception;
};

struct TReportRequest {
  QString database; // an existing file
  const TDemoVariant *variant = &demoVariants()[0];
  QString invoices;
  QString sort;
};

// Raises EDemoError unless path is an SQLite file with the demo's Invoices table.
void checkDemoDatabase(const QString &path);

class TDemoReportRun {
public:
  // Everything up to GetReport. Problems of the request raise EDemoError; errors of the
  // library propagate as its exceptions (the report is released on the way out).
  TDemoReportRun(TCreateInvoiceReport createInvoiceReport, const TReportRequest &request);
  ~TDemoReportRun();
  TDemoReportRun(const TDemoReportRun &) = delete;
  TDemoReportRun &operator=(const TDemoReportRun &) = delete;

  int invoiceCount() const { return FInvoiceCount; }
  TReportComponent &report() { return *FComponent; }
  Host::TestHost &host() { return *FHost; }

  // ReleaseReport and Release, then the released form's deferred deletion. Returns the
  // shared allocator blocks still in use beyond those in use before CreateInvoiceReport
  // (0 when everything the report took was given back).
  std::int64_t release();

private:
  void createReport(TCreateInvoiceReport createInvoiceReport, const TReportRequest &request,
                    const QString &sql);

  std::unique_ptr<Host::TestHost> FHost;
  IInvoiceReport *FReport = nullptr;
  TReportComponent *FComponent = nullptr;
  int FInvoiceCount = 0;
  std::int64_t FBaseline = 0;
};

} // namespace TDInvoice::Demo
