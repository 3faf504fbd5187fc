// Direct printing on a real CUPS queue: the cups-pdf queue that scripts/cups-setup.sh adds,
// which writes every job it prints as a PDF named after the job's title. Skipped, with the
// reason, where that queue is not available.
#include "OutputTestSupport.h"
#include "PrintTestSupport.h"
#include "report/output/PrinterSettings.h"
#include "report/output/ReportPrinter.h"

#include <QCoreApplication>
#include <QDateTime>

namespace TDInvoice::Report {
namespace {

using Testing::cupsOutputs;

class CupsQueueTest : public ::testing::Test {
protected:
  void SetUp() override {
    const QString reason = Testing::cupsQueueUnavailable();
    if (!reason.isEmpty())
      GTEST_SKIP() << reason.toStdString();
  }

  QString uniqueTitle(const char *what) const {
    return QStringLiteral("tdi-output-%1-%2-%3")
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch())
        .arg(QLatin1String(what));
  }

  void layOut(TReportPrinter &printer, const QString &title, int pages, int copies = 1) const {
    printer.setPrinterIndex(int(TPrinterSettings::printerNames().indexOf(Testing::kTestQueue)));
    printer.setTitle(title);
    printer.setCopies(copies);
    printer.beginDoc();
    for (int n = 1; n <= pages; ++n) {
      printer.newPage();
      printer.canvas().textOut(printer.xPos(200), printer.yPos(200 + 100 * n),
                               QStringLiteral("Page %1").arg(n));
    }
  }

  Testing::PrivateTempFolder temp;
};

// The queue prints its jobs in order: once the job after the aborted one is out, the
// aborted one would have been out before it.
TEST_F(CupsQueueTest, AnAbortedJobNeverPrintsTheNextOneDoesWithEveryCopy) {
  const QString aborted = uniqueTitle("aborted");
  const QString printed = uniqueTitle("printed");
  {
    TReportPrinter printer(TPrinterDestination::Direct);
    layOut(printer, aborted, 3);
    printer.newPage();
    printer.abortDoc();
  }
  EXPECT_TRUE(temp.files().isEmpty());
  {
    TReportPrinter printer(TPrinterDestination::Direct);
    layOut(printer, printed, 2, 2);
    printer.endDoc();
  }
  EXPECT_TRUE(temp.files().isEmpty());
  const QStringList outputs = cupsOutputs(printed, 60000);
  ASSERT_EQ(outputs.size(), 1) << "no PDF for " << printed.toStdString() << " in "
                               << Testing::cupsOutputFolder().toStdString();
  EXPECT_EQ(Testing::pdfPageCount(outputs.first()), 4) << "two copies of two pages";
  EXPECT_FALSE(Testing::cupsOutputBegun(aborted)) << "the aborted job printed";
}

} // namespace
} // namespace TDInvoice::Report
