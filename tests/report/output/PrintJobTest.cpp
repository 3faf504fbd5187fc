// Direct printing withholds its job until the document ends: a failed or cancelled run
// leaves neither a job nor an output file, and never a temporary file.
#include "report/output/PrintJob.h"
#include "OutputTestSupport.h"
#include "PrintTestSupport.h"
#include "report/output/PrinterSettings.h"
#include "report/output/ReportPrinter.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <optional>

namespace TDInvoice::Report {
namespace {

using Testing::FakeQueueClient;
using Testing::pdfPageTexts;
using Testing::PrivateTempFolder;
using Testing::reportError;

class FinishedClient : public TReportPrinterClient {
public:
  void pagesAvailable(int) override {}
  void progressChanged(int) override {}
  void documentFinished() override { ++finished; }
  int finished = 0;
};

void drawPage(TReportPrinter &printer, int n) {
  printer.canvas().textOut(printer.xPos(200), printer.yPos(200),
                           QStringLiteral("Run page %1").arg(n));
}

void layOut(TReportPrinter &printer, int pages) {
  printer.beginDoc();
  for (int n = 1; n <= pages; ++n) {
    printer.newPage();
    drawPage(printer, n);
  }
}

TPrinterSettings pdfDevice() {
  return TPrinterSettings::describe(QStringLiteral("PDF"), {TReportPaperSize::A4},
                                    TReportPaperSize::A4);
}

// Two pages drawn straight onto the job's printer.
void paintTwoPages(TPrintJob &job) {
  for (int n = 1; n <= 2; ++n)
    job.beginPage().drawText(QPointF(300, 300), QStringLiteral("Job page %1").arg(n));
}

const QStringList kTwoJobPages{QStringLiteral("Job page 1"), QStringLiteral("Job page 2")};

TEST(PrintJobToFile, TheFileAppearsOnlyWhenTheJobFinishes) {
  PrivateTempFolder temp;
  QTemporaryDir out;
  const QString target = out.filePath(QStringLiteral("invoices.pdf"));
  TPrinterSettings settings = pdfDevice();
  auto job = TPrintJob::toFile(settings, target, QStringLiteral("Invoices"));
  paintTwoPages(*job);
  EXPECT_FALSE(QFileInfo::exists(target));
  EXPECT_EQ(temp.files().size(), 1) << "the pages wait in a temporary file";
  job->finish();
  EXPECT_EQ(pdfPageTexts(target), kTwoJobPages);
  EXPECT_TRUE(temp.files().isEmpty());
  QFile plain(out.filePath(QStringLiteral("plain")));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  EXPECT_EQ(QFileInfo(target).permissions(), QFileInfo(plain.fileName()).permissions())
      << "the output file is an ordinary file, not a private temporary one";
  job->abort(); // too late: nothing changes
  EXPECT_EQ(pdfPageTexts(target), kTwoJobPages);
}

TEST(PrintJobToFile, AnAbortedJobLeavesNoFileAndAnEarlierFileAsItWas) {
  enum class End { Abort, Destroy, NoPages };
  for (const bool earlier : {false, true})
    for (const End end : {End::Abort, End::Destroy, End::NoPages}) {
      SCOPED_TRACE(testing::Message() << "earlier " << earlier << " end " << int(end));
      PrivateTempFolder temp;
      QTemporaryDir out;
      const QString target = out.filePath(QStringLiteral("invoices.pdf"));
      if (earlier)
        Testing::writeAll(target, "earlier output");
      TPrinterSettings settings = pdfDevice();
      auto job = TPrintJob::toFile(settings, target, QStringLiteral("Invoices"));
      if (end != End::NoPages)
        paintTwoPages(*job);
      if (end == End::Abort)
        job->abort();
      else if (end == End::NoPages)
        job->finish();
      job.reset();
      EXPECT_EQ(QFileInfo::exists(target), earlier);
      if (earlier) {
        EXPECT_EQ(Testing::readAll(target), QByteArray("earlier output"));
      }
      EXPECT_TRUE(temp.files().isEmpty());
    }
}

TEST(PrintJobToFile, AFileThatCannotBeWrittenIsReported) {
  PrivateTempFolder temp;
  QTemporaryDir out;
  TPrinterSettings settings = pdfDevice();
  const QString missing = out.filePath(QStringLiteral("no-such-folder/invoices.pdf"));
  EXPECT_EQ(reportError([&] { TPrintJob::toFile(settings, missing, QString()); }),
            ("Cannot write " + missing + ": its folder does not exist").toStdString());
  // The folder goes while the job is open: the pages are lost, and so is the temporary file.
  const QString folder = out.filePath(QStringLiteral("gone"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString target = folder + QStringLiteral("/invoices.pdf");
  auto job = TPrintJob::toFile(settings, target, QString());
  paintTwoPages(*job);
  ASSERT_TRUE(QDir(folder).removeRecursively());
  EXPECT_NE(reportError([&] { job->finish(); }).find("Cannot write " + target.toStdString()),
            std::string::npos);
  EXPECT_FALSE(job->isOpen());
  EXPECT_TRUE(temp.files().isEmpty());
}

TEST(ReportPrinterDirectFile, AFailedOrCancelledRunWritesNothing) {
  enum class End { Abort, Cleanup, Destroy };
  for (const End end : {End::Abort, End::Cleanup, End::Destroy}) {
    SCOPED_TRACE(int(end));
    PrivateTempFolder temp;
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("run.pdf"));
    {
      TReportPrinter printer(TPrinterDestination::Direct);
      printer.setOutputFileName(target);
      layOut(printer, 3);
      printer.newPage(); // page 3 printed, page 4 in progress
      EXPECT_EQ(temp.files().size(), 1);
      if (end == End::Abort)
        printer.abortDoc();
      else if (end == End::Cleanup)
        printer.cleanup();
      if (end != End::Destroy) {
        EXPECT_NE(printer.status(), TPrinterStatus::Busy);
      }
    }
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_TRUE(temp.files().isEmpty());
  }
}

TEST(ReportPrinterDirectFile, AFailedDeliveryIsReportedAndTheDocumentStillEnds) {
  PrivateTempFolder temp;
  QTemporaryDir out;
  const QString folder = out.filePath(QStringLiteral("gone"));
  ASSERT_TRUE(QDir().mkpath(folder));
  FinishedClient client;
  TReportPrinter printer(TPrinterDestination::Direct);
  printer.setClient(&client);
  printer.setOutputFileName(folder + QStringLiteral("/run.pdf"));
  layOut(printer, 2);
  ASSERT_TRUE(QDir(folder).removeRecursively());
  EXPECT_NE(reportError([&] { printer.endDoc(); }).find("Cannot write"), std::string::npos);
  EXPECT_EQ(printer.status(), TPrinterStatus::Finished);
  QCoreApplication::processEvents();
  EXPECT_EQ(client.finished, 1);
  EXPECT_TRUE(temp.files().isEmpty());
  printer.cleanup();
  EXPECT_EQ(printer.status(), TPrinterStatus::Ready);
}

// The device on an installed print queue, with a stand-in for lp that keeps what it was
// sent: what reaches the queue, and when.
class QueueDeviceTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!TPrintQueue::spoolsJobs())
      GTEST_SKIP() << "printers here are not CUPS queues";
    if (!TPrinterSettings::printerAvailable())
      GTEST_SKIP() << "no printer is installed (scripts/cups-setup.sh adds one)";
    queue = QPrinterInfo::defaultPrinterName();
  }

  // A duplex-capable printer with A4 and A5 whose own duplex setting is duplexOn.
  void describePrinter(TReportPrinter &printer, bool duplexOn) const {
    TPrinterSettings settings = TPrinterSettings::describe(
        queue, {TReportPaperSize::A4, TReportPaperSize::A5}, TReportPaperSize::A4, true);
    settings.setDuplex(duplexOn);
    printer.setPrinterSettings(settings);
  }

  PrivateTempFolder temp;
  QString queue;
  const QString title = QStringLiteral("Queue test");
};

TEST_F(QueueDeviceTest, TheJobReachesTheQueueWithItsSettingsWhenTheDocumentEnds) {
  struct Case {
    int copies;
    TReportBin bin;
    bool printerDuplex;
    std::optional<bool> duplex; // told to the device
    TReportOrientation orientation;
    TReportPaperSize paper;
    QStringList options;
  };
  const auto portrait = TReportOrientation::poPortrait;
  const auto landscape = TReportOrientation::poLandscape;
  const auto A4 = TReportPaperSize::A4;
  const auto none = std::optional<bool>();
  // clang-format off
  const Case cases[] = {
      {1, TReportBin::Auto, false, none, portrait, A4,
       {"-n", "1", "-o", "media=A4", "-o", "sides=one-sided"}},
      // Duplex follows the printer's own setting unless the device is told otherwise.
      {1, TReportBin::Auto, true, none, portrait, A4,
       {"-n", "1", "-o", "media=A4", "-o", "sides=two-sided-short-edge"}},
      {1, TReportBin::Auto, true, false, portrait, A4,
       {"-n", "1", "-o", "media=A4", "-o", "sides=one-sided"}},
      {2, TReportBin::Upper, false, none, landscape, TReportPaperSize::A5,
       {"-n", "2", "-o", "collate=true", "-o", "media=A5", "-o", "sides=one-sided",
        "-o", "landscape", "-o", "media-source=top"}},
      // A paper the printer lacks: its own paper.
      {1, TReportBin::Lower, false, none, portrait, TReportPaperSize::Legal,
       {"-n", "1", "-o", "media=A4", "-o", "sides=one-sided", "-o", "media-source=bottom"}},
  };
  // clang-format on
  for (const Case &c : cases) {
    SCOPED_TRACE(c.options.join(QLatin1Char(' ')).toStdString());
    FakeQueueClient lp;
    TReportPrinter printer(TPrinterDestination::Direct);
    describePrinter(printer, c.printerDuplex);
    if (c.duplex)
      printer.setDuplex(*c.duplex);
    printer.setCopies(c.copies);
    printer.setOutputBin(c.bin);
    printer.setOrientation(c.orientation);
    printer.setPaperSize(c.paper);
    printer.setTitle(title);
    printer.setFirstPage(2);
    printer.setLastPage(3);
    layOut(printer, 4);
    EXPECT_FALSE(lp.called()) << "nothing is sent while the run goes on";
    printer.endDoc();
    const QStringList sent = lp.arguments();
    ASSERT_FALSE(sent.isEmpty());
    const QString spooled = sent.last();
    EXPECT_EQ(sent, QStringList({"-d", queue, "-t", title}) + c.options + QStringList{spooled});
    EXPECT_EQ(QFileInfo(spooled).absolutePath(), QFileInfo(temp.path()).absoluteFilePath());
    EXPECT_EQ(pdfPageTexts(lp.submittedFile()),
              QStringList({QStringLiteral("Run page 2"), QStringLiteral("Run page 3")}));
    EXPECT_TRUE(temp.files().isEmpty()) << "the temporary file goes once the queue has it";
  }
}

TEST_F(QueueDeviceTest, AnAbortedDocumentSendsNothing) {
  enum class End { Abort, Cleanup, Destroy };
  for (const End end : {End::Abort, End::Cleanup, End::Destroy}) {
    SCOPED_TRACE(int(end));
    FakeQueueClient lp;
    {
      TReportPrinter printer(TPrinterDestination::Direct);
      layOut(printer, 3);
      printer.newPage();
      if (end == End::Abort)
        printer.abortDoc();
      else if (end == End::Cleanup)
        printer.cleanup();
    }
    EXPECT_FALSE(lp.called());
    EXPECT_TRUE(temp.files().isEmpty());
  }
}

TEST_F(QueueDeviceTest, ARefusedJobIsReportedAndTheDocumentStillEnds) {
  FakeQueueClient lp({QStringLiteral("lp: Error - Destination is not accepting jobs."), 1});
  FinishedClient client;
  TReportPrinter printer(TPrinterDestination::Direct);
  describePrinter(printer, false);
  printer.setClient(&client);
  printer.setTitle(title);
  layOut(printer, 2);
  EXPECT_EQ(reportError([&] { printer.endDoc(); }),
            ("The print job \"" + title + "\" could not be sent to " + queue +
             ": lp: Error - Destination is not accepting jobs.")
                .toStdString());
  EXPECT_TRUE(lp.called());
  EXPECT_EQ(printer.status(), TPrinterStatus::Finished);
  QCoreApplication::processEvents();
  EXPECT_EQ(client.finished, 1);
  EXPECT_TRUE(temp.files().isEmpty());
}

TEST_F(QueueDeviceTest, WithoutTheClientProgramTheDocumentDoesNotBegin) {
  Testing::NoQueueClient none;
  TReportPrinter printer(TPrinterDestination::Direct);
  describePrinter(printer, false);
  EXPECT_EQ(
      reportError([&] { printer.beginDoc(); }),
      ("Cannot print on " + queue + ": the CUPS client program lp is not installed").toStdString());
  EXPECT_EQ(printer.status(), TPrinterStatus::Ready);
  EXPECT_TRUE(temp.files().isEmpty());
}

TEST_F(QueueDeviceTest, PrintingALoadedStoreGoesToTheQueueUnlessCancelled) {
  QTemporaryDir dir;
  const QString saved = dir.filePath(QStringLiteral("recorded.qrp"));
  {
    TReportPrinter live(TPrinterDestination::Record);
    layOut(live, 3);
    live.endDoc();
    live.saveToFile(saved);
  }
  for (const bool cancel : {false, true}) {
    SCOPED_TRACE(cancel);
    FakeQueueClient lp;
    TReportPrinter loaded(TPrinterDestination::Record);
    loaded.loadFromFile(saved);
    loaded.setFirstPage(2);
    if (cancel)
      QTimer::singleShot(0, [&loaded] { loaded.cancel(); });
    loaded.printRecorded();
    EXPECT_EQ(lp.called(), !cancel);
    if (!cancel) {
      EXPECT_EQ(pdfPageTexts(lp.submittedFile()),
                QStringList({QStringLiteral("Run page 2"), QStringLiteral("Run page 3")}));
    }
    EXPECT_TRUE(temp.files().isEmpty());
  }
}

} // namespace
} // namespace TDInvoice::Report
