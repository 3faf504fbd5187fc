// Band sequencing: groups, sub-details, child bands, forced pages and the page furniture,
// checked on the recorded pages and the order of band prints.
#include "EngineTestSupport.h"

namespace TDInvoice::Testing {
namespace {

// An invoice-like report: group header GH on ADODataSet1.InvoiceNo (new page per invoice)
// with footer GF, detail D, and a section SH / SD / SF fed two rows per invoice by its
// need-data handler.
class PrintLoopTest : public EngineTest {
protected:
  PrintLoopTest() {
    report->setDataSet(data);
    header = addGroup(*report,
                      {.band = {.name = "GH", .height = 200, .options = TBandOption::ForceNewPage},
                       .expression = "ADODataSet1.InvoiceNo"});
    marker(*header);
    detail = band("D", TReportBandType::rbDetail, 150);
    sectionHeader = band("SH", TReportBandType::rbTitle, 60);
    section =
        addSubDetail(*report, {.band = {.name = "SD", .height = 50}, .header = sectionHeader});
    marker(*section);
    sectionFooter = band("SF", TReportBandType::rbTitle, 70);
    section->setFooterBand(sectionFooter);
    section->OnNeedData = [this](QObject *, bool &more) {
      if (more)
        rows = 0; // the first call of a loop
      more = rows < rowsPerInvoice;
      if (more)
        ++rows;
    };
    footer = band("GF", TReportBandType::rbTitle, 100);
    header->setFooterBand(footer);
    for (TReportCustomBand *b : std::initializer_list<TReportCustomBand *>{
             header, detail, sectionHeader, section, sectionFooter, footer})
      logPrints(*b);
  }

  TReportGroup *header;
  TReportBand *detail;
  TReportBand *sectionHeader;
  TReportSubDetail *section;
  TReportBand *sectionFooter;
  TReportBand *footer;
  int rows = 0;
  int rowsPerInvoice = 2;
};

TEST_F(PrintLoopTest, PrintsEachInvoiceWithItsSectionAndOneFooter) {
  fillInvoices({1, 1, 2});
  auto printer = record();
  const QStringList expected{"GH", "D",  "SH", "SD", "SD", "SF", "D",  "SH", "SD", "SD",
                             "SF", "GF", "GH", "D",  "SH", "SD", "SD", "SF", "GF"};
  EXPECT_EQ(log, expected);
  // The second invoice starts a page of its own; the first does not leave a blank page.
  ASSERT_EQ(printer->availablePages(), 2);
  const auto headers = find(*printer, "GH");
  ASSERT_EQ(headers.size(), 2u);
  EXPECT_EQ(headers[0].page, 1);
  EXPECT_EQ(headers[1].page, 2);
  for (const TFoundText &found : headers)
    EXPECT_EQ(found.text.anchor.y(), dev(100)) << "page " << found.page;
}

TEST_F(PrintLoopTest, BandsFollowOneAnotherDownThePage) {
  fillInvoices({1});
  rowsPerInvoice = 1;
  auto printer = record();
  double y = 100;
  for (const auto &[name, height] : std::vector<std::pair<QString, double>>{
           {"GH", 200}, {"D", 150}, {"SH", 60}, {"SD", 50}, {"SF", 70}, {"GF", 100}}) {
    const auto found = findOne(*printer, name);
    ASSERT_TRUE(found) << name.toStdString();
    EXPECT_EQ(found->text.anchor.y(), dev(y)) << name.toStdString();
    EXPECT_EQ(found->text.anchor.x(), dev(150)) << name.toStdString();
    y += height;
  }
}

TEST_F(PrintLoopTest, GroupFooterSeesTheLastRecordOfItsGroup) {
  fillInvoices({1, 1, 2});
  std::vector<std::pair<int, int>> seen; // invoice number, record
  footer->BeforePrint = [&](TReportCustomBand *, bool &) {
    seen.emplace_back(data->value("InvoiceNo").toInt(), data->recordNo());
  };
  std::vector<int> headerRecords;
  header->BeforePrint = [&](TReportCustomBand *, bool &) {
    headerRecords.push_back(data->recordNo());
  };
  record();
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}}));
  EXPECT_EQ(headerRecords, (std::vector<int>{0, 2}));
}

TEST_F(PrintLoopTest, SectionWithoutDataOnItsFirstRequestPrintsNothing) {
  fillInvoices({1, 2});
  rowsPerInvoice = 0;
  auto printer = record();
  EXPECT_EQ(log, (QStringList{"GH", "D", "GF", "GH", "D", "GF"}));
  EXPECT_TRUE(find(*printer, "SH").empty());
  EXPECT_TRUE(find(*printer, "SF").empty());
}

TEST_F(PrintLoopTest, NeedDataLeftUnchangedYieldsOneRow) {
  fillInvoices({1, 2});
  std::vector<bool> arrived;
  section->OnNeedData = [&](QObject *sender, bool &more) {
    EXPECT_EQ(sender, section);
    arrived.push_back(more);
  };
  record();
  EXPECT_EQ(arrived, (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ(log.count("SD"), 2);
}

TEST_F(PrintLoopTest, SectionWithoutAnyDataPrintsOnceWhenAskedTo) {
  for (bool printIfEmpty : {true, false}) {
    log.clear();
    data->clearRows();
    fillInvoices({1, 2});
    section->OnNeedData = nullptr;
    section->setPrintIfEmpty(printIfEmpty);
    record();
    EXPECT_EQ(log.count("SH"), printIfEmpty ? 2 : 0) << printIfEmpty;
    EXPECT_EQ(log.count("SD"), printIfEmpty ? 2 : 0) << printIfEmpty;
    EXPECT_EQ(log.count("SF"), printIfEmpty ? 2 : 0) << printIfEmpty;
  }
}

TEST_F(PrintLoopTest, EmptyDataSetPrintsTitleDetailOnceAndSummary) {
  TReportBand *title = band("T", TReportBandType::rbTitle, 80, {});
  TReportBand *summary = band("S", TReportBandType::rbSummary, 80);
  logPrints(*title);
  logPrints(*summary);
  rowsPerInvoice = 1;
  auto printer = record();
  EXPECT_EQ(log, (QStringList{"T", "D", "SH", "SD", "SF", "S"}));
  EXPECT_EQ(printer->availablePages(), 1);

  log.clear();
  report->setPrintIfEmpty(false);
  auto nothing = record();
  EXPECT_TRUE(log.isEmpty());
  EXPECT_EQ(nothing->availablePages(), 0);
}

TEST_F(PrintLoopTest, NestedGroupsRestartWhenAnOuterGroupChanges) {
  TReportGroup *inner = addGroup(*report, {.band = {.name = "IH", .height = 40, .position = 1},
                                           .expression = "ADODataSet1.Name"});
  logPrints(*inner);
  data->appendRow({1, "Same"});
  data->appendRow({1, "Same"});
  data->appendRow({2, "Same"});
  record();
  EXPECT_EQ(log.count("IH"), 2); // the inner value never changes
  EXPECT_EQ(log.count("GH"), 2);
}

TEST_F(PrintLoopTest, SuppressedBandKeepsItsPlaceAndItsChildPrints) {
  fillInvoices({1});
  rowsPerInvoice = 0;
  detail->BeforePrint = [](TReportCustomBand *, bool &print) { print = false; };
  TReportChildBand *child = addChildBand(*report, *detail, {.name = "C", .height = 40});
  marker(*child);
  logPrints(*child);
  auto printer = record();
  EXPECT_EQ(log, (QStringList{"GH", "-D", "C", "GF"}));
  const auto found = findOne(*printer, "C");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->text.anchor.y(), dev(100 + 200)); // where D would have printed
  EXPECT_TRUE(find(*printer, "D").empty());
}

TEST_F(PrintLoopTest, DisabledBandIsNotAskedAndReportsNotPrinted) {
  fillInvoices({1});
  rowsPerInvoice = 0;
  bool asked = false;
  detail->BeforePrint = [&](TReportCustomBand *, bool &) { asked = true; };
  detail->setEnabled(false);
  record();
  EXPECT_FALSE(asked);
  EXPECT_TRUE(log.contains("-D"));
}

TEST_F(PrintLoopTest, BandWithoutPixelHeightPrintsNothingAndTakesNoRoom) {
  fillInvoices({1});
  rowsPerInvoice = 0;
  detail->Size().setNativeValue(TReportBandSize::LengthIndex, 1.0); // 0.38 px
  ASSERT_EQ(detail->Height(), 0);
  auto printer = record();
  EXPECT_TRUE(log.contains("D")); // printed as far as the loop goes
  EXPECT_TRUE(find(*printer, "D").empty());
  const auto groupFooter = findOne(*printer, "GF");
  ASSERT_TRUE(groupFooter);
  EXPECT_EQ(groupFooter->text.anchor.y(), dev(100 + 200));
}

TEST_F(PrintLoopTest, TitleAbsorbsTheFirstForcedPage) {
  TReportBand *title = band("T", TReportBandType::rbTitle, 80);
  logPrints(*title);
  fillInvoices({1, 2});
  rowsPerInvoice = 0;
  auto printer = record();
  ASSERT_EQ(printer->availablePages(), 2);
  EXPECT_EQ(findOne(*printer, "T")->page, 1);
  const auto headers = find(*printer, "GH");
  ASSERT_EQ(headers.size(), 2u);
  EXPECT_EQ(headers[0].page, 1);
  EXPECT_EQ(headers[0].text.anchor.y(), dev(180));
  EXPECT_EQ(headers[1].page, 2);
}

TEST_F(PrintLoopTest, GroupHeaderRepeatsOnContinuationPagesWhenAsked) {
  for (bool reprint : {false, true}) {
    log.clear();
    data->clearRows();
    fillInvoices({1, 1, 1, 1});
    rowsPerInvoice = 0;
    detail->Size().setNativeValue(TReportBandSize::LengthIndex, 900);
    header->setForceNewPage(false);
    header->setReprintOnNewPage(reprint);
    auto printer = record();
    ASSERT_EQ(printer->availablePages(), 2) << reprint;
    const auto headers = find(*printer, "GH");
    ASSERT_EQ(headers.size(), reprint ? 2u : 1u) << reprint;
    if (reprint) {
      EXPECT_EQ(headers[1].page, 2);
      EXPECT_EQ(headers[1].text.anchor.y(), dev(100));
      const auto details = find(*printer, "D");
      ASSERT_EQ(details.size(), 4u);
      EXPECT_EQ(details[2].page, 2);
      EXPECT_EQ(details[2].text.anchor.y(), dev(300));
    }
  }
}

class PageFurnitureTest : public EngineTest {
protected:
  PageFurnitureTest() {
    report->setDataSet(data);
    detail = band("D", TReportBandType::rbDetail, 1000);
    fillInvoices({1, 2, 3, 4, 5}); // two per page
  }
  TReportBand *detail;
};

TEST_F(PageFurnitureTest, ReportPrintablesPrintOnEveryPageFromThePaperCorner) {
  addShape(*report,
           {.name = "shpFoldLine", .box = {0, 995, 66, 45}, .shape = TReportShapeType::stHorLine});
  auto printer = record();
  const auto all = pages(*printer);
  ASSERT_EQ(all.size(), 3u);
  for (const TMetaPage &page : all) {
    const auto lines = elementsOf<TMetaLine>(page);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].from, QPoint(0, dev(995 + 22.5)));
    EXPECT_EQ(lines[0].to, QPoint(dev(66), dev(995 + 22.5)));
  }
}

struct THeaderFooterCase {
  bool firstPageHeader;
  bool lastPageFooter;
};

class PageHeaderFooterTest : public PageFurnitureTest,
                             public ::testing::WithParamInterface<THeaderFooterCase> {};

TEST_P(PageHeaderFooterTest, OptionsDecideTheFirstHeaderAndTheLastFooter) {
  const auto [firstHeader, lastFooter] = GetParam();
  TReportOptions options;
  options.setFlag(TReportOption::FirstPageHeader, firstHeader);
  options.setFlag(TReportOption::LastPageFooter, lastFooter);
  report->setOptions(options);
  band("PH", TReportBandType::rbPageHeader, 50);
  band("PF", TReportBandType::rbPageFooter, 80);
  auto printer = record();
  ASSERT_EQ(printer->availablePages(), 3);
  std::vector<int> headerPages, footerPages;
  for (const TFoundText &f : find(*printer, "PH")) {
    headerPages.push_back(f.page);
    EXPECT_EQ(f.text.anchor.y(), dev(100));
  }
  for (const TFoundText &f : find(*printer, "PF")) {
    footerPages.push_back(f.page);
    EXPECT_EQ(f.text.anchor.y(), dev(2970 - 150 - 80));
  }
  const std::vector<int> all{1, 2, 3};
  EXPECT_EQ(headerPages, firstHeader ? all : std::vector<int>({2, 3}));
  EXPECT_EQ(footerPages, lastFooter ? all : std::vector<int>({1, 2}));
  // The footer's room is kept: details start below the header and stop above the footer.
  for (const TFoundText &f : find(*printer, "D"))
    EXPECT_LE(f.text.anchor.y() + dev(1000), dev(2970 - 150 - 80)) << "page " << f.page;
}

INSTANTIATE_TEST_SUITE_P(Options, PageHeaderFooterTest,
                         ::testing::Values(THeaderFooterCase{true, true},
                                           THeaderFooterCase{false, true},
                                           THeaderFooterCase{true, false}));

TEST_F(PageFurnitureTest, PageEventsAndPageNumbersFollowThePages) {
  int started = 0, ended = 0;
  std::vector<qint64> numbers;
  report->OnStartPage = [&](TCustomReport *) { ++started; };
  report->OnEndPage = [&](TCustomReport *) { ++ended; };
  detail->BeforePrint = [&](TReportCustomBand *, bool &) {
    numbers.push_back(std::get<qint64>(*report->Functions().value("PAGENUMBER")));
  };
  report->setReportTitle("Invoice");
  auto printer = record();
  EXPECT_EQ(started, 3);
  EXPECT_EQ(ended, 3);
  // Asked before the band breaks the page: the third detail is asked on page 1.
  EXPECT_EQ(numbers, (std::vector<qint64>{0, 1, 1, 2, 2}));
  EXPECT_TRUE(sameValue(*report->Functions().value("REPORTTITLE"), QString("Invoice")));
}

TEST_F(PageFurnitureTest, ReportFrameSurroundsTheMargins) {
  report->setFrame(
      makeFrame(TFrameSide::Top | TFrameSide::Left, 1, Qt::SolidLine, qRgb(255, 0, 0)));
  auto printer = record();
  for (const TMetaPage &page : pages(*printer)) {
    std::vector<QRect> red;
    for (const TMetaFillRect &fill : elementsOf<TMetaFillRect>(page))
      if (fill.brush.color == qRgb(255, 0, 0))
        red.push_back(fill.rect);
    ASSERT_EQ(red.size(), 2u);
    EXPECT_EQ(red[0], QRect(dev(150), dev(100), dev(1950) - dev(150), 1));
    EXPECT_EQ(red[1], QRect(dev(150), dev(100), 1, dev(2820) - dev(100)));
  }
}

TEST_F(PageFurnitureTest, ColumnsFillLeftToRightBeforeANewPage) {
  report->Page().setNativeValue(TReportPage::ColumnSpaceIndex, 50.0);
  report->Page().setColumns(2);
  std::vector<qint64> columns;
  detail->AfterPrint = [&](TReportCustomBand *, bool) {
    columns.push_back(std::get<qint64>(*report->Functions().value("COLUMNNUMBER")));
  };
  auto printer = record();
  ASSERT_EQ(printer->availablePages(), 2);
  const auto details = find(*printer, "D");
  ASSERT_EQ(details.size(), 5u);
  EXPECT_EQ(details[2].page, 1);
  EXPECT_EQ(details[2].text.anchor.x(), dev(150 + 50 + detail->width()));
  EXPECT_EQ(details[2].text.anchor.y(), dev(100));
  EXPECT_EQ(details[4].page, 2);
  EXPECT_EQ(details[4].text.anchor.x(), dev(150));
  EXPECT_EQ(columns, (std::vector<qint64>{1, 1, 2, 2, 1}));
}

} // namespace
} // namespace TDInvoice::Testing
