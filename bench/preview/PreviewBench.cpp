// Time from the start of a 500-page preview run to page 1 on view in the preview window.
// The window is closed as soon as the page is there, which cancels the rest of the run.
#include "PreviewTestSupport.h"

#include "report/preview/PreviewPage.h"
#include "report/preview/PreviewWindow.h"
#include "report/preview/ReportPreviewer.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace TDInvoice::Report;
using namespace TDInvoice::Report::Testing;

namespace {

void BM_PreviewFirstPage(benchmark::State &state) {
  const int pages = static_cast<int>(state.range(0));
  for (auto _ : state) {
    SyntheticReport synthetic(pages, 10);
    TReportPreviewer previewer(*synthetic.report);
    TPreviewWindow *window = nullptr;
    previewer.setWindowHook([&window](TPreviewWindow &w) { window = &w; });
    std::chrono::steady_clock::time_point shown;
    bool seen = false;
    synthetic.beforeRecord = [&](int) {
      if (!seen && window && window->pageImage()->page()) {
        shown = std::chrono::steady_clock::now();
        seen = true;
        QMetaObject::invokeMethod(
            window, [window] { window->close(); }, Qt::QueuedConnection);
      }
    };
    const auto start = std::chrono::steady_clock::now();
    synthetic.report->preview();
    if (!seen) {
      state.SkipWithError("page 1 was never shown");
      return;
    }
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
  }
}

} // namespace

BENCHMARK(BM_PreviewFirstPage)->Arg(500)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
