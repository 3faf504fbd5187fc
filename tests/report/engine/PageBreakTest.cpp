// Where bands land near the bottom of a page: bottom-aligned bands, the link reserve and
// printables that stretch across pages.
#include "EngineTestSupport.h"

namespace TDInvoice::Testing {
namespace {

// One invoice: a detail band of a given height, then a group footer aligned to the bottom
// (the payment slip, 189 px = 500.0625 native).
class BottomAlignTest : public EngineTest {
protected:
  BottomAlignTest() {
    report->setDataSet(data);
    group = addGroup(
        *report, {.band = {.name = "GH", .height = 100}, .expression = "ADODataSet1.InvoiceNo"});
    detail = band("D", TReportBandType::rbDetail, 300);
    slip = band("Slip", TReportBandType::rbGroupFooter, 500.0625, TBandOption::AlignToBottom);
    group->setFooterBand(slip);
    fillInvoices({1});
  }
  TReportGroup *group;
  TReportBand *detail;
  TReportBand *slip;
};

TEST_F(BottomAlignTest, SlipLandsAbove15mmBottomMargin) {
  auto printer = record();
  const auto found = findOne(*printer, "Slip");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->page, 1);
  EXPECT_EQ(found->text.anchor.y(), dev(2320));
  EXPECT_EQ(printer->availablePages(), 1);
}

TEST_F(BottomAlignTest, SlipMovesToTheNextPageWhenContentReachesBelowIt) {
  struct TCase {
    double detailHeight;
    int page;
    double top;
  };
  // Content ending at 2320 leaves exactly the slip's 500 units; one more unit does not.
  const TCase cases[] = {{2120, 1, 2320}, {2121, 2, 100}, {2500, 2, 100}};
  for (const TCase &c : cases) {
    detail->Size().setNativeValue(TReportBandSize::LengthIndex, c.detailHeight);
    auto printer = record();
    const auto found = findOne(*printer, "Slip");
    ASSERT_TRUE(found) << c.detailHeight;
    EXPECT_EQ(found->page, c.page) << c.detailHeight;
    EXPECT_EQ(found->text.anchor.y(), dev(c.top)) << c.detailHeight;
  }
}

TEST_F(BottomAlignTest, PageFooterRaisesTheSlip) {
  band("PF", TReportBandType::rbPageFooter, 120);
  auto printer = record();
  EXPECT_EQ(findOne(*printer, "Slip")->text.anchor.y(), dev(2200));
}

// A message band of 43 px linked to the slip needs 43 px of its own plus 500.0625 + 189 for
// the slip: 803 native units.
class LinkReserveTest : public BottomAlignTest {
protected:
  LinkReserveTest() {
    message = addSubDetail(*report, {.band = {.name = "Msg", .position = 2}});
    marker(*message);
    message->setHeight(43);
  }
  TReportSubDetail *message;
};

TEST_F(LinkReserveTest, MessageBandKeepsRoomForTheSlip) {
  struct TCase {
    bool linked;
    double detailHeight;
    int page;
  };
  // The message starts at 100 + 100 + detail; 2820 - 803 = 2017 is the last start with room.
  const TCase cases[] = {
      {true, 1817, 1},  {true, 1818, 2}, {false, 1818, 1}, {false, 2506, 1}, // 114 fit exactly
      {false, 2507, 2},
  };
  for (const TCase &c : cases) {
    message->setLinkBand(c.linked ? slip : nullptr);
    detail->Size().setNativeValue(TReportBandSize::LengthIndex, c.detailHeight);
    auto printer = record();
    const auto found = findOne(*printer, "Msg");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->page, c.page) << c.linked << " " << c.detailHeight;
  }
}

TEST_F(LinkReserveTest, ReserveCountsOnlyWhenTheLinkedBandPrints) {
  message->setLinkBand(slip);
  detail->Size().setNativeValue(TReportBandSize::LengthIndex, 1818);
  message->BeforePrint = [](TReportCustomBand *, bool &print) { print = false; };
  auto printer = record();
  EXPECT_TRUE(find(*printer, "Msg").empty());
  EXPECT_EQ(printer->availablePages(), 1); // the slip still fits below the content
}

// A band with a label of 17 px that may stretch over as many lines as its caption has.
class StretchTest : public EngineTest {
protected:
  StretchTest() {
    report->setDataSet(data);
    detail = addBand(*report, {.name = "D", .type = TReportBandType::rbDetail, .height = 100});
    still = addLabel(*detail, {.name = "still",
                               .box = {1000, 0, 300, 45},
                               .options = TLabelOption::AutoSize,
                               .caption = "Still"});
    lines = addLabel(*detail, {.name = "lines",
                               .box = {0, 20, 800, 17 * 254.0 / 96.0},
                               .options = TLabelOption::WordWrap});
    after = band("After", TReportBandType::rbTitle, 50);
    after->setBandType(TReportBandType::rbGroupFooter);
    group = addGroup(*report, {.band = {.name = "GH", .height = 1000},
                               .expression = "ADODataSet1.InvoiceNo",
                               .footer = after});
    fillInvoices({1});
  }
  QString numbered(int count) const {
    QStringList parts;
    for (int i = 1; i <= count; ++i)
      parts << QStringLiteral("Line %1").arg(i);
    return parts.join(QLatin1Char('\r'));
  }
  // Line height of Arial 10 at 96 ppi in native units.
  static double lineHeight() { return cellHeight("Arial", 13) * 254.0 / 96.0; }

  TReportBand *detail;
  TReportLabel *still;
  TReportLabel *lines;
  TReportBand *after;
  TReportGroup *group;
};

TEST_F(StretchTest, SeventeenPixelLabelHoldsOneLineUnlessItStretches) {
  lines->setCaption(numbered(2));
  ASSERT_EQ(lines->Height(), 17);
  for (bool stretch : {false, true}) {
    lines->setAutoStretch(stretch);
    auto printer = record();
    EXPECT_EQ(find(*printer, "Line 1").size(), 1u);
    EXPECT_EQ(find(*printer, "Line 2").size(), stretch ? 1u : 0u) << stretch;
    // The band grew by one line height with the second line.
    const double bandEnd = 100 + 1000 + 100 + (stretch ? lineHeight() : 0);
    EXPECT_EQ(findOne(*printer, "After")->text.anchor.y(), dev(bandEnd)) << stretch;
  }
}

TEST_F(StretchTest, StretchingLabelContinuesOnTheNextPageAtItsOwnTop) {
  const int count = 60;
  lines->setAutoStretch(true);
  lines->setCaption(numbered(count));
  auto printer = record();
  ASSERT_EQ(printer->availablePages(), 2);
  std::vector<TFoundText> found;
  for (int i = 1; i <= count; ++i) {
    const auto one = findOne(*printer, QStringLiteral("Line %1").arg(i));
    ASSERT_TRUE(one) << i;
    found.push_back(*one);
  }
  // Page 1 holds what fits above the bottom limit; the rest continues at the label's own
  // top (20) below the top margin of page 2, line after line.
  auto firstOnPage2 =
      std::find_if(found.begin(), found.end(), [](const TFoundText &f) { return f.page == 2; });
  ASSERT_NE(firstOnPage2, found.end());
  ASSERT_NE(firstOnPage2, found.begin());
  EXPECT_EQ(firstOnPage2->text.anchor.y(), dev(100 + 20));
  const int cell = cellHeight("Arial", 13);
  EXPECT_LE((firstOnPage2 - 1)->text.anchor.y() + cell, dev(2820) + 1);
  for (auto it = found.begin() + 1; it != found.end(); ++it) {
    if (it->page == (it - 1)->page) {
      EXPECT_NEAR(it->text.anchor.y() - (it - 1)->text.anchor.y(), cell, 1);
    }
  }
  // The finished label beside it does not print again.
  EXPECT_EQ(find(*printer, "Still").size(), 1u);
  EXPECT_EQ(findOne(*printer, "Still")->page, 1);
}

TEST_F(StretchTest, DisabledLabelDoesNotStretch) {
  lines->setAutoStretch(true);
  lines->setCaption(numbered(5));
  lines->setEnabled(false);
  auto printer = record();
  EXPECT_TRUE(find(*printer, "Line 1").empty());
  EXPECT_EQ(findOne(*printer, "After")->text.anchor.y(), dev(100 + 1000 + 100));
}

TEST_F(StretchTest, LabelThatCanNeverFitIsGivenUpInsteadOfLooping) {
  // A top frame line pushes the only line out of a one-line box, and a band as long as the
  // printable page cannot grow even on an empty page.
  group->Size().setNativeValue(TReportBandSize::LengthIndex, 100);
  detail->Size().setNativeValue(TReportBandSize::LengthIndex, 2700);
  after->Size().setNativeValue(TReportBandSize::LengthIndex, 10);
  lines->Size().setNativeValue(TReportPrintableSize::TopIndex, 0);
  lines->setHeight(cellHeight("Arial", 13) + 1);
  lines->setFrame(makeFrame(TFrameSide::Top));
  lines->setAutoStretch(true);
  lines->setCaption(numbered(3));
  auto printer = record();
  EXPECT_EQ(printer->availablePages(), 3);
  EXPECT_TRUE(find(*printer, "Line 1").empty());
  EXPECT_EQ(find(*printer, "After").size(), 1u);
}

} // namespace
} // namespace TDInvoice::Testing
