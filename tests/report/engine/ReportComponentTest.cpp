// The report as the host drives it.
#include "EngineTestSupport.h"

#include "TDInvoice/Exceptions.h"
#include "report/output/PrinterSettings.h"
#include "report/output/ReportPageList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace TDInvoice::Testing {
namespace {

class ReportComponentTest : public EngineTest {
protected:
  ReportComponentTest() {
    report->setDataSet(data);
    addBand(*report, {.name = "D", .type = TReportBandType::rbDetail, .height = 1300});
    report->BeforePrint = [this](TCustomReport *, bool &) { ++runs; };
    fillInvoices({1, 2, 3}); // two pages
  }
  TDInvoice::TReportComponent &host() { return *report; }
  int runs = 0;
};

TEST_F(ReportComponentTest, ExportsEachFormatAndCountsItsPages) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const struct {
    const char *format;
    QString target;
  } cases[] = {{"pdf", dir.filePath("out.pdf")},
               {"PDF", dir.filePath("upper.pdf")},
               {"qrp", dir.filePath("out.qrp")},
               {"png", dir.filePath("pages")}};
  QDir().mkpath(dir.filePath("pages"));
  for (const auto &c : cases) {
    EXPECT_EQ(host().exportTo(c.target.toLocal8Bit().constData(), c.format), 2) << c.format;
    EXPECT_TRUE(QFile::exists(c.target)) << c.format;
  }
  EXPECT_EQ(runs, 4);
  EXPECT_EQ(QDir(dir.filePath("pages")).entryList(QDir::Files).size(), 2);
  // A saved store loads back with its pages.
  TReportPrinter loaded(TPrinterDestination::Record);
  loaded.loadFromFile(dir.filePath("out.qrp"));
  EXPECT_EQ(loaded.pageStore()->pageCount(), 2);
}

TEST_F(ReportComponentTest, UnknownExportFormatIsRefusedBeforeRunning) {
  EXPECT_EQ(thrownMessage<EReportError>([&] { host().exportTo("x.doc", "doc"); }),
            "Unknown export format \"doc\"");
  EXPECT_EQ(runs, 0);
}

TEST_F(ReportComponentTest, ExportOfADeclinedRunWritesNothing) {
  QTemporaryDir dir;
  report->BeforePrint = [](TCustomReport *, bool &print) { print = false; };
  const QString target = dir.filePath("none.pdf");
  EXPECT_EQ(host().exportTo(target.toLocal8Bit().constData(), "pdf"), 0);
  EXPECT_FALSE(QFile::exists(target));
}

TEST_F(ReportComponentTest, PreviewNeedsAnInstalledWindow) {
  EXPECT_EQ(thrownMessage<EReportError>([&] { host().preview(); }),
            "No preview window is available");
  int shown = 0;
  report->setPreviewHandler([&](TReport &r) {
    EXPECT_EQ(&r, report);
    auto device = r.record();
    shown = device->availablePages();
  });
  host().preview();
  EXPECT_EQ(shown, 2);
}

TEST_F(ReportComponentTest, PrintWithoutPrinterDoesNothing) {
  if (TPrinterSettings::printerAvailable())
    GTEST_SKIP() << "a printer is installed";
  host().print();
  EXPECT_EQ(runs, 0);
}

TEST_F(ReportComponentTest, SettingsAndTitleRoundTrip) {
  TReportPrinterSettingsValues settings;
  settings.Copies = 3;
  settings.Duplex = true;
  settings.FirstPage = 2;
  settings.LastPage = 4;
  settings.OutputBin = TReportBin::Manual;
  settings.PrinterIndex = 1;
  host().setPrinterSettings(settings);
  const TReportPrinterSettingsValues back = host().printerSettings();
  EXPECT_EQ(back.Copies, 3);
  EXPECT_TRUE(back.Duplex);
  EXPECT_EQ(back.FirstPage, 2);
  EXPECT_EQ(back.LastPage, 4);
  EXPECT_EQ(back.OutputBin, TReportBin::Manual);
  EXPECT_EQ(report->PrinterSettings().PrinterIndex, 1);

  host().setReportTitle("Invoice");
  EXPECT_STREQ(host().reportTitle(), "Invoice");
  EXPECT_EQ(report->ReportTitle(), QStringLiteral("Invoice"));
  host().setShowProgress(false);
  EXPECT_FALSE(host().showProgress());
  EXPECT_FALSE(report->ShowProgress());
}

TEST_F(ReportComponentTest, RunHandsPageAndSettingsToTheDevice) {
  report->Page().setOrientation(TReportOrientation::poLandscape);
  report->PrinterSettings().FirstPage = 2;
  report->PrinterSettings().LastPage = 3;
  report->setReportTitle("Invoice");
  auto printer = record();
  EXPECT_EQ(printer->orientation(), TReportOrientation::poLandscape);
  EXPECT_DOUBLE_EQ(printer->paperLength(), 2100.0);
  EXPECT_EQ(printer->firstPage(), 2);
  EXPECT_EQ(printer->lastPage(), 3);
  EXPECT_EQ(printer->title(), QStringLiteral("Invoice"));
  // Landscape A4 holds one 1300 detail a page below the 10 mm top margin.
  EXPECT_EQ(printer->availablePages(), 3);
}

} // namespace
} // namespace TDInvoice::Testing
