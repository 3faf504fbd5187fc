// 1,000 invoices of a generated test-host database (8 history lines and 2 weeks of estimated
// fees each) run into the page store through the library's entry point: invoices per second
// and the process's peak resident set.
#include "TDInvoice/InvHistList.h"
#include "TDInvoice/InvoiceReport.h"
#include "TDInvoice/SharedAllocator.h"
#include "framework/ApplicationObjects.h"
#include "host/testhost/TestHost.h"
#include "invoice/InvoiceReportForm.h"
#include "library/Invoice.h"
#include "report/engine/Report.h"
#include "report/output/ReportPrinter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDate>
#include <QEvent>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

extern "C" void CreateInvoiceReport(TDInvoice::IInvoiceReport *&Report, QObject *Owner,
                                    std::int32_t PaymentType, std::int16_t WithCard,
                                    std::int16_t Extended);

namespace TDInvoice::Bench {
namespace {

constexpr int kInvoices = 1000;

int dayOf(int year, int month, int day) {
  return static_cast<int>(QDate(1899, 12, 30).daysTo(QDate(year, month, day)));
}

QString money(int cents) {
  return QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
}

// The lookups and payment terms every invoice shares.
void addService(Host::TestHost &host) {
  host.execute(QStringLiteral(
      "INSERT INTO [User Details] VALUES ('Gumnut Grove Child Care', '12 Wattle Street, "
      "Ashfield', '02 9555 0100', '53004085616', '123456', '062-000', '1234 5678', 2, 6, 15, 0, "
      "'office@gumnut.example');"
      "INSERT INTO HostLocations VALUES (1, 1, 'Main', 4), (2, 2, 'Annex', 1);"
      "INSERT INTO Funding VALUES (1, 4, 'LDC-4401'), (2, 1, 'ASC-2201');"
      "INSERT INTO SessionTypes VALUES (1, 'AM'), (2, 'PM'), (3, 'Full');"
      "INSERT INTO ChargeTypes VALUES (1, 'Session fee'), (2, 'Excursion levy'), (3, 'Late fee');"
      "CREATE INDEX ChildParent ON Child (ParentID);"
      "CREATE INDEX PendingInvoice ON UnresolvedAttendances (InvoiceNo);"
      "CREATE INDEX BookingRecord ON BookingCharges (AttRecNo);"
      "CREATE INDEX ChargeRecord ON Charges (AttRecNo);"
      "CREATE INDEX AbsenceInvoice ON AbsencesUsed (InvoiceNo);"
      "CREATE INDEX NoteParent ON InvoiceNotes (ParentID);"));
  for (int week = 0; week < 4; ++week) {
    const int close = dayOf(2009, 1, 4) + 7 * week;
    host.execute(QStringLiteral("INSERT INTO InvoiceDebitDates VALUES (%1, %2);"
                                "INSERT INTO HostInvoiceMessages VALUES (%1, '{\\rtf1\\ansi "
                                "Fees for the new term are due by the first week.\\par}');")
                     .arg(close)
                     .arg(close + 16));
  }
}

// One family's account, invoice, history (8 entries) and two weeks of pending charges.
QString familySql(int n, int &attendance) {
  const int invoice = 10000 + n;
  const int close = dayOf(2009, 1, 4) + 7 * (n % 4);
  const int stamp = static_cast<int>(QDate(2000, 1, 1).daysTo(QDate(2009, 1, 5))) * 86400;
  QString sql =
      QStringLiteral("INSERT INTO Parents VALUES (%1, 'Family%1', 'Account Holder %1', '%2', '%1 "
                     "Banksia Avenue', 'Ashfield NSW 2131', %3, %4, 0);"
                     "INSERT INTO Child VALUES (%3, %1, 'Amy', 'Family%1', 'Kindy'), (%5, %1, "
                     "'Max', 'Family%1', NULL);"
                     "INSERT INTO Invoices VALUES (%6, '2009-01-05 09:00', %7, %8, %1);"
                     "INSERT INTO HostFundingKeys VALUES (%6, 1, 1, 4), (%6, 2, 2, 1);"
                     "INSERT INTO AbsencesUsed VALUES (%6, %3, %9), (%6, %5, 1);")
          .arg(n)
          .arg(100000 + n)
          .arg(2 * n)
          .arg(n % 3 == 0 ? 1 : 0)
          .arg(2 * n + 1)
          .arg(invoice)
          .arg(money(12000 + n))
          .arg(close)
          .arg(n % 7);
  if (n % 3 == 0)
    sql += QStringLiteral("INSERT INTO InvoiceNotes VALUES (%1, 'Please label hats.');").arg(n);
  const QString history = QStringLiteral(
      "INSERT INTO HostHistory (InvoiceNo, Position, Kind, Stamp, EntryAmount, WeekEndDate, "
      "ChildOrMethod, CareType, Sessions, CCBRate, CCBPercent, CCBHours, FeeAmount, ChargedHours, "
      "CCBAmount, CCBEntry, CareTypeAbbrev, EnrolmentId, EntryText) VALUES (%1, %2, %3, %4, %5, "
      "%6, %7, 4, 5, 104.51, 100, 40, %8, 40.25, 120.00, 1, 'LDC', '%9', 'Late pick-up');");
  int position = 0;
  auto entry = [&](int kind, int offset, int amount, int weekEnd, int childOrMethod) {
    sql += history.arg(invoice)
               .arg(++position)
               .arg(kind)
               .arg(stamp + offset * 3600)
               .arg(money(amount))
               .arg(weekEnd)
               .arg(childOrMethod)
               .arg(money(amount + 12000))
               .arg(kind == kHistCharge ? QStringLiteral("E%1").arg(childOrMethod) : QString());
  };
  entry(kHistBalanceForward, 0, 8000, 0, 0);
  for (int week = 0; week < 2; ++week)
    for (int child = 0; child < 2; ++child)
      entry(kHistCharge, 1 + week, 23500, close - 7 + 7 * week, 2 * n + child);
  entry(kHistPayment, 3, 20000, close, 2);
  entry(kHistPayment, 4, 5000, close, 6);
  entry(kHistText, 5, 1250, 0, 0);
  for (int week = 0; week < 2; ++week)
    for (int child = 0; child < 2; ++child)
      for (int day = 0; day < 2; ++day) {
        const int record = ++attendance;
        const int session = close + 1 + 7 * week + 2 * day;
        sql += QStringLiteral("INSERT INTO UnresolvedAttendances VALUES (%1, %2);"
                              "INSERT INTO BookingCharges VALUES (%1, %3, %4, %5);"
                              "INSERT INTO Charges VALUES (%1, %3, %4, %5, 1, 45.50);")
                   .arg(record)
                   .arg(invoice)
                   .arg(2 * n + child)
                   .arg(1 + day)
                   .arg(session);
      }
  return sql;
}

Host::TestHost &fixture() {
  static Host::TestHost *host = [] {
    auto *made = new Host::TestHost(QStringLiteral(":memory:"));
    addService(*made);
    made->execute(QStringLiteral("BEGIN"));
    int attendance = 0;
    for (int n = 1; n <= kInvoices; ++n)
      made->execute(familySql(n, attendance));
    made->execute(QStringLiteral("COMMIT"));
    return made;
  }();
  host->makeCurrent();
  return *host;
}

double peakResidentMB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// User and system time of the process, seconds: the machine may be shared, so the rate per
// second of processor time is reported beside the rate per second of wall time.
double processorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval &t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_InvoicesIntoPageStore(benchmark::State &state) {
  fixture();
  int pages = 0;
  double processor = 0;
  for (auto _ : state) {
    const std::int64_t blocks = sharedBlockCount();
    const double started = processorSeconds();
    IInvoiceReport *report = nullptr;
    CreateInvoiceReport(report, nullptr, 1, 0, 0);
    const Intake::THostCallbacks callbacks = Host::TestHost::callbacks();
    report->SetOnGetLocations(callbacks.OnGetLocations);
    report->SetOnGetDataPacket(callbacks.OnGetDataPacket);
    report->SetOnGetInvoiceMessage(callbacks.OnGetInvoiceMessage);
    report->SetOnGetFamilyChildren(callbacks.OnGetFamilyChildren);
    report->SetOnGetInvoiceFundingKeys(callbacks.OnGetInvoiceFundingKeys);
    report->SetOnFillInvoiceHistory(callbacks.OnFillInvoiceHistory);
    report->LoadDataSet("SELECT InvoiceNo, IssueDT, CloseBal, CloseDate, ParentID FROM Invoices "
                        "ORDER BY InvoiceNo");
    auto *engineReport = static_cast<TInvoice *>(report)->form()->Report1();
    const std::unique_ptr<Report::TReportPrinter> store = engineReport->record();
    pages = store->availablePages();
    report->ReleaseReport();
    report->Release();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    processor += processorSeconds() - started;
    if (sharedBlockCount() != blocks)
      state.SkipWithError("the report left shared allocator blocks behind");
  }
  state.counters["invoices_per_s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kInvoices, benchmark::Counter::kIsRate);
  state.counters["invoices_per_cpu_s"] =
      static_cast<double>(state.iterations()) * kInvoices / processor;
  state.counters["pages"] = pages;
  state.counters["peak_rss_MB"] = peakResidentMB();
}
BENCHMARK(BM_InvoicesIntoPageStore)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
} // namespace TDInvoice::Bench

int main(int argc, char **argv) {
  TDInvoice::initialiseSharedAllocator();
  TDInvoice::createOwnApplicationObjects();
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  TDInvoice::destroyOwnApplicationObjects();
  return 0;
}
