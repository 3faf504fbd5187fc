// How a run starts, reports progress, stops and fails.
#include "EngineTestSupport.h"

#include "TDInvoice/Exceptions.h"
#include "report/engine/ReportRunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <stdexcept>

namespace TDInvoice::Testing {
namespace {

class RunControlTest : public EngineTest {
protected:
  RunControlTest() {
    report->setDataSet(data);
    group = addGroup(
        *report, {.band = {.name = "GH", .height = 100}, .expression = "ADODataSet1.InvoiceNo"});
    detail = band("D", TReportBandType::rbDetail, 1200);
    groupFooter = band("GF", TReportBandType::rbTitle, 100);
    group->setFooterBand(groupFooter);
    addShape(*report,
             {.name = "mark", .box = {0, 995, 66, 45}, .shape = TReportShapeType::stHorLine});
    report->OnEndPage = [this](TCustomReport *) { ++pagesEnded; };
    logPrints(*detail);
    logPrints(*groupFooter);
    fillInvoices({1, 1, 1, 1}); // two details a page
  }
  // Lines of the report's own mark on each page.
  std::vector<std::size_t> marks(const TReportPrinter &printer) const {
    std::vector<std::size_t> result;
    for (const TMetaPage &page : pages(printer))
      result.push_back(elementsOf<TMetaLine>(page).size());
    return result;
  }

  TReportGroup *group;
  TReportBand *detail;
  TReportBand *groupFooter;
  int pagesEnded = 0;
};

TEST_F(RunControlTest, ProgressFollowsTheDetailsOfTheReportDataSet) {
  std::vector<int> reported;
  report->setProgressHandler([&](int percent) { reported.push_back(percent); });
  auto printer = record();
  EXPECT_EQ(reported, (std::vector<int>{25, 50, 75, 100}));
  EXPECT_EQ(printer->progress(), 100);
}

TEST_F(RunControlTest, ProgressCountsOneRecordWhenCountingFails) {
  std::vector<int> reported;
  report->setProgressHandler([&](int percent) { reported.push_back(percent); });
  data->setCountFails(true);
  record();
  EXPECT_EQ(reported, (std::vector<int>{100, 200, 300, 400}));
}

TEST_F(RunControlTest, HostProgressCallbackReceivesTheContext) {
  std::vector<int> reported;
  report->setProgressCallback(
      [](void *context, std::int32_t percent) {
        static_cast<std::vector<int> *>(context)->push_back(percent);
      },
      &reported);
  record();
  EXPECT_EQ(reported, (std::vector<int>{25, 50, 75, 100}));
}

TEST_F(RunControlTest, CancellingTheReportAbortsWithoutEndingTheLastPage) {
  detail->BeforePrint = [this](TReportCustomBand *, bool &) {
    if (data->recordNo() == 2)
      report->cancel();
  };
  auto printer = record();
  EXPECT_TRUE(report->cancelled());
  EXPECT_FALSE(report->running());
  // The third detail completes; the loop stops before the fourth. The group footer still
  // belongs to the loop's end, but the page it is on is never ended.
  EXPECT_EQ(log.count("D"), 3);
  EXPECT_EQ(printer->status(), TPrinterStatus::Finished);
  EXPECT_TRUE(printer->cancelled());
  ASSERT_EQ(printer->availablePages(), 2); // the page in progress is kept unfinished
  EXPECT_EQ(pagesEnded, 1);
  EXPECT_EQ(marks(*printer), (std::vector<std::size_t>{1, 0}));
}

TEST_F(RunControlTest, CancellingTheDeviceFinishesTheDocumentNormally) {
  detail->BeforePrint = [this](TReportCustomBand *, bool &) {
    if (data->recordNo() == 2)
      report->runner()->printer().cancel();
  };
  auto printer = record();
  EXPECT_FALSE(report->cancelled());
  EXPECT_EQ(log.count("D"), 3);
  EXPECT_TRUE(log.contains("GF"));
  EXPECT_EQ(printer->status(), TPrinterStatus::Finished);
  ASSERT_EQ(printer->availablePages(), 2);
  EXPECT_EQ(pagesEnded, 2);
  EXPECT_EQ(marks(*printer), (std::vector<std::size_t>{1, 1}));
}

TEST_F(RunControlTest, HandlerErrorAbortsTheDocumentAndLeavesTheReportIdle) {
  bool fail = true;
  detail->BeforePrint = [&](TReportCustomBand *, bool &) {
    if (fail && data->recordNo() == 1)
      throw std::runtime_error("handler failed");
  };
  report->setUnits(TReportUnit::MM);
  TReportPrinter printer(TPrinterDestination::Record);
  EXPECT_EQ(thrownMessage<std::runtime_error>([&] { report->run(printer); }), "handler failed");
  EXPECT_FALSE(report->running());
  EXPECT_EQ(printer.status(), TPrinterStatus::Finished);
  EXPECT_EQ(pagesEnded, 0);
  EXPECT_EQ(report->Units(), TReportUnit::MM);
  EXPECT_DOUBLE_EQ(detail->Size().Height(), 120.0); // read in millimetres again
  // The report runs again afterwards.
  fail = false;
  log.clear();
  auto again = record();
  EXPECT_EQ(log.count("D"), 4);
  EXPECT_EQ(again->availablePages(), 2);
}

TEST_F(RunControlTest, BeforePrintAnsweringFalseOutputsNothing) {
  int asked = 0;
  report->BeforePrint = [&](TCustomReport *sender, bool &print) {
    EXPECT_EQ(sender, report);
    EXPECT_TRUE(print);
    EXPECT_TRUE(report->running());
    ++asked;
    print = false;
  };
  auto printer = record();
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(report->running());
  EXPECT_EQ(printer->status(), TPrinterStatus::Ready);
  EXPECT_EQ(printer->pageCount(), 0);
  EXPECT_TRUE(log.isEmpty());
}

TEST_F(RunControlTest, MissingFontFailsBeforeTheDocumentBegins) {
  addLabel(*detail, {.name = "odd", .font = makeFont("NoSuchFamilyQx", 10), .caption = "x"});
  TReportPrinter printer(TPrinterDestination::Record);
  const std::string message = thrownMessage<EReportError>([&] { report->run(printer); });
  EXPECT_NE(message.find("NoSuchFamilyQx"), std::string::npos) << message;
  EXPECT_EQ(printer.status(), TPrinterStatus::Ready);
  EXPECT_FALSE(report->running());
}

TEST_F(RunControlTest, RunReadsNativeUnitsAndRestoresTheDesignUnits) {
  report->setUnits(TReportUnit::Inches);
  double during = 0;
  detail->BeforePrint = [&](TReportCustomBand *sender, bool &) {
    during = sender->Size().Height();
  };
  record();
  EXPECT_DOUBLE_EQ(during, 1200.0);
  EXPECT_EQ(report->Units(), TReportUnit::Inches);
  EXPECT_DOUBLE_EQ(detail->Size().Height(), 1200.0 / 254.0);
}

TEST_F(RunControlTest, PageOperationsDoNothingWhileIdle) {
  report->NewPage();
  report->NewColumn();
  EXPECT_EQ(report->AvailableSpace(), 0);
  EXPECT_EQ(report->PageNumber(), 0);
  // A handler's page break starts the next page.
  detail->AfterPrint = [this](TReportCustomBand *, bool) {
    if (data->recordNo() == 0)
      report->NewPage();
  };
  auto printer = record();
  EXPECT_EQ(printer->availablePages(), 3);
  const auto details = find(*printer, "D");
  ASSERT_EQ(details.size(), 4u);
  EXPECT_EQ(details[1].page, 2);
}

TEST_F(RunControlTest, ARunningReportIgnoresAnotherRun) {
  int nested = 0;
  detail->BeforePrint = [&](TReportCustomBand *, bool &) {
    TReportPrinter other(TPrinterDestination::Record);
    report->run(other);
    nested += other.status() == TPrinterStatus::Ready ? 1 : 0;
  };
  record();
  EXPECT_EQ(nested, 4);
}

TEST_F(RunControlTest, DirectPrintingFiresAfterPrint) {
  int fired = 0;
  report->AfterPrint = [&](TCustomReport *) { ++fired; };
  record();
  EXPECT_EQ(fired, 0);
  const QString file = QDir::temp().filePath(
      QStringLiteral("engine-direct-%1.pdf").arg(QCoreApplication::applicationPid()));
  TReportPrinter direct(TPrinterDestination::Direct);
  direct.setOutputFileName(file);
  report->run(direct);
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(direct.pageCount(), 2);
  EXPECT_TRUE(QFile::exists(file));
  QFile::remove(file);
}

} // namespace
} // namespace TDInvoice::Testing
