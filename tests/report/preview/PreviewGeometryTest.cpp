#include "report/preview/PreviewGeometry.h"

#include <gtest/gtest.h>

namespace TDInvoice::Report {
namespace {

// A4 in screen pixels at 96 ppi.
const QSizeF kA4(210 / 25.4 * 96, 297 / 25.4 * 96);

struct ZoomCase {
  const char *name;
  TZoomMode mode;
  QSizeF page;
  QSize view;
  int expected;
};

class ZoomTest : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomTest, PercentForView) {
  const ZoomCase &c = GetParam();
  EXPECT_EQ(zoomFor(c.mode, c.page, c.view), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ZoomTest,
    ::testing::Values(
        // 800 / 793.7 x 95 = 95.75 against 600 / 1122.5 x 95 = 50.78: the height decides.
        ZoomCase{"FitLimitedByHeight", TZoomMode::Fit, kA4, {800, 600}, 51},
        // 1600 / 793.7 x 95 = 191.5 against 2400 / 1122.5 x 95 = 203.1: the width decides.
        ZoomCase{"FitLimitedByWidth", TZoomMode::Fit, kA4, {1600, 2400}, 192},
        ZoomCase{"WidthIgnoresHeight", TZoomMode::Width, kA4, {800, 600}, 91},
        ZoomCase{"WidthOfNarrowView", TZoomMode::Width, kA4, {400, 3000}, 45},
        ZoomCase{"FullIsAlways100", TZoomMode::Full, kA4, {50, 50}, 100},
        // 5 / 20 x 90 = 22.5 rounds to the even neighbour.
        ZoomCase{"HalfRoundsToEven", TZoomMode::Width, {20, 20}, {5, 5}, 22},
        ZoomCase{"ClampedAtTwo", TZoomMode::Fit, kA4, {10, 10}, 2},
        ZoomCase{"ClampedAt2000", TZoomMode::Width, kA4, {20000, 100}, 2000},
        ZoomCase{"EmptyPageFallsBackTo100", TZoomMode::Fit, {0, 0}, {800, 600}, 100}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PageImageLayoutTest, PaperPlusFourPixelsWithOutlineAndShadow) {
  struct Case {
    int zoom;
    int w, h; // the paper at that zoom: round(793.7 x zoom / 100), round(1122.5 x zoom / 100)
  };
  for (const Case c : {Case{100, 794, 1123}, Case{50, 397, 561}, Case{200, 1587, 2245}}) {
    SCOPED_TRACE(c.zoom);
    const TPageImageLayout layout = pageImageLayout(kA4, c.zoom);
    EXPECT_EQ(layout.imageSize, QSize(c.w + 4, c.h + 4));
    EXPECT_EQ(layout.sheet, QRect(1, 1, c.w, c.h));
    EXPECT_EQ(layout.outline, QRect(0, 0, c.w + 2, c.h + 2));
    // The shadow starts 2 pixels down and right of the outline's corner and ends at the
    // image's edge.
    EXPECT_EQ(layout.shadowRight, QRect(c.w + 2, 2, 2, c.h + 2));
    EXPECT_EQ(layout.shadowBottom, QRect(2, c.h + 2, c.w + 2, 2));
    EXPECT_EQ(layout.shadowRight.bottomRight(), QPoint(c.w + 3, c.h + 3));
  }
}

TEST(PaperOfPageTest, MatchesTheTableInEitherOrientation) {
  struct Case {
    QSizeF mm;
    std::optional<TReportPaperSize> paper;
    TReportOrientation orientation;
  };
  const Case cases[] = {
      {{210, 297}, TReportPaperSize::A4, TReportOrientation::poPortrait},
      {{297, 210}, TReportPaperSize::A4, TReportOrientation::poLandscape},
      // A page recorded at 96 dpi is 794 x 1123 pixels: 210.08 x 297.13 mm.
      {{794 / 96.0 * 25.4, 1123 / 96.0 * 25.4},
       TReportPaperSize::A4,
       TReportOrientation::poPortrait},
      {{210, 148}, TReportPaperSize::A5, TReportOrientation::poLandscape},
      {{215.9, 279.4}, TReportPaperSize::Letter, TReportOrientation::poPortrait},
      {{215.9, 355.6}, TReportPaperSize::Legal, TReportOrientation::poPortrait},
      {{100, 150}, std::nullopt, TReportOrientation::poPortrait},
      {{212, 297}, std::nullopt, TReportOrientation::poPortrait},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.mm.width() << " x " << c.mm.height());
    const auto match = paperOfPage(c.mm);
    ASSERT_EQ(match.has_value(), c.paper.has_value());
    if (match) {
      EXPECT_EQ(match->paper, *c.paper);
      EXPECT_EQ(match->orientation, c.orientation);
    }
  }
}

} // namespace
} // namespace TDInvoice::Report
