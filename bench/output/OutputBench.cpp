// A synthetic 2,000-page run: about 60 labels and a few rectangles and lines per page,
// recorded through the recording canvas into the page store, then exported as PDF. Also
// prints how much the peak resident set grows between 100 and 2,000 recorded pages.
#include "report/output/Exporters.h"
#include "report/output/ReportPageList.h"
#include "report/output/ReportPrinter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

using namespace TDInvoice::Report;

namespace {

constexpr int kPages = 2000;
constexpr int kLabels = 60;

void drawPage(TReportPrinter &printer, int n) {
  TCanvas &canvas = printer.canvas();
  for (int i = 0; i < kLabels; ++i) {
    canvas.Font.pointSize = i % 3 == 0 ? 10 : 8;
    canvas.Font.bold = i % 7 == 0;
    const TTextAlign align = i % 4 == 3 ? TTextAlign::Right : TTextAlign::Left;
    const double x = align == TTextAlign::Right ? 1900 : 150 + (i % 2) * 900;
    canvas.textOut(printer.xPos(x), printer.yPos(200 + i * 42),
                   QStringLiteral("Label %1 of page %2: $%3.50").arg(i).arg(n).arg(n * 7 + i),
                   align);
  }
  canvas.Brush.solid = false;
  for (int r = 0; r < 3; ++r)
    canvas.rectangle(QRect(printer.xPos(100), printer.yPos(150 + r * 900), printer.xSize(1900),
                           printer.ySize(800)));
  for (int l = 0; l < 4; ++l)
    canvas.line(QPoint(printer.xPos(100), printer.yPos(180 + l * 700)),
                QPoint(printer.xPos(2000), printer.yPos(180 + l * 700)));
}

std::unique_ptr<TReportPrinter> record(int pages, const std::function<void(int)> &afterPage = {}) {
  auto printer = std::make_unique<TReportPrinter>(TPrinterDestination::Record);
  printer->beginDoc();
  for (int n = 1; n <= pages; ++n) {
    printer->newPage();
    drawPage(*printer, n);
    if (afterPage)
      afterPage(n);
  }
  printer->endDoc();
  return printer;
}

long peakRssKB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly))
    return -1;
  for (const QByteArray &line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:"))
      return line.mid(6).trimmed().split(' ').first().toLong();
  return -1;
}

void BM_Record(benchmark::State &state) {
  for (auto _ : state) {
    auto printer = record(kPages);
    benchmark::DoNotOptimize(printer->pageCount());
  }
  state.counters["pages/s"] =
      benchmark::Counter(double(kPages) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Record)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

void BM_ExportPdf(benchmark::State &state) {
  const auto printer = record(kPages);
  const QString file = QDir::temp().filePath(QStringLiteral("output_bench.pdf"));
  for (auto _ : state)
    benchmark::DoNotOptimize(exportPdf(*printer->pageStore(), file, QStringLiteral("Bench")));
  state.counters["pages/s"] =
      benchmark::Counter(double(kPages) * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["MB"] = double(QFile(file).size()) / 1e6;
  QFile::remove(file);
}
BENCHMARK(BM_ExportPdf)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

// Peak RSS (VmHWM) after 100 and after 2,000 recorded pages, in one fresh run.
void printRssGrowth() {
  long at100 = 0;
  const auto printer = record(kPages, [&](int n) {
    if (n == 100)
      at100 = peakRssKB();
  });
  const long at2000 = peakRssKB();
  std::printf("recording peak RSS: %ld KB at 100 pages, %ld KB at %d pages, growth %.1f MB "
              "(store %.1f MB, in a temporary file: %s)\n",
              at100, at2000, kPages, (at2000 - at100) / 1024.0,
              double(printer->pageStore()->stream().size()) / 1e6,
              printer->pageStore()->stream().spilled() ? "yes" : "no");
}

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  printRssGrowth();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
