// Whole runs through the public interface: where bands and texts land on the recorded
// pages, page breaks within and between invoices, the message band's reserve for the slip,
// the saved page store, and the shared allocator after the report is released.
#include "InvoiceTestSupport.h"

#include "TDInvoice/ReportComponent.h"
#include "TDInvoice/SharedAllocator.h"
#include "report/ReportTypes.h"
#include "report/engine/ReportCustomBand.h"
#include "report/output/ReportPageList.h"

#include <QTemporaryDir>

#include <cmath>

namespace TDInvoice::Testing {
namespace {

using Layout::findBand;
using Layout::findPrintable;
using Layout::TReportDesc;

// Geometry of the base layout in engine units, from the layout's own numbers.
struct TGeometry {
  explicit TGeometry(const TReportDesc &layout) : layout(layout) {}

  double height(std::string_view band) const { return findBand(layout, band)->height.native(); }
  double topMargin() const { return layout.page.topMargin; }
  double leftMargin() const { return layout.page.leftMargin; }
  double bottomLimit() const { return layout.page.length - layout.page.bottomMargin; }
  // Where the slip lands when the invoice's content leaves room for it.
  double slipTop() const { return std::nearbyint(bottomLimit() - height("InvoiceFooter")); }
  // The room the message band keeps for itself and the slip linked to it: its length, the
  // slip's length and the slip's height in screen pixels counted as engine units.
  double messageReserve() const {
    const Layout::TBandDesc &slip = *findBand(layout, "InvoiceFooter");
    return std::nearbyint(height("subdtlInvMsg") + slip.height.native() + slip.height.px);
  }
  // Top of the history lines' region: the letterhead, address block and history heading.
  double historyTop() const {
    return topMargin() + height("grphdrInvoice") + height("DetailBand1") + height("hdrAcctHist");
  }
  double historyLine() const { return height("subdtlAcctHist"); }
  // Where the current position stands after n history lines and the history footer.
  double afterHistory(int lines) const {
    return historyTop() + lines * historyLine() + height("ftrAcctHist");
  }

  // The text anchor of a label printed on a band whose top is bandTop (engine units).
  QPoint anchor(std::string_view band, std::string_view label, double bandTop) const {
    const Layout::TPrintableDesc &p = *findPrintable(*findBand(layout, band), label);
    double x = leftMargin() + p.left.native();
    if (p.alignment == Layout::TAlignment::taRightJustify)
      x += p.width.native();
    else if (p.alignment == Layout::TAlignment::taCenter)
      x += p.width.native() / 2;
    return {dev(x), dev(bandTop + p.top.native())};
  }

  TReportDesc layout;
};

class InvoiceRunTest : public ::testing::Test {
protected:
  InvoiceRunTest() { db.setService(); }

  void addHistoryLines(int InvoiceNo, int count) {
    for (int n = 0; n < count; ++n)
      db.addHistory(InvoiceNo, {.Kind = kHistText,
                                .Stamp = stampOf(2009, 1, 1) + n * 60,
                                .EntryAmount = cents(100),
                                .EntryText = QStringLiteral("Entry %1").arg(n + 1)});
  }

  std::vector<TBandPrint> printsOf(const TInvoiceReportRun &run, const QString &band) {
    std::vector<TBandPrint> prints;
    for (const TBandPrint &print : run.bandPrints())
      if (print.band == band)
        prints.push_back(print);
    return prints;
  }

  TInvoiceDatabase db;
};

TEST_F(InvoiceRunTest, EmptySectionsLeaveHeaderAddressAndSlipWithTheSlipAt232mm) {
  db.addPlainInvoice(1001, 1);
  TInvoiceReportRun run;
  run.load();
  run.run();
  const TGeometry g(run.layout());
  ASSERT_EQ(run.pages().size(), 1u);
  EXPECT_EQ(run.bandsOnPage(1), (QStringList{"grphdrInvoice", "DetailBand1", "InvoiceFooter"}));
  EXPECT_DOUBLE_EQ(g.slipTop() / 10, 232.0);
  const std::vector<TBandPrint> slip = printsOf(run, "InvoiceFooter");
  ASSERT_EQ(slip.size(), 1u);
  EXPECT_EQ(slip[0].rect.top(), dev(g.slipTop()));
  // The tear-off line: the slip's top frame line, a solid black strip along its top edge,
  // across the band's whole width.
  const double slipWidth =
      run.form().findComponent<Report::TReportCustomBand>("InvoiceFooter")->width();
  EXPECT_NEAR(slipWidth, Layout::bandWidthNative(g.layout), Report::nativeFromPixels(1));
  bool tearOff = false;
  for (const Report::TMetaElement &element : run.pages()[0].elements())
    if (const auto *fill = std::get_if<Report::TMetaFillRect>(&element))
      tearOff = tearOff ||
                (fill->rect.top() == dev(g.slipTop()) && fill->rect.height() == 1 &&
                 fill->brush.color == qRgb(0, 0, 0) && fill->rect.left() == dev(g.leftMargin()) &&
                 fill->rect.right() + 1 == dev(g.leftMargin() + slipWidth));
  EXPECT_TRUE(tearOff);
  // Fixed texts where the layout puts them: letterhead, address block and slip.
  const double detailTop = g.topMargin() + g.height("grphdrInvoice");
  const struct {
    const char *band, *label, *text;
    double bandTop;
  } placed[] = {
      {"grphdrInvoice", "lblInvoiceLabel", "INVOICE/STATEMENT", g.topMargin()},
      {"grphdrInvoice", "lblInvoiceNoLabel", "Invoice No:", g.topMargin()},
      {"grphdrInvoice", "lblInvoiceNo", "1001", g.topMargin()},
      {"DetailBand1", "lblToLabel", "To:", detailTop},
      {"DetailBand1", "lblHAddress1", "4 Banksia Avenue", detailTop},
      {"InvoiceFooter", "lblPaymentSlipLabel", "PAYMENT SLIP", g.slipTop()},
      {"InvoiceFooter", "lblPeriodEndingLabel", "Period Ending", g.slipTop()},
      {"InvoiceFooter", "lblPaidByLabel", "Paid by:", g.slipTop()},
      {"InvoiceFooter", "lblAccountHolder", "Nguyen: Lan Nguyen", g.slipTop()},
  };
  for (const auto &p : placed) {
    const auto text = run.findText(QString::fromLatin1(p.text), 1);
    ASSERT_TRUE(text) << p.text;
    EXPECT_EQ(text->anchor, g.anchor(p.band, p.label, p.bandTop)) << p.text;
  }
}

TEST_F(InvoiceRunTest, FoldMarkPrintsOnEveryPageFromThePapersCorner) {
  db.addPlainInvoice(1001, 1);
  db.addPlainInvoice(1002, 2);
  TInvoiceReportRun run;
  run.load();
  run.run();
  const TGeometry g(run.layout());
  const Layout::TPrintableDesc &mark = g.layout.printables.at(0);
  ASSERT_EQ(mark.name, "shpFoldLine");
  const int y = dev(mark.top.native() + mark.height.native() / 2);
  ASSERT_EQ(run.pages().size(), 2u);
  for (const TMetaPage &page : run.pages()) {
    int marks = 0;
    for (const Report::TMetaElement &element : page.elements())
      if (const auto *line = std::get_if<Report::TMetaLine>(&element))
        marks += line->from == QPoint(dev(mark.left.native()), y) &&
                 line->to == QPoint(dev(mark.left.native() + mark.width.native()), y);
    EXPECT_EQ(marks, 1);
  }
}

TEST_F(InvoiceRunTest, EveryInvoiceStartsOnAPageOfItsOwn) {
  for (int n = 1; n <= 3; ++n)
    db.addPlainInvoice(1000 + n, n, cents(1000 * n));
  addHistoryLines(1002, 3);
  TInvoiceReportRun run;
  run.load();
  run.run();
  const TGeometry g(run.layout());
  ASSERT_EQ(run.pages().size(), 3u);
  for (int page = 1; page <= 3; ++page) {
    const QStringList bands = run.bandsOnPage(page);
    EXPECT_EQ(bands.count("grphdrInvoice"), 1) << page;
    EXPECT_EQ(bands.count("InvoiceFooter"), 1) << page;
    EXPECT_EQ(run.pagesWithText(QString::number(1000 + page)), std::vector<int>{page});
  }
  for (const TBandPrint &print : printsOf(run, "grphdrInvoice"))
    EXPECT_EQ(print.rect.top(), dev(g.topMargin()));
  for (const TBandPrint &print : printsOf(run, "InvoiceFooter"))
    EXPECT_EQ(print.rect.top(), dev(g.slipTop()));
}

TEST_F(InvoiceRunTest, OverflowingInvoiceContinuesWithoutItsHeaderAndEndsWithOneSlip) {
  db.addPlainInvoice(1001, 1);
  db.addPlainInvoice(1002, 2);
  addHistoryLines(1001, 45);
  TInvoiceReportRun run;
  run.load();
  run.run();
  const TGeometry g(run.layout());
  ASSERT_EQ(run.pages().size(), 3u);
  EXPECT_EQ(run.pagesWithText(QStringLiteral("INVOICE/STATEMENT")), (std::vector<int>{1, 3}));
  EXPECT_EQ(run.bandsOnPage(1).count("InvoiceFooter"), 0);
  const QStringList second = run.bandsOnPage(2);
  EXPECT_EQ(second.count("grphdrInvoice"), 0);
  EXPECT_EQ(second.count("InvoiceFooter"), 1);
  EXPECT_EQ(second.first(), QStringLiteral("subdtlAcctHist"));
  // The page breaks where the next line no longer fits above the bottom limit.
  const std::vector<TBandPrint> lines = printsOf(run, "subdtlAcctHist");
  ASSERT_EQ(lines.size(), 45u);
  int onFirstPage = 0;
  for (const TBandPrint &line : lines)
    onFirstPage += line.page == 1;
  const double fitting = std::floor((g.bottomLimit() - g.historyTop()) / g.historyLine());
  EXPECT_EQ(onFirstPage, static_cast<int>(fitting));
  EXPECT_EQ(lines[static_cast<std::size_t>(onFirstPage)].rect.top(), dev(g.topMargin()));
  for (const TBandPrint &slip : printsOf(run, "InvoiceFooter"))
    EXPECT_EQ(slip.rect.top(), dev(g.slipTop()));
  EXPECT_EQ(run.pagesWithText(QStringLiteral("Entry 45")), std::vector<int>{2});
}

TEST_F(InvoiceRunTest, SlipThatNoLongerFitsPrintsAtTheTopOfTheNextPage) {
  const TGeometry g(Layout::layoutFor(Layout::TFormClass::Standard));
  // Enough lines to end the history below the slip's top, but above the bottom limit.
  const int lines =
      static_cast<int>(std::ceil((g.slipTop() - g.afterHistory(0)) / g.historyLine() + 0.01));
  ASSERT_LT(g.afterHistory(lines), g.bottomLimit());
  db.addPlainInvoice(1001, 1);
  addHistoryLines(1001, lines);
  TInvoiceReportRun run;
  run.load();
  run.run();
  ASSERT_EQ(run.pages().size(), 2u);
  EXPECT_EQ(run.bandsOnPage(2), QStringList{"InvoiceFooter"});
  EXPECT_EQ(printsOf(run, "InvoiceFooter").at(0).rect.top(), dev(g.topMargin()));
}

TEST_F(InvoiceRunTest, MessageBandMovesToANewPageWhenLessThanItsReserveRemains) {
  const TGeometry g(Layout::layoutFor(Layout::TFormClass::Standard));
  EXPECT_NEAR(g.messageReserve() / 10, 80.3, 1e-9);
  // The most lines that still leave the reserve free, and one more.
  const int staying = static_cast<int>(
      std::floor((g.bottomLimit() - g.messageReserve() - g.afterHistory(0)) / g.historyLine()));
  ASSERT_GE(g.bottomLimit() - g.afterHistory(staying), g.messageReserve());
  ASSERT_LT(g.bottomLimit() - g.afterHistory(staying + 1), g.messageReserve());
  for (const int lines : {staying, staying + 1}) {
    TInvoiceDatabase local;
    local.setService();
    local.addPlainInvoice(1001, 1, 0, dayNumber(2009, 1, 4));
    local.addMessage(dayNumber(2009, 1, 4), QStringLiteral("Centre closed on Australia Day"));
    for (int n = 0; n < lines; ++n)
      local.addHistory(1001, {.Kind = kHistText,
                              .Stamp = n,
                              .EntryAmount = cents(1),
                              .EntryText = QStringLiteral("Entry")});
    TInvoiceReportRun run;
    run.load();
    run.run();
    const int expectedPage = lines == staying ? 1 : 2;
    SCOPED_TRACE(lines);
    ASSERT_EQ(run.pages().size(), static_cast<std::size_t>(expectedPage));
    EXPECT_EQ(run.pagesWithText(QStringLiteral("Centre closed on Australia Day")),
              std::vector<int>{expectedPage});
    EXPECT_EQ(run.bandsOnPage(expectedPage).count("InvoiceFooter"), 1);
    EXPECT_EQ(printsOf(run, "InvoiceFooter").at(0).rect.top(), dev(g.slipTop()));
    const std::vector<TBandPrint> message = printsOf(run, "subdtlInvMsg");
    ASSERT_EQ(message.size(), 1u);
    EXPECT_EQ(message[0].rect.top(),
              dev(expectedPage == 1 ? g.afterHistory(lines) : g.topMargin()));
  }
}

TEST_F(InvoiceRunTest, SavedPageStoreHoldsThePagesOfTheRun) {
  db.addPlainInvoice(1001, 1);
  db.addPlainInvoice(1002, 2);
  TInvoiceReportRun run;
  run.load();
  run.run();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QByteArray file = folder.filePath(QStringLiteral("invoices.qrp")).toLocal8Bit();
  TReportComponent *report = run.report()->GetReport();
  ASSERT_EQ(report, static_cast<TReportComponent *>(run.form().Report1()));
  EXPECT_EQ(report->exportTo(file.constData(), "qrp"), 2);
  Report::TReportPageList store;
  store.loadFromFile(QString::fromLocal8Bit(file));
  ASSERT_EQ(store.pageCount(), 2);
  for (int page = 1; page <= 2; ++page)
    EXPECT_EQ(*store.getPage(page), run.pages()[static_cast<std::size_t>(page - 1)]);
  EXPECT_STREQ(report->reportTitle(), "Invoice");
}

TEST_F(InvoiceRunTest, ReleasedReportLeavesTheSharedAllocatorAsItFoundIt) {
  db.addLocation(1, "Main", 4);
  db.addLocation(2, "Annex", 1);
  db.addFunding(1, 4, "LDC-1");
  db.addFundingKey(1001, 1, 4);
  db.addPlainInvoice(1001, 1, cents(5000), dayNumber(2009, 1, 4));
  db.addMessage(dayNumber(2009, 1, 4), QStringLiteral("{\\rtf1 Note}"));
  db.addChild(11, 1, "Amy", "Lee");
  db.addHistory(1001, {.Kind = kHistCharge,
                       .Stamp = stampOf(2009, 1, 5),
                       .EntryAmount = cents(5000),
                       .WeekEndDate = dayNumber(2009, 1, 4),
                       .ChildOrMethod = 11,
                       .CareType = 4,
                       .CareTypeAbbrev = "LDC",
                       .EnrolmentId = "E-1"});
  db.addPendingAttendance(1001, 1);
  db.addCharge(1, 11, 1, dayNumber(2009, 1, 6), 1, cents(4550));
  db.addAbsences(1001, 11, 2);
  db.addNote(1, "Thanks");
  const std::int64_t baseline = sharedBlockCount();
  {
    TInvoiceReportRun run;
    run.load();
    run.run();
    run.run();
    EXPECT_GT(sharedBlockCount(), baseline);
    EXPECT_EQ(run.pagesWithText(QStringLiteral("FaHCSIA Enrolment Ids")), std::vector<int>{1});
  }
  EXPECT_EQ(sharedBlockCount(), baseline);
}

TEST_F(InvoiceRunTest, SortOrdersTheInvoicesOfTheRun) {
  db.addPlainInvoice(1001, 1);
  db.addPlainInvoice(1002, 2);
  db.addPlainInvoice(1003, 3);
  TInvoiceReportRun run;
  run.load();
  run.report()->SetSort("InvoiceNo DESC");
  run.run();
  ASSERT_EQ(run.pages().size(), 3u);
  for (int page = 1; page <= 3; ++page)
    EXPECT_EQ(run.pagesWithText(QString::number(1004 - page)), std::vector<int>{page});
}

TEST_F(InvoiceRunTest, EmptyDatasetPrintsNoInvoice) {
  TInvoiceReportRun run;
  run.load();
  run.run();
  EXPECT_EQ(run.bandsOnPage(1).count("grphdrInvoice"), 0);
  EXPECT_EQ(run.bandsOnPage(1).count("InvoiceFooter"), 0);
}

} // namespace
} // namespace TDInvoice::Testing
