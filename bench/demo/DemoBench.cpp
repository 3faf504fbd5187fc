// The demo host at scale: invoices per second to PDF through the loaded library (1,000
// generated invoices, in this process), and tdinvoice's peak resident set for 100, 1,000 and
// 5,000 invoices and for the 2,000-invoice soak (each a child process, the shared allocator's
// blocks checked back at baseline).
#include "ChildRun.h"

#include "TDInvoice/Application.h"
#include "TDInvoice/SharedAllocator.h"
#include "host/InvoiceLibrary.h"
#include "host/demo/DemoDatabase.h"
#include "host/demo/DemoGenerator.h"
#include "host/demo/DemoReportRun.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace TDInvoice::Bench {
namespace {

QTemporaryDir *gDir = nullptr;
Host::TInvoiceLibrary *gLibrary = nullptr;

// A generated database of that many families, made once per run of the program.
QString database(int families) {
  const QString path = gDir->filePath(QStringLiteral("demo-%1.sqlite").arg(families));
  if (!QFile::exists(path))
    Demo::writeDemoDatabase(path, Demo::generateDemoSql(families));
  return path;
}

void BM_InvoicesToPdf(benchmark::State &state) {
  const int invoices = static_cast<int>(state.range(0));
  const QString db = database(invoices);
  const QByteArray pdf = gDir->filePath(QStringLiteral("throughput.pdf")).toLocal8Bit();
  int pages = 0;
  for (auto _ : state) {
    Demo::TDemoReportRun run(gLibrary->CreateInvoiceReport, {db, &Demo::demoVariants()[0], {}, {}});
    pages = run.report().exportTo(pdf.constData(), "pdf");
    if (run.release() != 0)
      state.SkipWithError("the report left shared allocator blocks behind");
  }
  state.SetItemsProcessed(state.iterations() * invoices);
  state.counters["invoices_per_s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * invoices), benchmark::Counter::kIsRate);
  state.counters["pages"] = pages;
}
BENCHMARK(BM_InvoicesToPdf)->Arg(1000)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);

std::map<int, double> gPeakMiB;

// What tdinvoice says its peak resident memory was.
double reportedPeakMiB(const std::string &output) {
  const std::string tag = "peak resident memory: ";
  const auto at = output.find(tag);
  return at == std::string::npos ? 0 : std::atof(output.c_str() + at + tag.size());
}

// One tdinvoice pdf run over a database of that many invoices.
void runHost(benchmark::State &state, int invoices) {
  const std::string db = database(invoices).toStdString();
  const std::string pdf = gDir->filePath(QStringLiteral("rss-%1.pdf").arg(invoices)).toStdString();
  TChildRun run;
  for (auto _ : state) {
    run = runChild(
        {TDI_HOST_PROGRAM, "--library", TDI_LIBRARY_PATH, "pdf", pdf, "--db", db, "--no-progress"});
    state.SetIterationTime(run.seconds);
  }
  if (run.exitCode != 0 ||
      run.output.find("shared allocator blocks beyond the baseline: 0") == std::string::npos ||
      run.output.find("shared allocator blocks in use: 0") == std::string::npos) {
    std::fprintf(stderr, "%s\n", run.output.c_str());
    state.SkipWithError("tdinvoice failed or did not give back every shared allocator block");
    return;
  }
  const double peak = reportedPeakMiB(run.output);
  gPeakMiB[invoices] = peak;
  state.counters["peak_rss_MiB"] = peak;
  state.counters["invoices_per_s"] = invoices / run.seconds;
  // On a busy machine the wall clock counts the others' work too; CPU time is tdinvoice's.
  state.counters["invoices_per_cpu_s"] = invoices / run.cpuSeconds;
  std::string growth;
  if (gPeakMiB.count(100) && invoices != 100) {
    state.counters["rss_vs_100"] = peak / gPeakMiB[100];
    char text[64];
    std::snprintf(text, sizeof text, " (%+.1f %% against 100 invoices)",
                  100.0 * (peak / gPeakMiB[100] - 1.0));
    growth = text;
  }
  std::printf("tdinvoice pdf, %d invoices: peak RSS %.1f MiB%s; %.1f invoices/s, %.1f per CPU "
              "second\n",
              invoices, peak, growth.c_str(), invoices / run.seconds, invoices / run.cpuSeconds);
}

void BM_PeakRss(benchmark::State &state) { runHost(state, static_cast<int>(state.range(0))); }
BENCHMARK(BM_PeakRss)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kSecond)
    ->UseManualTime()
    ->Iterations(1);

// The soak: 2,000 invoices in one run, every shared allocator block given back at the end.
void BM_Soak(benchmark::State &state) { runHost(state, 2000); }
BENCHMARK(BM_Soak)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);

} // namespace
} // namespace TDInvoice::Bench

int main(int argc, char **argv) {
  using namespace TDInvoice;
  initialiseSharedAllocator(); // before the library is loaded, as a host does
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QTemporaryDir dir;
  Bench::gDir = &dir;
  Host::TInvoiceLibrary library;
  std::string error;
  if (!library.open(TDI_LIBRARY_PATH, error)) {
    std::fprintf(stderr, "cannot load the library: %s\n", error.c_str());
    return 1;
  }
  TApplication hostApplication(&app);
  TScreen hostScreen(QGuiApplication::primaryScreen(), TScreen::DefaultPixelsPerInch);
  library.InitInvoiceDLL(&hostApplication, &hostScreen);
  Bench::gLibrary = &library;

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  library.FinaliseInvoiceDLL();
  library.close();
  return 0;
}
