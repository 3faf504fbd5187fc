// Printing on a real print queue: CUPS with the cups-pdf queue that scripts/cups-setup.sh
// adds. Every printed job ends up as a PDF file in that queue's output folder. Without the
// queue the tests are skipped with the reason.
#include "PreviewTestSupport.h"

#include "TDInvoice/Exceptions.h"
#include "report/output/PrinterSettings.h"
#include "report/preview/PreviewWindow.h"
#include "report/preview/ProgressWindow.h"
#include "report/preview/ReportPreviewer.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace TDInvoice::Report::Testing {
namespace {

const QString kQueue = QStringLiteral("TDI-PDF");

QString statusLine() {
  QFile file(qEnvironmentVariable("TDI_CUPS_STATUS", QStringLiteral("/tmp/tdi-cups.status")));
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return QString::fromUtf8(file.readLine()).trimmed();
}

// Why printing cannot be tested here, or empty when it can.
QString cupsUnavailable() {
  const QString status = statusLine();
  if (status.startsWith(QStringLiteral("CUPS unavailable")))
    return status;
  if (!TPrinterSettings::printerNames().contains(kQueue))
    return QStringLiteral("CUPS unavailable: no %1 print queue (scripts/cups-setup.sh adds it)")
        .arg(kQueue);
  for (const char *tool : {"pdftotext", "pdfinfo"})
    if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
      return QStringLiteral("CUPS unavailable: %1 is missing (poppler-utils)")
          .arg(QLatin1String(tool));
  return {};
}

QString outputFolder() {
  const QString status = statusLine();
  if (status.startsWith(QStringLiteral("ready ")))
    return status.mid(6);
  return qEnvironmentVariable("TDI_CUPS_PDF_DIR", QStringLiteral("/var/spool/cups-pdf/TDI"));
}

QString run(const QString &program, const QStringList &arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfInfoPages(const QString &file) {
  for (const QString &line : run(QStringLiteral("pdfinfo"), {file}).split(QLatin1Char('\n')))
    if (line.startsWith(QStringLiteral("Pages:")))
      return line.mid(6).trimmed().toInt();
  return -1;
}

QSizeF pdfPageSizePoints(const QString &file) {
  for (const QString &line : run(QStringLiteral("pdfinfo"), {file}).split(QLatin1Char('\n')))
    if (line.startsWith(QStringLiteral("Page size:"))) {
      const QStringList parts = line.mid(10).simplified().split(QLatin1Char(' '));
      if (parts.size() >= 3)
        return {parts[0].toDouble(), parts[2].toDouble()};
    }
  return {};
}

// A word of a printed page: where it lies (points from the top-left corner) and its text.
// The PDF that cups-pdf makes goes through PostScript and Ghostscript, which keep the glyphs
// but not their characters, so the texts read back as placeholders; positions stay exact.
struct PdfWord {
  double xMin = 0, yMin = 0;
  QString text;
};

std::vector<std::vector<PdfWord>> pdfWords(const QString &file) {
  std::vector<std::vector<PdfWord>> pages;
  const QString html =
      run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
  static const QRegularExpression tag(
      QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
  for (auto it = tag.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    if (m.captured(0).startsWith(QStringLiteral("<page")))
      pages.emplace_back();
    else if (!pages.empty())
      pages.back().push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
  }
  return pages;
}

// The record each page shows, read from the height of its label (placeLabelsByRecord): the
// band starts at the 10 mm top margin and record n's label n x 10 mm below it. 0 for a page
// without words.
std::vector<int> recordsOnPages(const QString &file) {
  std::vector<int> records;
  for (const auto &words : pdfWords(file)) {
    if (words.empty()) {
      records.push_back(0);
      continue;
    }
    const double native = words.front().yMin / 72 * 254;
    records.push_back(int(std::lround((native - 100) / 100)));
  }
  return records;
}

class PrintingTest : public ::testing::Test {
protected:
  void SetUp() override {
    const QString reason = cupsUnavailable();
    if (!reason.isEmpty())
      GTEST_SKIP() << reason.toStdString();
    folder = outputFolder();
    title = QStringLiteral("tdi-%1-%2")
                .arg(QCoreApplication::applicationPid())
                .arg(QDateTime::currentMSecsSinceEpoch());
    synthetic.report->setReportTitle(title);
    synthetic.placeLabelsByRecord();
    TReportPrinterSettingsValues settings = synthetic.report->printerSettings();
    settings.PrinterIndex = int(TPrinterSettings::printerNames().indexOf(kQueue));
    synthetic.report->setPrinterSettings(settings);
  }

  void setRange(int first, int last, int copies = 1) {
    TReportPrinterSettingsValues settings = synthetic.report->printerSettings();
    settings.FirstPage = first;
    settings.LastPage = last;
    settings.Copies = copies;
    synthetic.report->setPrinterSettings(settings);
  }

  // The PDF cups-pdf writes for this test's job, once complete; empty after timeoutMs.
  QString waitForJob(int timeoutMs = 60000) const {
    QElapsedTimer clock;
    clock.start();
    qint64 lastSize = -1;
    while (clock.elapsed() < timeoutMs) {
      const QStringList found =
          QDir(folder).entryList({title + QStringLiteral("*.pdf")}, QDir::Files);
      if (!found.isEmpty()) {
        const QString file = QDir(folder).filePath(found.first());
        const qint64 size = QFileInfo(file).size();
        if (size > 0 && size == lastSize && pdfInfoPages(file) > 0)
          return file;
        lastSize = size;
      }
      QThread::msleep(200);
    }
    return {};
  }

  SyntheticReport synthetic{5};
  QString folder;
  QString title;
};

TEST_F(PrintingTest, PageRangePrintsOnlyThosePagesWithTheirTexts) {
  setRange(2, 3);
  synthetic.report->print();
  EXPECT_EQ(synthetic.recordsPrinted, 5) << "pages outside the range are still laid out";
  const QString pdf = waitForJob();
  ASSERT_FALSE(pdf.isEmpty()) << "no PDF for " << title.toStdString() << " in "
                              << folder.toStdString();
  EXPECT_EQ(pdfInfoPages(pdf), 2);
  EXPECT_EQ(recordsOnPages(pdf), (std::vector<int>{2, 3}));
  // A4, as the report asked and the queue has.
  EXPECT_NEAR(pdfPageSizePoints(pdf).width(), 595.3, 1.0);
  EXPECT_NEAR(pdfPageSizePoints(pdf).height(), 841.9, 1.0);
}

TEST_F(PrintingTest, TwoCopiesGiveEveryPageTwice) {
  setRange(1, 2, 2);
  synthetic.report->print();
  const QString pdf = waitForJob();
  ASSERT_FALSE(pdf.isEmpty());
  EXPECT_EQ(pdfInfoPages(pdf), 4);
  std::vector<int> records = recordsOnPages(pdf);
  std::sort(records.begin(), records.end());
  EXPECT_EQ(records, (std::vector<int>{1, 1, 2, 2}));
}

// The queue has no Statement paper: the printer's own paper (A4) is used, and pagination
// follows its length. Bands of 50 mm: 5 fit in A4's 272 mm, 3 in Statement's 191 mm.
TEST_F(PrintingTest, UnsupportedPaperFallsBackToThePrintersPaper) {
  synthetic.placeLabelsByRecord(false);
  synthetic.report->Page().setPaperSize(TReportPaperSize::Statement);
  synthetic.detail->setForceNewPage(false);
  synthetic.detail->Size().setNativeValue(TReportBandSize::LengthIndex, 500);
  synthetic.data->clearRows();
  for (int n = 1; n <= 10; ++n)
    synthetic.data->appendRow({n});
  synthetic.report->print();
  const QString pdf = waitForJob();
  ASSERT_FALSE(pdf.isEmpty());
  EXPECT_EQ(pdfInfoPages(pdf), 2);
  EXPECT_NEAR(pdfPageSizePoints(pdf).height(), 841.9, 1.0);
  // Five records of two words on each page.
  const auto words = pdfWords(pdf);
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[0].size(), 10u);
  EXPECT_EQ(words[1].size(), 10u);
}

// The pages printed before the handler failed must not reach the queue: the device withholds
// the job until the document ends normally.
TEST_F(PrintingTest, ErrorDuringThePrintAbortsTheJob) {
  synthetic.beforeRecord = [](int record) {
    if (record == 3)
      throw EReportError("Handler failed");
  };
  EXPECT_THROW(synthetic.report->print(), EReportError);
  EXPECT_FALSE(synthetic.report->running());
  EXPECT_TRUE(waitForJob(5000).isEmpty()) << "an aborted job printed";
}

// The progress window of print() cancels through the device: the run stops, then ends the
// document, so the pages done so far are printed.
TEST_F(PrintingTest, ProgressWindowCancelPrintsThePagesSoFar) {
  TReportPreviewer previewer(*synthetic.report);
  synthetic.report->setShowProgress(true);
  bool sawWindow = false;
  synthetic.beforeRecord = [&sawWindow](int record) {
    if (record != 3)
      return;
    for (QWidget *widget : QApplication::topLevelWidgets())
      if (auto *progress = dynamic_cast<TProgressWindow *>(widget)) {
        sawWindow = progress->isVisible();
        QMetaObject::invokeMethod(
            progress, [progress] { QTest::mouseClick(progress->cancelButton(), Qt::LeftButton); },
            Qt::QueuedConnection);
      }
  };
  synthetic.report->print();
  EXPECT_TRUE(sawWindow);
  EXPECT_EQ(synthetic.recordsPrinted, 3);
  const QString pdf = waitForJob();
  ASSERT_FALSE(pdf.isEmpty());
  EXPECT_EQ(recordsOnPages(pdf), (std::vector<int>{1, 2, 3}));
}

// Print in a live preview runs the report again on the printer rather than printing the
// recorded screen pages.
TEST_F(PrintingTest, PrintInALivePreviewRerunsTheReport) {
  setRange(0, 0);
  TReportPreviewer previewer(*synthetic.report);
  int runs = 0;
  synthetic.report->BeforePrint = [&runs](TCustomReport *, bool &) { ++runs; };
  previewer.setWindowHook([](TPreviewWindow &window) {
    auto *timer = new QTimer(&window);
    QObject::connect(timer, &QTimer::timeout, &window, [timer, &window] {
      if (!window.action(TPreviewAction::Print)->isEnabled())
        return;
      timer->stop();
      window.action(TPreviewAction::Print)->trigger();
      window.close();
    });
    timer->start(5);
  });
  synthetic.report->preview();
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(synthetic.recordsPrinted, 10);
  const QString pdf = waitForJob();
  ASSERT_FALSE(pdf.isEmpty());
  EXPECT_EQ(recordsOnPages(pdf), (std::vector<int>{1, 2, 3, 4, 5}));
}

// The device subtracts the printer's unprintable margins, so a label at the 15 mm left margin
// lands 15 mm from the paper's edge. Printed into a PDF file: no print queue needed, and the
// text reads back exactly.
TEST(DirectPrintTest, TextLandsAtTheMarginWhateverThePrinterOffsets) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
    GTEST_SKIP() << "pdftotext is missing (poppler-utils)";
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString out = folder.filePath(QStringLiteral("direct.pdf"));
  SyntheticReport synthetic(3);
  TReportPrinter device(TPrinterDestination::Direct);
  device.setOutputFileName(out);
  TReportPrinterSettingsValues settings = synthetic.report->printerSettings();
  settings.FirstPage = settings.LastPage = 2;
  synthetic.report->setPrinterSettings(settings);
  synthetic.report->run(device);
  EXPECT_GT(device.leftOffset(), 0) << "the PDF printer keeps margins: offsets are tested";
  const auto words = pdfWords(out);
  ASSERT_EQ(words.size(), 1u);
  ASSERT_EQ(words[0].size(), 2u);
  EXPECT_EQ(words[0][0].text, QStringLiteral("Record"));
  EXPECT_EQ(words[0][1].text, QStringLiteral("2"));
  EXPECT_NEAR(words[0][0].xMin, 150 / 254.0 * 72, 1.0);
}

} // namespace
} // namespace TDInvoice::Report::Testing
