// Units, page values and band geometry.
#include "EngineTestSupport.h"

#include "report/engine/ReportUnits.h"

#include <cmath>

namespace TDInvoice::Testing {
namespace {

struct TConversionCase {
  const char *name;
  TReportUnit unit;
  TReportAxis axis;
  TUnitContext context;
  double native;
  double value;
};

class UnitConversion : public ::testing::TestWithParam<TConversionCase> {};

TEST_P(UnitConversion, ConvertsBothWays) {
  const TConversionCase &c = GetParam();
  EXPECT_NEAR(unitFromNative(c.native, c.unit, c.axis, c.context), c.value, 1e-9);
  EXPECT_NEAR(nativeFromUnit(c.value, c.unit, c.axis, c.context), c.native, 1e-9);
}

// Character cells: 80 / s / 2.54 mm across and 145.3 / s / 2.54 mm down at point size s.
constexpr double kCellAcross10 = 80.0 / 10 / 2.54;
constexpr double kCellDown12 = 145.3 / 12 / 2.54;

INSTANTIATE_TEST_SUITE_P(
    Units, UnitConversion,
    ::testing::Values(
        TConversionCase{"MM", TReportUnit::MM, TReportAxis::Vertical, {}, 150.0, 15.0},
        TConversionCase{"Inches", TReportUnit::Inches, TReportAxis::Horizontal, {}, 127.0, 0.5},
        TConversionCase{
            "PixelsBand", TReportUnit::Pixels, TReportAxis::Vertical, {}, 500.0625, 189.0},
        TConversionCase{"PixelsWidth",
                        TReportUnit::Pixels,
                        TReportAxis::Horizontal,
                        {},
                        640.2916666666666,
                        242.0},
        TConversionCase{"PixelsZoom200",
                        TReportUnit::Pixels,
                        TReportAxis::Vertical,
                        {96, 200, 10},
                        500.0625,
                        378.0},
        TConversionCase{"PixelsOtherScreen",
                        TReportUnit::Pixels,
                        TReportAxis::Vertical,
                        {120, 100, 10},
                        254.0,
                        120.0},
        TConversionCase{"CharactersAcross",
                        TReportUnit::Characters,
                        TReportAxis::Horizontal,
                        {96, 100, 10},
                        10 * kCellAcross10 * 8,
                        8.0},
        TConversionCase{"CharactersDown",
                        TReportUnit::Characters,
                        TReportAxis::Vertical,
                        {96, 100, 12},
                        10 * kCellDown12 * 3,
                        3.0},
        TConversionCase{"Native", TReportUnit::Native, TReportAxis::Vertical, {}, 123.4, 123.4}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PixelSizes, SetAtRunTimeConvertBackExactly) {
  QObject form;
  TReport report(&form);
  TReportLabel *label = addLabel(report, {.name = "lbl", .box = {0, 0, 100, 45}});
  label->setWidth(242);
  EXPECT_DOUBLE_EQ(label->nativeWidth(), 242 * 254.0 / 96.0);
  EXPECT_NEAR(label->nativeWidth(), 640.2916666666666, 1e-9);
  EXPECT_EQ(label->Width(), 242);

  TReportBand *band = addBand(report, {.name = "b", .height = 100});
  band->setHeight(189);
  EXPECT_DOUBLE_EQ(band->length(), 500.0625);
  band->Size().setNativeValue(TReportBandSize::LengthIndex, 500.0625);
  EXPECT_EQ(band->Height(), 189);
  // 107 px is 283.1041666... native.
  band->setHeight(107);
  EXPECT_NEAR(band->length(), 283.1041666666667, 1e-9);
}

TEST(PixelSizes, ReadingInPixelsFollowsTheZoom) {
  TReport report;
  TReportBand *band = addBand(report, {.name = "b", .height = 500.0625});
  band->Size().setUnits(TReportUnit::Pixels);
  EXPECT_DOUBLE_EQ(band->Size().Height(), 189.0);
  report.setZoom(200);
  EXPECT_DOUBLE_EQ(band->Size().Height(), 378.0);
  band->Size().setHeight(189.0);
  EXPECT_DOUBLE_EQ(band->length(), 500.0625 / 2);
}

class PageTest : public EngineTest {};

TEST_F(PageTest, StoredValuesGiveTheInvoiceMargins) {
  TReportPage &page = report->Page();
  page.setUnits(TReportUnit::MM);
  EXPECT_DOUBLE_EQ(page.BottomMargin(), 15.0);
  EXPECT_DOUBLE_EQ(page.TopMargin(), 10.0);
  EXPECT_DOUBLE_EQ(page.LeftMargin(), 15.0);
  EXPECT_DOUBLE_EQ(page.RightMargin(), 15.0);
  EXPECT_DOUBLE_EQ(page.Length(), 297.0);
  page.setUnits(TReportUnit::Native);
  EXPECT_DOUBLE_EQ(page.Width() - page.LeftMargin() - page.RightMargin(), 1800.0);
  // Value access by index follows the stored order.
  const std::vector<double> stored{150.0, 2970.0, 100.0, 2100.0, 150.0, 150.0, 0.0};
  for (int i = 0; i < 7; ++i)
    EXPECT_DOUBLE_EQ(page.value(i), stored[static_cast<std::size_t>(i)]) << i;
}

struct TPaperCase {
  TReportPaperSize paper;
  TReportOrientation orientation;
};

class PaperTest : public EngineTest, public ::testing::WithParamInterface<TPaperCase> {};

TEST_P(PaperTest, PaperFillsWidthAndLengthSwappedForLandscape) {
  const auto [paper, orientation] = GetParam();
  TReportPage &page = report->Page();
  page.setOrientation(orientation);
  page.setPaperSize(paper);
  const QSizeF mm = paperSizeMM(paper);
  const bool landscape = orientation == TReportOrientation::poLandscape;
  EXPECT_DOUBLE_EQ(page.nativeValue(TReportPage::WidthIndex),
                   (landscape ? mm.height() : mm.width()) * 10);
  EXPECT_DOUBLE_EQ(page.nativeValue(TReportPage::LengthIndex),
                   (landscape ? mm.width() : mm.height()) * 10);
  EXPECT_EQ(page.PaperSize(), paper);
  EXPECT_EQ(page.Units(), TReportUnit::MM); // the unit the page had
}

INSTANTIATE_TEST_SUITE_P(
    Papers, PaperTest,
    ::testing::Values(TPaperCase{TReportPaperSize::A4, TReportOrientation::poPortrait},
                      TPaperCase{TReportPaperSize::A4, TReportOrientation::poLandscape},
                      TPaperCase{TReportPaperSize::Letter, TReportOrientation::poPortrait},
                      TPaperCase{TReportPaperSize::Env9, TReportOrientation::poLandscape}));

TEST_F(PageTest, LandscapeA4IsWiderThanLong) {
  report->Page().setPaperSize(TReportPaperSize::A4);
  report->Page().setOrientation(TReportOrientation::poLandscape);
  EXPECT_DOUBLE_EQ(report->Page().nativeValue(TReportPage::WidthIndex), 2970.0);
  EXPECT_DOUBLE_EQ(report->Page().nativeValue(TReportPage::LengthIndex), 2100.0);
}

TEST_F(PageTest, LengthAndWidthWritesNeedCustomPaper) {
  TReportPage &page = report->Page();
  page.setUnits(TReportUnit::MM);
  page.setLength(100.0);
  page.setWidth(100.0);
  EXPECT_DOUBLE_EQ(page.Length(), 297.0);
  EXPECT_DOUBLE_EQ(page.Width(), 210.0);
  page.setTopMargin(20.0); // other values are always written
  EXPECT_DOUBLE_EQ(page.nativeValue(TReportPage::TopMarginIndex), 200.0);

  page.setPaperSize(TReportPaperSize::Custom);
  page.setLength(100.0);
  page.setWidth(80.0);
  EXPECT_DOUBLE_EQ(page.nativeValue(TReportPage::LengthIndex), 1000.0);
  EXPECT_DOUBLE_EQ(page.nativeValue(TReportPage::WidthIndex), 800.0);
}

TEST_F(PageTest, ColumnsAcceptOnlyPositiveCounts) {
  report->Page().setColumns(3);
  for (int refused : {0, -2})
    report->Page().setColumns(refused);
  EXPECT_EQ(report->Page().Columns(), 3);
}

TEST_F(PageTest, NewReportFollowsTheMetricLocale) {
  // The tests run in the C locale, which measures in metric units.
  TReport fresh;
  EXPECT_EQ(fresh.Page().PaperSize(), TReportPaperSize::A4);
  EXPECT_EQ(fresh.Units(), TReportUnit::MM);
  for (int index : {TReportPage::TopMarginIndex, TReportPage::BottomMarginIndex,
                    TReportPage::LeftMarginIndex, TReportPage::RightMarginIndex})
    EXPECT_DOUBLE_EQ(fresh.Page().nativeValue(index), 100.0);
  EXPECT_TRUE(fresh.Options().testFlag(TReportOption::FirstPageHeader));
  EXPECT_TRUE(fresh.Options().testFlag(TReportOption::LastPageFooter));
  EXPECT_FALSE(fresh.Options().testFlag(TReportOption::Compression));
  EXPECT_EQ(fresh.Font().family, QStringLiteral("Arial"));
  EXPECT_DOUBLE_EQ(fresh.Font().pointSize, 10.0);
  EXPECT_TRUE(fresh.ShowProgress());
  for (const char *name : {"PAGENUMBER", "COLUMNNUMBER", "REPORTTITLE"})
    EXPECT_TRUE(fresh.Functions().contains(QString::fromLatin1(name))) << name;
}

class GeometryTest : public EngineTest {};

TEST_F(GeometryTest, OneColumnBandsSpanTheMarginsInWholePixels) {
  TReportBand *detail = addBand(
      *report, {.name = "d", .type = TReportBandType::rbDetail, .height = 283.1041666666667});
  TReportBand *title =
      addBand(*report, {.name = "t", .type = TReportBandType::rbTitle, .height = 100});
  // 794 px of paper less two margins of 56.69 px: 681 px, 1801.8125 native.
  for (TReportBand *band : {detail, title}) {
    EXPECT_EQ(band->Width(), 681);
    EXPECT_DOUBLE_EQ(band->width(), 1801.8125);
    EXPECT_EQ(band->Left(), 57);
  }
  // Bands stack from the top margin on the design surface.
  EXPECT_EQ(detail->Top(), 38);
  EXPECT_EQ(title->Top(), 38 + 107);
}

TEST_F(GeometryTest, ColumnsShareTheWidthExceptFullWidthTypes) {
  report->Page().setNativeValue(TReportPage::ColumnSpaceIndex, 50.0); // 18.9 px -> 19
  report->Page().setColumns(2);
  TReportBand *detail =
      addBand(*report, {.name = "d", .type = TReportBandType::rbDetail, .height = 100});
  TReportBand *header =
      addBand(*report, {.name = "h", .type = TReportBandType::rbPageHeader, .height = 100});
  TReportBand *group =
      addBand(*report, {.name = "g", .type = TReportBandType::rbGroupFooter, .height = 100});
  TReportChildBand *headerChild = addChildBand(*report, *header, {.name = "hc", .height = 50});
  TReportChildBand *detailChild = addChildBand(*report, *detail, {.name = "dc", .height = 50});
  const int column = (681 - 19) / 2;
  EXPECT_EQ(detail->Width(), column);
  EXPECT_EQ(group->Width(), column);
  EXPECT_EQ(detailChild->Width(), column);
  EXPECT_EQ(header->Width(), 681);
  EXPECT_EQ(headerChild->Width(), 681);
  // A change of page values redoes the geometry.
  report->Page().setColumns(1);
  EXPECT_EQ(detail->Width(), 681);
}

} // namespace
} // namespace TDInvoice::Testing
