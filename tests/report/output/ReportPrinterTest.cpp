#include "report/output/ReportPrinter.h"
#include "OutputTestSupport.h"
#include "report/output/MetaPage.h"
#include "report/output/PrinterSettings.h"
#include "report/output/ReportPageList.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

namespace TDInvoice::Report {
namespace {

using Testing::reportError;

// Remembers every notification in arrival order.
class RecordingClient : public TReportPrinterClient {
public:
  void pagesAvailable(int count) override { calls.push_back("pages " + std::to_string(count)); }
  void progressChanged(int percent) override {
    calls.push_back("progress " + std::to_string(percent));
  }
  void documentFinished() override { calls.push_back("finished"); }
  std::vector<std::string> calls;
};

// Draws page n of a run: its number as text and a line whose y is n device units down.
void drawPage(TReportPrinter &printer, int n) {
  printer.canvas().textOut(printer.xPos(200), printer.yPos(200),
                           QStringLiteral("Run page %1").arg(n));
  printer.canvas().line(QPoint(0, n), QPoint(10, n));
}

void run(TReportPrinter &printer, int pages) {
  printer.beginDoc();
  for (int n = 1; n <= pages; ++n) {
    printer.newPage();
    drawPage(printer, n);
  }
  printer.endDoc();
}

TEST(ReportPrinterStatus, MovesReadyBusyFinishedAndRefusesCallsOutOfTurn) {
  TReportPrinter printer(TPrinterDestination::Record);
  EXPECT_EQ(printer.status(), TPrinterStatus::Ready);
  EXPECT_EQ(reportError([&] { printer.newPage(); }), "Illegal call to NewPage");
  EXPECT_EQ(reportError([&] { printer.canvas(); }), "No page has been begun");
  printer.beginDoc();
  EXPECT_EQ(printer.status(), TPrinterStatus::Busy);
  EXPECT_EQ(reportError([&] { printer.beginDoc(); }), "Printer not ready");
  printer.newPage();
  printer.endDoc();
  EXPECT_EQ(printer.status(), TPrinterStatus::Finished);
  EXPECT_EQ(reportError([&] { printer.newPage(); }), "Illegal call to NewPage");
  EXPECT_EQ(reportError([&] { printer.beginDoc(); }), "Printer not ready");
  printer.endDoc(); // ignored once finished
  EXPECT_EQ(printer.pageCount(), 1);
  printer.cleanup();
  EXPECT_EQ(printer.status(), TPrinterStatus::Ready);
  printer.beginDoc();
  EXPECT_EQ(printer.pageCount(), 0);
  printer.cleanup(); // cancels a document still open
  EXPECT_TRUE(printer.cancelled());
  EXPECT_EQ(printer.status(), TPrinterStatus::Ready);
}

TEST(ReportPrinterStatus, BeginClearsCountersAndTheCancelFlag) {
  TReportPrinter printer(TPrinterDestination::Record);
  run(printer, 2);
  printer.cancel();
  printer.setProgress(40);
  printer.cleanup();
  printer.beginDoc();
  EXPECT_FALSE(printer.cancelled());
  EXPECT_EQ(printer.pageCount(), 0);
  EXPECT_EQ(printer.availablePages(), 0);
  EXPECT_EQ(printer.progress(), 0);
  EXPECT_EQ(printer.pageStore()->pageCount(), 0);
}

TEST(ReportPrinterGeometry, RecordingConvertsNativeUnitsAtScreenResolution) {
  TReportPrinter printer(TPrinterDestination::Record);
  printer.beginDoc();
  EXPECT_DOUBLE_EQ(printer.xFactor(), 96.0 / 254);
  EXPECT_DOUBLE_EQ(printer.yFactor(), 96.0 / 254);
  struct Case {
    double native;
    int device;
  };
  // 3.96875 x 96/254 is exactly 1.5, 11.90625 exactly 4.5, 19.84375 exactly 7.5: halves go
  // to the even neighbour.
  const Case cases[] = {{0, 0},       {254, 96},     {2100, 794},   {2970, 1123},   {-10, -4},
                        {3.96875, 2}, {11.90625, 4}, {19.84375, 8}, {-3.96875, -2}, {1.3, 0}};
  for (const Case c : cases) {
    EXPECT_EQ(printer.xPos(c.native), c.device) << c.native;
    EXPECT_EQ(printer.yPos(c.native), c.device) << c.native;
    EXPECT_EQ(printer.xSize(c.native), c.device) << c.native;
    EXPECT_EQ(printer.ySize(c.native), c.device) << c.native;
  }
}

TEST(ReportPrinterGeometry, PaperFollowsSizeAndOrientation) {
  struct Case {
    TReportPaperSize paper;
    TReportOrientation orientation;
    double width, length;
    QSize device;
  };
  const Case cases[] = {
      {TReportPaperSize::A4, TReportOrientation::poPortrait, 2100, 2970, {794, 1123}},
      {TReportPaperSize::A4, TReportOrientation::poLandscape, 2970, 2100, {1123, 794}},
      {TReportPaperSize::Letter, TReportOrientation::poPortrait, 2159, 2794, {816, 1056}},
      {TReportPaperSize::Custom, TReportOrientation::poPortrait, 1000, 500, {378, 189}},
      {TReportPaperSize::Custom, TReportOrientation::poLandscape, 500, 1000, {189, 378}},
  };
  for (const Case &c : cases) {
    TReportPrinter printer(TPrinterDestination::Record);
    printer.setPaperSize(c.paper);
    printer.setPaperWidth(1000);
    printer.setPaperLength(500);
    printer.setOrientation(c.orientation);
    EXPECT_DOUBLE_EQ(printer.paperWidth(), c.width);
    EXPECT_DOUBLE_EQ(printer.paperLength(), c.length);
    run(printer, 1);
    EXPECT_EQ(printer.getPage(1)->size(), c.device) << int(c.paper);
    EXPECT_EQ(printer.getPage(1)->dpiX(), 96);
  }
}

TEST(ReportPrinterRecording, FinishedPagesAreReadableWhileTheRunGoesOn) {
  TReportPrinter printer(TPrinterDestination::Record);
  printer.beginDoc();
  printer.newPage();
  drawPage(printer, 1);
  EXPECT_EQ(printer.availablePages(), 0);
  EXPECT_EQ(printer.getPage(1), nullptr) << "the page in progress is not readable";
  printer.newPage();
  drawPage(printer, 2);
  EXPECT_EQ(printer.pageCount(), 2);
  EXPECT_EQ(printer.availablePages(), 1);
  const auto first = printer.getPage(1);
  ASSERT_TRUE(first);
  EXPECT_EQ(Testing::numberOf(*first), 1);
  printer.endDoc();
  EXPECT_EQ(printer.availablePages(), 2);
  EXPECT_EQ(Testing::numberOf(*printer.getPage(2)), 2);
  EXPECT_EQ(printer.getPage(0), nullptr);
  EXPECT_EQ(printer.getPage(3), nullptr);
  // The final header carries the count.
  auto &stream = const_cast<TReportStream &>(printer.pageStore()->stream());
  EXPECT_EQ(Testing::u32At(stream.readAt(0, 12), 8), 2u);
}

TEST(ReportPrinterRecording, AbortKeepsThePageInProgress) {
  TReportPrinter printer(TPrinterDestination::Record);
  printer.beginDoc();
  for (int n = 1; n <= 3; ++n) {
    printer.newPage();
    drawPage(printer, n);
  }
  printer.cancel();
  printer.abortDoc();
  EXPECT_EQ(printer.status(), TPrinterStatus::Finished);
  EXPECT_EQ(printer.pageStore()->pageCount(), 3);
  EXPECT_EQ(Testing::numberOf(*printer.getPage(3)), 3);
}

TEST(ReportPrinterClientNotifications, ArriveThroughTheEventLoopInOrder) {
  RecordingClient client;
  TReportPrinter printer(TPrinterDestination::Record);
  printer.setClient(&client);
  printer.beginDoc();
  printer.newPage();
  printer.newPage();
  printer.setProgress(50);
  printer.newPage();
  printer.endDoc();
  EXPECT_TRUE(client.calls.empty()) << "nothing is delivered from inside the run";
  QCoreApplication::processEvents();
  // A page is announced when the next one begins, the last one when the document ends.
  const std::vector<std::string> expected{"pages 1", "progress 50", "pages 2", "pages 3",
                                          "finished"};
  EXPECT_EQ(client.calls, expected);
}

TEST(ReportPrinterClientNotifications, AreDroppedWithTheDeviceOrADetachedClient) {
  RecordingClient client;
  {
    TReportPrinter printer(TPrinterDestination::Record);
    printer.setClient(&client);
    run(printer, 2);
  }
  QCoreApplication::processEvents();
  EXPECT_TRUE(client.calls.empty());
  TReportPrinter printer(TPrinterDestination::Record);
  printer.setClient(&client);
  run(printer, 1);
  printer.setClient(nullptr);
  QCoreApplication::processEvents();
  EXPECT_TRUE(client.calls.empty());
}

TEST(ReportPrinterStore, TemporaryFileGoesWithTheDeviceAfterEndCancelOrError) {
  enum class Ending { End, Cancel, Error };
  for (const Ending ending : {Ending::End, Ending::Cancel, Ending::Error}) {
    Testing::PrivateTempFolder temp;
    try {
      TReportPrinter printer(TPrinterDestination::Record);
      printer.beginDoc();
      for (int n = 1; n <= 80; ++n) {
        printer.newPage();
        for (int label = 0; label < 20; ++label)
          drawPage(printer, n);
      }
      ASSERT_TRUE(printer.pageStore()->stream().spilled());
      const QString spilled = QFileInfo(printer.pageStore()->stream().fileName()).fileName();
      ASSERT_EQ(temp.files(), QStringList{spilled});
      if (ending == Ending::Error)
        throw EReportError("simulated failure of the run");
      if (ending == Ending::Cancel) {
        printer.cancel();
        printer.abortDoc();
      } else {
        printer.endDoc();
      }
      EXPECT_EQ(Testing::numberOf(*printer.getPage(80)), 80);
    } catch (const EReportError &) {
      EXPECT_EQ(ending, Ending::Error);
    }
    EXPECT_TRUE(temp.files().isEmpty()) << int(ending);
  }
}

TEST(ReportPrinterStore, SavedRunLoadsIntoAnotherDevice) {
  QTemporaryDir dir;
  const QString name = dir.filePath("run.qrp");
  TReportPrinter source(TPrinterDestination::Record);
  EXPECT_EQ(reportError([&] { source.saveToFile(name); }), "There are no report pages to save");
  source.setCompression(true);
  run(source, 4);
  source.saveToFile(name);
  RecordingClient client;
  TReportPrinter target(TPrinterDestination::Record);
  target.setClient(&client);
  target.loadFromFile(name);
  EXPECT_TRUE(target.loaded());
  EXPECT_EQ(target.status(), TPrinterStatus::Finished);
  EXPECT_EQ(target.pageCount(), 4);
  EXPECT_EQ(target.availablePages(), 4);
  for (int n = 1; n <= 4; ++n)
    EXPECT_TRUE(*target.getPage(n) == *source.getPage(n));
  QCoreApplication::processEvents();
  const std::vector<std::string> expected{"pages 4", "finished"};
  EXPECT_EQ(client.calls, expected);
}

// Texts of a PDF, one string per page.
QStringList pdfPages(const QString &pdf) {
  QProcess process;
  process.start("pdftotext", {"-layout", pdf, "-"});
  EXPECT_TRUE(process.waitForFinished(30000));
  QString text = QString::fromUtf8(process.readAllStandardOutput());
  QStringList pages = text.split(QChar('\f'));
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
    pages.removeLast();
  for (QString &page : pages)
    page = page.simplified();
  return pages;
}

TEST(ReportPrinterDirect, PagesOutsideTheRangeAreLaidOutButNotPrinted) {
  struct Case {
    int first, last;
    QStringList printed;
  };
  const Case cases[] = {
      {2, 3, {"Run page 2", "Run page 3"}},
      {0, 0, {"Run page 1", "Run page 2", "Run page 3", "Run page 4", "Run page 5"}},
      {4, 0, {"Run page 4", "Run page 5"}},
      {0, 1, {"Run page 1"}},
  };
  QTemporaryDir dir;
  for (const Case &c : cases) {
    const QString pdf = dir.filePath(QStringLiteral("direct%1-%2.pdf").arg(c.first).arg(c.last));
    TReportPrinter printer(TPrinterDestination::Direct);
    printer.setOutputFileName(pdf);
    printer.setFirstPage(c.first);
    printer.setLastPage(c.last);
    printer.setTitle("Direct");
    run(printer, 5);
    EXPECT_EQ(printer.pageCount(), 5) << "every page is laid out";
    EXPECT_EQ(printer.pageStore(), nullptr);
    EXPECT_EQ(pdfPages(pdf), c.printed) << c.first << "-" << c.last;
  }
}

TEST(ReportPrinterDirect, ConvertsAtThePrinterResolutionFromItsOffsets) {
  QTemporaryDir dir;
  TReportPrinter printer(TPrinterDestination::Direct);
  printer.setOutputFileName(dir.filePath("geometry.pdf"));
  printer.beginDoc();
  const TPrinterSettings &settings = printer.printerSettings();
  const int dpi = settings.dpiX();
  EXPECT_GE(dpi, 300);
  EXPECT_DOUBLE_EQ(printer.xFactor(), dpi / 254.0);
  EXPECT_DOUBLE_EQ(printer.leftOffset(), settings.leftOffset());
  EXPECT_DOUBLE_EQ(printer.topOffset(), settings.topOffset());
  for (const double v : {0.0, 100.0, 1234.5, 2100.0}) {
    EXPECT_EQ(printer.xPos(v), roundHalfEven((v - settings.leftOffset()) * dpi / 254.0)) << v;
    EXPECT_EQ(printer.yPos(v), roundHalfEven((v - settings.topOffset()) * dpi / 254.0)) << v;
    EXPECT_EQ(printer.xSize(v), roundHalfEven(v * dpi / 254.0)) << v;
  }
  printer.newPage();
  EXPECT_EQ(printer.canvas().dpiX(), dpi);
  printer.endDoc();
}

TEST(ReportPrinterDirect, WithoutPrinterOrFileTheDeviceIsNotReady) {
  if (TPrinterSettings::printerAvailable())
    GTEST_SKIP() << "a printer is installed";
  TReportPrinter printer(TPrinterDestination::Direct);
  EXPECT_EQ(reportError([&] { printer.beginDoc(); }), "Printer not ready");
  EXPECT_EQ(printer.status(), TPrinterStatus::Ready);
}

TEST(ReportPrinterPrintRecorded, ALiveRunReprintsALoadedFilePrintsItsPages) {
  QTemporaryDir dir;
  const QString saved = dir.filePath("recorded.qrp");
  int reprints = 0;
  {
    TReportPrinter live(TPrinterDestination::Record);
    live.setReprintHandler([&] { ++reprints; });
    live.setOutputFileName(dir.filePath("never.pdf"));
    run(live, 3);
    live.printRecorded();
    EXPECT_EQ(reprints, 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("never.pdf")));
    live.saveToFile(saved);
  }
  struct Case {
    int first, last;
    QStringList printed;
  };
  const Case cases[] = {
      {0, 0, {"Run page 1", "Run page 2", "Run page 3"}},
      {2, 0, {"Run page 2", "Run page 3"}},
      {2, 2, {"Run page 2"}},
      {0, 9, {"Run page 1", "Run page 2", "Run page 3"}},
      {5, 0, {}}, // nothing in range: no job at all
  };
  for (const Case &c : cases) {
    TReportPrinter loaded(TPrinterDestination::Record);
    loaded.setReprintHandler([&] { ++reprints; });
    loaded.loadFromFile(saved);
    const QString pdf = dir.filePath(QStringLiteral("printed%1-%2.pdf").arg(c.first).arg(c.last));
    loaded.setOutputFileName(pdf);
    loaded.setFirstPage(c.first);
    loaded.setLastPage(c.last);
    loaded.printRecorded();
    EXPECT_EQ(QFileInfo::exists(pdf), !c.printed.isEmpty()) << c.first << "-" << c.last;
    if (!c.printed.isEmpty()) {
      EXPECT_EQ(pdfPages(pdf), c.printed) << c.first << "-" << c.last;
    }
  }
  EXPECT_EQ(reprints, 1);
}

TEST(ReportPrinterPrintRecorded, CancelDuringPrintingAbortsTheJob) {
  QTemporaryDir dir;
  const QString saved = dir.filePath("recorded.qrp");
  {
    TReportPrinter live(TPrinterDestination::Record);
    run(live, 3);
    live.saveToFile(saved);
  }
  TReportPrinter loaded(TPrinterDestination::Record);
  loaded.loadFromFile(saved);
  const QString pdf = dir.filePath("cancelled.pdf");
  loaded.setOutputFileName(pdf);
  // Arrives while the pages are printed: printing processes events before each page.
  QTimer::singleShot(0, [&] { loaded.cancel(); });
  loaded.printRecorded();
  EXPECT_TRUE(loaded.cancelled());
  EXPECT_TRUE(pdfPages(pdf).join("").trimmed().isEmpty()) << "no page was drawn";
}

} // namespace
} // namespace TDInvoice::Report
