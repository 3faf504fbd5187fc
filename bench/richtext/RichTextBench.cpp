// A 20 KB formatted message laid out into the invoice message box: 135.7 mm wide at 96 dpi.
// Target: at most 2 ms per layout, measured from a released cache (text measured afresh).
#include "report/output/RecordingCanvas.h"
#include "report/richtext/RtfFormatter.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace TDInvoice::Report;

QByteArray message() {
  QByteArray rtf(
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3081{\\fonttbl{\\f0\\fswiss\\fcharset0 "
      "Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}}\r\n{\\colortbl ;\\red0\\green77"
      "\\blue187;}\r\n\\viewkind4\\uc1\\pard\\sa120\\f0\\fs18 ");
  const char *const sentences[] = {
      "The centre will be closed on {\\b Monday 26 January} for the public holiday. ",
      "Fees are charged for booked days as the {\\i Child Care Benefit} rules require. ",
      "Please make sure your {\\cf1\\ul contact details} are up to date at the office. ",
      "Payments by direct credit take up to three business days to reach our account. ",
      "Caf\\'e9 lunches for the children are \\ldblquote healthy\\rdblquote  and nut free. ",
  };
  int n = 0;
  while (rtf.size() < 20 * 1024) {
    for (int s = 0; s < 7; ++s)
      rtf += sentences[(n + s) % 5];
    rtf += (n % 4 == 3) ? "\\line " : "\\par\r\n";
    if (n % 6 == 5)
      rtf +=
          "\\pard\\tx2000\\tqr\\tx7000 Week ending\\tab 14 February\\tab $1,234.50\\par\r\n\\pard"
          "\\sa120 ";
    ++n;
  }
  rtf += "}";
  return rtf;
}

struct Fixture {
  TRecordingCanvas canvas{QSize(794, 1123), 96, 96};
  QRect box{48, 0, static_cast<int>(std::lround(135.7 / 25.4 * 96)), 1000000};
  TRtfFormatter formatter;
  Fixture() {
    TFontSpec font;
    font.pointSize = 9;
    formatter.setContent(message(), font, TTextAlign::Left);
  }
};

void BM_LayoutFromReleasedCache(benchmark::State &state) {
  Fixture f;
  for (auto _ : state) {
    f.formatter.releaseCache();
    benchmark::DoNotOptimize(f.formatter.format(f.canvas, f.box, 0, false));
  }
  state.counters["rtf_bytes"] = static_cast<double>(message().size());
  state.counters["positions"] = f.formatter.textLength();
}
BENCHMARK(BM_LayoutFromReleasedCache)->Unit(benchmark::kMillisecond);

void BM_LayoutWithMeasuredText(benchmark::State &state) {
  Fixture f;
  f.formatter.format(f.canvas, f.box, 0, false);
  for (auto _ : state)
    benchmark::DoNotOptimize(f.formatter.format(f.canvas, f.box, 0, false));
}
BENCHMARK(BM_LayoutWithMeasuredText)->Unit(benchmark::kMillisecond);

void BM_LayoutAndRecord(benchmark::State &state) {
  Fixture f;
  for (auto _ : state) {
    f.formatter.releaseCache();
    benchmark::DoNotOptimize(f.formatter.format(f.canvas, f.box, 0, true));
    state.PauseTiming();
    f.canvas.takePage();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LayoutAndRecord)->Unit(benchmark::kMillisecond);

void BM_ReadAndLayout(benchmark::State &state) {
  Fixture f;
  const QByteArray rtf = message();
  TFontSpec font;
  for (auto _ : state) {
    TRtfFormatter formatter;
    formatter.setContent(rtf, font, TTextAlign::Left);
    benchmark::DoNotOptimize(formatter.format(f.canvas, f.box, 0, false));
  }
}
BENCHMARK(BM_ReadAndLayout)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
