// A synthetic report of one page per record: a detail band of 60 labels whose captions a
// BeforePrint handler sets for every record, as the invoice handlers do, run through the
// whole print loop into a recording device. Prints pages per second.
#include "report/engine/MemoryDataSet.h"
#include "report/engine/Report.h"
#include "report/engine/ReportLayout.h"
#include "report/output/ReportPrinter.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <vector>

using namespace TDInvoice::Report;

namespace {

constexpr int kLabels = 60;

struct TSyntheticReport {
  explicit TSyntheticReport(int pages) {
    report = new TReport(&form);
    report->Page().setValues({150.0, 2970.0, 100.0, 2100.0, 150.0, 150.0, 0.0});
    data = new TMemoryDataSet(&form, QStringLiteral("Data"));
    data->setColumns({{QStringLiteral("No"), TReportFieldType::Integer}});
    for (int n = 1; n <= pages; ++n)
      data->appendRow({n});
    report->setDataSet(data);
    TReportBand *detail =
        addBand(*report, {.name = "Detail", .type = TReportBandType::rbDetail, .height = 2700});
    for (int i = 0; i < kLabels; ++i) {
      const bool right = i % 4 == 3;
      TLabelOptions options =
          i % 2 ? TLabelOptions(TLabelOption::AutoSize) : TLabelOptions(TLabelOption::WordWrap);
      labels.push_back(addLabel(
          *detail, {.name = QStringLiteral("lbl%1").arg(i),
                    .box = {right ? 1300.0 : 10.0 + (i % 2) * 700, 20.0 + i * 44, 500, 42},
                    .font = makeFont("Arial", i % 3 == 0 ? 10 : 8,
                                     i % 7 == 0 ? TFontStyles(TFontStyle::Bold) : TFontStyles()),
                    .alignment = right ? TAlignment::taRightJustify : TAlignment::taLeftJustify,
                    .options = options}));
    }
    detail->BeforePrint = [this](TReportCustomBand *, bool &) {
      const int n = data->value(QStringLiteral("No")).toInt();
      for (int i = 0; i < kLabels; ++i)
        labels[static_cast<std::size_t>(i)]->setCaption(
            QStringLiteral("Label %1 of page %2: $%3.50").arg(i).arg(n).arg(n * 7 + i));
    };
  }
  QObject form;
  TReport *report;
  TMemoryDataSet *data;
  std::vector<TReportLabel *> labels;
};

void recordReport(benchmark::State &state) {
  const int pages = static_cast<int>(state.range(0));
  TSyntheticReport synthetic(pages);
  for (auto _ : state) {
    auto printer = synthetic.report->record();
    if (printer->availablePages() != pages)
      state.SkipWithError("wrong page count");
    benchmark::DoNotOptimize(printer.get());
  }
  state.counters["pages/s"] =
      benchmark::Counter(static_cast<double>(pages) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(recordReport)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
