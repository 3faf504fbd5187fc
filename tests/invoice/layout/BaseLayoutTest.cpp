#include "LayoutWalk.h"

#include "invoice/layout/InvoiceLayouts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace TDInvoice::Layout {
namespace {

using Testing::forEachPrintable;
using Testing::TPlacedPrintable;

struct ExpectedBand {
  std::string_view name;
  TBandClass bandClass;
  TReportBandType type;
  int heightMM10;
  std::string_view master, headerBand, footerBand, linkBand, parentBand;
  std::string_view beforePrint, onNeedData;
};

constexpr auto Band = TBandClass::TReportBand;
constexpr auto Group = TBandClass::TReportGroup;
constexpr auto SubDetail = TBandClass::TReportSubDetail;
constexpr auto Child = TBandClass::TReportChildBand;
using enum TReportBandType;

// The bands of one invoice in print order, as the layout tables list them.
const ExpectedBand kExpectedBands[] = {
    {"grphdrInvoice", Group, rbGroupHeader, 381, "Report1", "", "InvoiceFooter", "", "",
     "grphdrInvoiceBeforePrint", ""},
    {"DetailBand1", Band, rbDetail, 283, "", "", "", "", "", "DetailBand1BeforePrint", ""},
    {"hdrAcctHist", Band, rbGroupHeader, 63, "", "", "", "", "", "hdrAcctHistBeforePrint", ""},
    {"subdtlAcctHist", SubDetail, rbSubDetail, 58, "Report1", "hdrAcctHist", "ftrAcctHist", "", "",
     "subdtlAcctHistBeforePrint", "subdtlAcctHistNeedData"},
    {"ftrAcctHist", Band, rbGroupFooter, 77, "", "", "", "", "", "ftrAcctHistBeforePrint", ""},
    {"hdrEstFees", Band, rbGroupHeader, 161, "", "", "", "", "", "", ""},
    {"subdetWeekly", SubDetail, rbSubDetail, 66, "Report1", "hdrEstFees", "ftrEstFees", "", "",
     "subdetWeeklyBeforePrint", "subdetWeeklyNeedData"},
    {"subdtlEstFeeRow", SubDetail, rbSubDetail, 48, "subdetWeekly", "", "ftrWeekEstFees", "", "",
     "subdtlEstFeeRowBeforePrint", "subdtlEstFeeRowNeedData"},
    {"ftrWeekEstFees", Band, rbGroupFooter, 79, "", "", "", "", "", "ftrWeekEstFeesBeforePrint",
     ""},
    {"ftrEstFees", Band, rbGroupFooter, 85, "", "", "", "", "", "ftrEstFeesBeforePrint", ""},
    {"subdtlInvMsg", SubDetail, rbSubDetail, 114, "Report1", "", "", "InvoiceFooter", "",
     "subdtlInvMsgBeforePrint", ""},
    {"ChildBand1", Child, rbChild, 53, "", "", "", "", "subdtlInvMsg", "ChildBand1BeforePrint", ""},
    {"InvoiceFooter", Band, rbGroupFooter, 500, "", "", "", "", "", "InvoiceFooterBeforePrint", ""},
};

TEST(BaseLayoutTest, BandsPrintInOrderWithTheirTypesLinksAndHandlers) {
  const TReportDesc &layout = baseLayout();
  ASSERT_EQ(layout.bands.size(), std::size(kExpectedBands));
  for (std::size_t i = 0; i < layout.bands.size(); ++i) {
    const TBandDesc &band = layout.bands[i];
    const ExpectedBand &expected = kExpectedBands[i];
    SCOPED_TRACE(std::string(expected.name));
    EXPECT_EQ(band.name, expected.name);
    EXPECT_EQ(band.bandClass, expected.bandClass);
    EXPECT_EQ(band.bandType, expected.type);
    EXPECT_EQ(band.height.mm10, expected.heightMM10);
    EXPECT_EQ(band.master, expected.master);
    EXPECT_EQ(band.headerBand, expected.headerBand);
    EXPECT_EQ(band.footerBand, expected.footerBand);
    EXPECT_EQ(band.linkBand, expected.linkBand);
    EXPECT_EQ(band.parentBand, expected.parentBand);
    EXPECT_EQ(band.beforePrint, expected.beforePrint);
    EXPECT_EQ(band.onNeedData, expected.onNeedData);
  }
}

TEST(BaseLayoutTest, BandOptionsAndFrames) {
  const TReportDesc &layout = baseLayout();
  const TBandDesc &group = *findBand(layout, "grphdrInvoice");
  EXPECT_EQ(group.expression, "ADODataSet1.InvoiceNo");
  EXPECT_TRUE(group.forceNewPage);
  EXPECT_FALSE(group.reprintOnNewPage);

  std::set<std::string_view> printIfEmpty, alignToBottom, forceNewPage, ownFont;
  for (const TBandDesc &band : layout.bands) {
    if (band.printIfEmpty) {
      printIfEmpty.insert(band.name);
    }
    if (band.alignToBottom) {
      alignToBottom.insert(band.name);
    }
    if (band.forceNewPage) {
      forceNewPage.insert(band.name);
    }
    if (band.font) {
      ownFont.insert(band.name);
    }
    EXPECT_TRUE(band.dataSet.empty()) << band.name;
    EXPECT_FALSE(band.printBefore) << band.name;
    EXPECT_EQ(band.color, clWhite) << band.name;
  }
  EXPECT_EQ(printIfEmpty, (std::set<std::string_view>{"subdtlAcctHist", "subdetWeekly",
                                                      "subdtlEstFeeRow", "subdtlInvMsg"}));
  EXPECT_EQ(alignToBottom, (std::set<std::string_view>{"InvoiceFooter"}));
  EXPECT_EQ(forceNewPage, (std::set<std::string_view>{"grphdrInvoice"}));
  EXPECT_EQ(ownFont, (std::set<std::string_view>{"subdtlInvMsg"}));
  EXPECT_EQ(*findBand(layout, "subdtlInvMsg")->font,
            (TFontDesc{"Times New Roman", 8, true, true, false, clBlack}));

  struct ExpectedFrame {
    std::string_view band;
    bool top, bottom, left, right;
    TPenStyle style;
  };
  const ExpectedFrame frames[] = {
      {"grphdrInvoice", false, true, false, false, TPenStyle::psSolid},
      {"hdrAcctHist", true, true, true, true, TPenStyle::psSolid},
      {"ftrAcctHist", true, false, false, false, TPenStyle::psSolid},
      {"ftrEstFees", false, true, false, false, TPenStyle::psSolid},
      {"InvoiceFooter", true, false, false, false, TPenStyle::psDash},
  };
  for (const TBandDesc &band : layout.bands) {
    TFrameDesc expected;
    for (const ExpectedFrame &f : frames) {
      if (f.band == band.name) {
        expected = {f.top, f.bottom, f.left, f.right, f.style, 1, clBlack};
      }
    }
    EXPECT_EQ(band.frame, expected) << band.name;
  }
}

// The links the print loop follows must name bands that take the matching role.
TEST(BaseLayoutTest, LinksNameBandsInTheirRoles) {
  const TReportDesc &layout = baseLayout();
  auto position = [&](std::string_view name) {
    for (std::size_t i = 0; i < layout.bands.size(); ++i) {
      if (layout.bands[i].name == name) {
        return static_cast<int>(i);
      }
    }
    ADD_FAILURE() << "no band " << name;
    return -1;
  };
  for (std::size_t i = 0; i < layout.bands.size(); ++i) {
    const TBandDesc &band = layout.bands[i];
    SCOPED_TRACE(std::string(band.name));
    const int at = static_cast<int>(i);
    if (!band.footerBand.empty()) {
      EXPECT_EQ(findBand(layout, band.footerBand)->bandType, rbGroupFooter);
      EXPECT_GT(position(band.footerBand), at);
    }
    if (!band.headerBand.empty()) {
      EXPECT_EQ(findBand(layout, band.headerBand)->bandType, rbGroupHeader);
      EXPECT_EQ(position(band.headerBand), at - 1);
    }
    if (!band.parentBand.empty()) {
      EXPECT_EQ(position(band.parentBand), at - 1);
    }
    if (!band.linkBand.empty()) {
      EXPECT_GT(position(band.linkBand), at);
    }
    if (!band.master.empty() && band.master != layout.name) {
      EXPECT_EQ(findBand(layout, band.master)->bandClass, TBandClass::TReportSubDetail);
      EXPECT_LT(position(band.master), at);
    }
    if (band.bandClass == TBandClass::TReportSubDetail) {
      EXPECT_FALSE(band.master.empty());
      // Driven by OnNeedData, or printing once when it has neither data set nor handler.
      EXPECT_TRUE(band.printIfEmpty);
    }
  }
  // The group expression names a field of the report's own data set.
  const std::string_view expression = findBand(layout, "grphdrInvoice")->expression;
  EXPECT_EQ(expression.substr(0, expression.find('.')), layout.dataSet);
}

TEST(BaseLayoutTest, ReportPageAndProperties) {
  const TReportDesc &layout = baseLayout();
  EXPECT_EQ(layout.formClassName, "TInvoiceReportForm");
  EXPECT_EQ(layout.name, "Report1");
  EXPECT_EQ(layout.dataSet, "ADODataSet1");
  EXPECT_EQ(pageValues(layout.page),
            (std::vector<double>{150.0, 2970.0, 100.0, 2100.0, 150.0, 150.0, 0.0}));
  EXPECT_EQ(layout.page.paperSize, "A4");
  EXPECT_EQ(layout.page.orientation, "poPortrait");
  EXPECT_EQ(layout.page.columns, 1);
  EXPECT_DOUBLE_EQ(bandWidthNative(layout), 1800.0);
  EXPECT_EQ(layout.units, "MM");
  EXPECT_EQ(layout.font, (TFontDesc{"Arial", 10, false, false, false, clBlack}));
  EXPECT_TRUE(layout.firstPageHeader);
  EXPECT_TRUE(layout.lastPageFooter);
  EXPECT_TRUE(layout.printIfEmpty);
  EXPECT_EQ(layout.reportTitle, "Invoice");
  EXPECT_EQ(layout.printerSettings.Copies, 1);
  EXPECT_FALSE(layout.printerSettings.Duplex);
  EXPECT_EQ(layout.printerSettings.FirstPage, 0);
  EXPECT_EQ(layout.printerSettings.LastPage, 0);
  EXPECT_EQ(layout.printerSettings.OutputBin, TReportBin::Auto);
  EXPECT_EQ(layout.beforePrint, "Report1BeforePrint");
  EXPECT_EQ(layout.formOnDestroy, "FormDestroy");
}

// Aligned to the bottom margin, the slip's tear-off line sits at 232.0 mm on the paper.
TEST(BaseLayoutTest, PaymentSlipStartsAt232mm) {
  const TReportDesc &layout = baseLayout();
  const TBandDesc &slip = *findBand(layout, "InvoiceFooter");
  const double top = layout.page.length - layout.page.bottomMargin - slip.height.native();
  EXPECT_NEAR(top / 10.0, 232.0, 0.05);
}

// A horizontal-line shape draws across the middle of its box: 101.7 mm down from the paper's
// top edge, from its left edge 6.6 mm inwards.
TEST(BaseLayoutTest, FoldMarkLiesOnThePage) {
  const TReportDesc &layout = baseLayout();
  ASSERT_EQ(layout.printables.size(), 1u);
  const TPrintableDesc &fold = layout.printables.front();
  EXPECT_EQ(fold.name, "shpFoldLine");
  EXPECT_EQ(fold.kind, TPrintableKind::Shape);
  EXPECT_EQ(fold.shape, TShapeKind::stHorLine);
  EXPECT_NEAR((fold.top.native() + fold.height.native() / 2) / 10.0, 101.7, 0.05);
  EXPECT_EQ(fold.left.native(), 0.0);
  EXPECT_NEAR(fold.width.native() / 10.0, 6.6, 0.05);
}

// The message band's font reaches no printable: each carries its own.
TEST(BaseLayoutTest, MessageBandPrintablesCarryTheirOwnFonts) {
  const TBandDesc &message = *findBand(baseLayout(), "subdtlInvMsg");
  ASSERT_FALSE(message.printables.empty());
  for (const TPrintableDesc &p : message.printables) {
    EXPECT_TRUE(p.font.has_value()) << p.name;
  }
}

// The payment-method tick boxes are 3.7 mm squares on one line, each right of its caption.
TEST(BaseLayoutTest, PaymentSlotsFormOneLine) {
  const TBandDesc &slip = *findBand(baseLayout(), "InvoiceFooter");
  const std::pair<std::string_view, std::string_view> slots[] = {
      {"lblCash", "chkCash"}, {"lblCheq", "chkCheq"}, {"lblEFT", "chkEFT"}, {"lblCard", "chkCard"}};
  int previousLeft = -1;
  for (const auto &[labelName, boxName] : slots) {
    const TPrintableDesc &label = *findPrintable(slip, labelName);
    const TPrintableDesc &box = *findPrintable(slip, boxName);
    EXPECT_EQ(box.shape, TShapeKind::stRectangle) << boxName;
    EXPECT_EQ(box.width.mm10, 37) << boxName;
    EXPECT_EQ(box.height.mm10, 37) << boxName;
    EXPECT_EQ(box.top, findPrintable(slip, "chkCash")->top) << boxName;
    EXPECT_LE(label.left.px + label.width.px, box.left.px) << labelName;
    EXPECT_GT(box.left.px, previousLeft) << boxName;
    previousLeft = box.left.px;
  }
}

// Every name is unique over the whole form, in every layout: handlers find components by name.
TEST(LayoutInvariantsTest, NamesAreUniqueOverTheForm) {
  for (TFormClass form : kAllFormClasses) {
    const TReportDesc layout = layoutFor(form);
    std::set<std::string_view> names{layout.name, layout.dataSet};
    for (const TBandDesc &band : layout.bands) {
      EXPECT_TRUE(names.insert(band.name).second) << layout.formClassName << " " << band.name;
    }
    forEachPrintable(layout, [&](const TPlacedPrintable &placed) {
      EXPECT_TRUE(names.insert(placed.printable->name).second)
          << layout.formClassName << " " << placed.printable->name;
    });
  }
}

// Silver is RGB(192, 192, 192).
const TBrushDesc kSilverFillForTest{TBrushStyle::bsSolid, rgb(192, 192, 192)};

bool overlaps(const TPrintableDesc &a, const TPrintableDesc &b) {
  return a.left.px < b.left.px + b.width.px && b.left.px < a.left.px + a.width.px &&
         a.top.px < b.top.px + b.height.px && b.top.px < a.top.px + a.height.px;
}

bool contains(const TPrintableDesc &outer, const TPrintableDesc &inner) {
  return inner.left.px >= outer.left.px && inner.top.px >= outer.top.px &&
         inner.left.px + inner.width.px <= outer.left.px + outer.width.px &&
         inner.top.px + inner.height.px <= outer.top.px + outer.height.px;
}

bool isOpaque(const TPrintableDesc &p) {
  return p.kind == TPrintableKind::Image ||
         (p.kind == TPrintableKind::Shape && p.shape == TShapeKind::stRectangle &&
          p.brush.style == TBrushStyle::bsSolid);
}

// Later printables cover earlier ones, so a filled box or a picture must never come after
// a text or picture it overlaps; and a label on a silver box is transparent and follows the box.
TEST(LayoutInvariantsTest, FilledBoxesLieBeneathWhatTheyOverlap) {
  for (TFormClass form : kAllFormClasses) {
    const TReportDesc layout = layoutFor(form);
    for (const TBandDesc &band : layout.bands) {
      const auto &list = band.printables;
      for (std::size_t j = 0; j < list.size(); ++j) {
        if (!isOpaque(list[j])) {
          continue;
        }
        for (std::size_t i = 0; i < j; ++i) {
          if (list[i].kind == TPrintableKind::Shape) {
            continue; // boxes of a grid share their borders
          }
          EXPECT_FALSE(overlaps(list[i], list[j]))
              << layout.formClassName << ": " << list[j].name << " covers " << list[i].name;
        }
        if (list[j].brush.color != clSilver || list[j].kind != TPrintableKind::Shape) {
          continue;
        }
        for (std::size_t k = j + 1; k < list.size(); ++k) {
          if (list[k].kind == TPrintableKind::Label && contains(list[j], list[k])) {
            EXPECT_TRUE(list[k].transparent) << layout.formClassName << " " << list[k].name;
          }
        }
      }
    }
  }
}

// Boxes lie on their band: inside its width (one pixel of rounding allowed) and below its
// top edge, ending above its bottom edge.
TEST(LayoutInvariantsTest, PrintablesLieOnTheirBands) {
  for (TFormClass form : kAllFormClasses) {
    const TReportDesc layout = layoutFor(form);
    const double width = bandWidthNative(layout);
    const double onePixel = 254.0 / 96.0;
    for (const TBandDesc &band : layout.bands) {
      for (const TPrintableDesc &p : band.printables) {
        SCOPED_TRACE(std::string(layout.formClassName) + " " + std::string(p.name));
        EXPECT_LE(p.left.native() + p.width.native(), width + onePixel);
        EXPECT_GT(p.width.px, 0);
        EXPECT_GT(p.height.px, 0);
        // The Credit Card slip's direct-credit line starts at the band's foot, which the
        // band is cut back to when the line is not shown.
        const bool footLine =
            form != TFormClass::Base && p.name == "lblEFTPaymtInstructions" && p.top.mm10 == 529;
        if (footLine) {
          EXPECT_LT(p.top.px, band.height.px);
        } else {
          EXPECT_LE(p.top.px + p.height.px, band.height.px);
        }
      }
    }
  }
}

// The summary boxes of the slip: a silver caption box and a white value box per row, four
// rows of equal height at an equal pitch, in every layout.
TEST(LayoutInvariantsTest, SlipSummaryBoxesFormAGrid) {
  const std::string_view rows[][2] = {{"shpPeriodEndingLabel", "shpPeriodEndingBox"},
                                      {"shpPastDueLabel", "shpPastDueBox"},
                                      {"shpEstFeesLabel", "shpEstFeesBox"},
                                      {"shpPleasePayLabel", "shpPleasePayBox"}};
  for (TFormClass form : kAllFormClasses) {
    const TReportDesc layout = layoutFor(form);
    SCOPED_TRACE(std::string(layout.formClassName));
    const TBandDesc &slip = *findBand(layout, "InvoiceFooter");
    const TPrintableDesc &firstCaption = *findPrintable(slip, rows[0][0]);
    const TPrintableDesc &firstValue = *findPrintable(slip, rows[0][1]);
    const TPrintableDesc &secondCaption = *findPrintable(slip, rows[1][0]);
    const int pitch = secondCaption.top.px - firstCaption.top.px;
    for (int row = 0; row < 4; ++row) {
      const TPrintableDesc &caption = *findPrintable(slip, rows[row][0]);
      const TPrintableDesc &value = *findPrintable(slip, rows[row][1]);
      EXPECT_EQ(caption.brush, kSilverFillForTest) << caption.name;
      EXPECT_EQ(value.brush.color, clWhite) << value.name;
      EXPECT_EQ(caption.left, firstCaption.left) << caption.name;
      EXPECT_EQ(value.left, firstValue.left) << value.name;
      EXPECT_EQ(caption.top, value.top) << caption.name;
      EXPECT_EQ(caption.height, firstCaption.height) << caption.name;
      EXPECT_EQ(value.height, firstCaption.height) << value.name;
      EXPECT_EQ(caption.top.px, firstCaption.top.px + row * pitch) << caption.name;
    }
  }
}

} // namespace
} // namespace TDInvoice::Layout
