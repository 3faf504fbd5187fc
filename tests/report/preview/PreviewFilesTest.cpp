#include "PreviewTestSupport.h"

#include "report/output/ReportPageList.h"
#include "report/preview/PreviewPage.h"
#include "report/preview/PreviewWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

namespace TDInvoice::Report::Testing {
namespace {

struct ChooserLog {
  QString caption;
  QStringList filters;
};

// Answers every file dialog with fileName (and filter, when given) and logs the request.
TPreviewWindow::TFileChooser answer(const QString &fileName, ChooserLog &log,
                                    const QString &filter = QString()) {
  return [fileName, &log, filter](const QString &caption, const QStringList &filters,
                                  QString &selected) {
    log = {caption, filters};
    if (!filter.isEmpty())
      selected = filter;
    return fileName;
  };
}

QString filterFor(const char *extension) {
  for (const QString &filter : TPreviewWindow::saveFilters())
    if (filter.endsWith(QStringLiteral("(*.%1)").arg(QLatin1String(extension))))
      return filter;
  return {};
}

class PreviewFilesTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }
  QString path(const char *name) const { return folder.filePath(QLatin1String(name)); }

  // A finished recording of pages in a window whose messages are logged.
  std::unique_ptr<TPreviewWindow> windowOver(TReportPrinter &device) {
    auto window = std::make_unique<TPreviewWindow>(device);
    window->setMessageHandler([this](const QString &text) { messages << text; });
    window->show();
    deliverPosted();
    return window;
  }

  QTemporaryDir folder;
  QStringList messages;
  ChooserLog log;
};

TEST_F(PreviewFilesTest, SaveOffersTheStoreAndTheExportFilters) {
  const QStringList filters = TPreviewWindow::saveFilters();
  ASSERT_GE(filters.size(), 3);
  EXPECT_EQ(filters.first(), QStringLiteral("Report file (*.qrp)"));
  EXPECT_FALSE(filterFor("pdf").isEmpty());
  EXPECT_FALSE(filterFor("png").isEmpty());
}

TEST_F(PreviewFilesTest, SavedStoreLoadsIntoAnotherPreview) {
  TReportPrinter recorded(TPrinterDestination::Record);
  recordPages(recorded, 3);
  auto saving = windowOver(recorded);
  saving->setSaveFileChooser(answer(path("march.qrp"), log));
  saving->action(TPreviewAction::SaveReport)->trigger();
  EXPECT_EQ(log.caption, QStringLiteral("Save report"));
  EXPECT_EQ(log.filters, TPreviewWindow::saveFilters());
  ASSERT_TRUE(QFile::exists(path("march.qrp")));

  TReportPrinter fresh(TPrinterDestination::Record);
  auto loading = windowOver(fresh);
  EXPECT_FALSE(loading->action(TPreviewAction::Print)->isEnabled());
  loading->setOpenFileChooser(answer(path("march.qrp"), log));
  loading->action(TPreviewAction::LoadReport)->trigger();
  deliverPosted();
  EXPECT_EQ(log.caption, QStringLiteral("Load report"));
  EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
  EXPECT_TRUE(fresh.loaded());
  EXPECT_EQ(loading->pagePanel()->text(), QStringLiteral("Page 1 of 3"));
  EXPECT_TRUE(loading->action(TPreviewAction::Print)->isEnabled());
  ASSERT_NE(loading->pageImage()->page(), nullptr);
  EXPECT_TRUE(textsOf(*loading->pageImage()->page()).contains(QStringLiteral("Page 1")));
  loading->setPageNumber(3);
  EXPECT_TRUE(textsOf(*loading->pageImage()->page()).contains(QStringLiteral("Page 3")));
}

TEST_F(PreviewFilesTest, LoadTakesPaperAndOrientationFromTheFirstPage) {
  struct Case {
    const char *name;
    TReportPaperSize recorded;
    TReportOrientation orientation;
    TReportPaperSize expectedPaper;
    TReportOrientation expectedOrientation;
  };
  const Case cases[] = {
      {"A5 landscape", TReportPaperSize::A5, TReportOrientation::poLandscape, TReportPaperSize::A5,
       TReportOrientation::poLandscape},
      {"Letter portrait", TReportPaperSize::Letter, TReportOrientation::poPortrait,
       TReportPaperSize::Letter, TReportOrientation::poPortrait},
      {"A3 landscape", TReportPaperSize::A3, TReportOrientation::poLandscape, TReportPaperSize::A3,
       TReportOrientation::poLandscape},
      // Not a paper of the table: the device keeps what it had.
      {"custom", TReportPaperSize::Custom, TReportOrientation::poPortrait, TReportPaperSize::Legal,
       TReportOrientation::poLandscape},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TReportPrinter recorded(TPrinterDestination::Record);
    recorded.setPaperSize(c.recorded);
    recorded.setPaperWidth(1234);
    recorded.setPaperLength(1777);
    recorded.setOrientation(c.orientation);
    recordPages(recorded, 1);
    const QString file = path(c.name) + QStringLiteral(".qrp");
    recorded.saveToFile(file);

    TReportPrinter fresh(TPrinterDestination::Record);
    fresh.setPaperSize(TReportPaperSize::Legal);
    fresh.setOrientation(TReportOrientation::poLandscape);
    auto window = windowOver(fresh);
    window->setOpenFileChooser(answer(file, log));
    window->loadReport();
    const QSizeF mm = paperSizeMM(c.expectedPaper);
    const bool landscape = c.expectedOrientation == TReportOrientation::poLandscape;
    EXPECT_EQ(fresh.orientation(), c.expectedOrientation);
    EXPECT_NEAR(fresh.paperWidth(), (landscape ? mm.height() : mm.width()) * 10, 0.01);
    EXPECT_NEAR(fresh.paperLength(), (landscape ? mm.width() : mm.height()) * 10, 0.01);
  }
}

TEST_F(PreviewFilesTest, LoadFailuresAreShownAndChangeNothing) {
  QFile garbage(path("garbage.qrp"));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write(QByteArray(300, 'x'));
  garbage.close();
  ASSERT_TRUE(QDir().mkpath(path("folder.qrp")));
  struct Case {
    const char *file;
    const char *message; // nullptr: the loader's own message, whatever it is
  };
  for (const Case c : {Case{"missing.qrp", "File does not exist"},
                       Case{"folder.qrp", "File does not exist"}, Case{"garbage.qrp", nullptr}}) {
    SCOPED_TRACE(c.file);
    messages.clear();
    TReportPrinter device(TPrinterDestination::Record);
    recordPages(device, 2);
    auto window = windowOver(device);
    window->setOpenFileChooser(answer(path(c.file), log));
    window->loadReport();
    ASSERT_EQ(messages.size(), 1);
    if (c.message)
      EXPECT_EQ(messages.first().toStdString(), c.message);
    else
      EXPECT_NE(messages.first(), QStringLiteral("File does not exist"));
    EXPECT_FALSE(device.loaded());
    EXPECT_EQ(device.availablePages(), 2);
    EXPECT_EQ(window->pagePanel()->text(), QStringLiteral("Page 1 of 2"));
  }
}

TEST_F(PreviewFilesTest, GivingUpTheDialogDoesNothing) {
  TReportPrinter device(TPrinterDestination::Record);
  recordPages(device, 1);
  auto window = windowOver(device);
  window->setSaveFileChooser(answer(QString(), log));
  window->setOpenFileChooser(answer(QString(), log));
  window->saveReport();
  window->loadReport();
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_TRUE(QDir(folder.path()).isEmpty());
  EXPECT_FALSE(device.loaded());
}

TEST_F(PreviewFilesTest, ExportFiltersWriteByFilterOrExtension) {
  TReportPrinter device(TPrinterDestination::Record);
  recordPages(device, 3);
  auto window = windowOver(device);

  window->setSaveFileChooser(answer(path("chosen-filter"), log, filterFor("pdf")));
  window->saveReport();
  EXPECT_EQ(pdfPageCount(path("chosen-filter")), 3);

  window->setSaveFileChooser(answer(path("by-extension.pdf"), log));
  window->saveReport();
  EXPECT_EQ(pdfPageCount(path("by-extension.pdf")), 3);

  window->setSaveFileChooser(answer(path("pages"), log, filterFor("png")));
  window->saveReport();
  for (int n = 1; n <= 3; ++n)
    EXPECT_FALSE(QImage(path("pages") + QStringLiteral("/page-000%1.png").arg(n)).isNull()) << n;
  EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();

  window->setSaveFileChooser(answer(path("no-such-folder/x.qrp"), log));
  window->saveReport();
  EXPECT_EQ(messages.size(), 1) << "a failed save is reported";
}

TEST_F(PreviewFilesTest, LoadingWaitsWhileTheRunIsGoing) {
  TReportPrinter device(TPrinterDestination::Record);
  recordPages(device, 2, false);
  auto window = windowOver(device);
  EXPECT_FALSE(window->action(TPreviewAction::LoadReport)->isEnabled());
  bool asked = false;
  window->setOpenFileChooser([&asked](const QString &, const QStringList &, QString &) {
    asked = true;
    return QString();
  });
  window->loadReport();
  EXPECT_FALSE(asked);
  device.endDoc();
  deliverPosted();
  EXPECT_TRUE(window->action(TPreviewAction::LoadReport)->isEnabled());
  window->loadReport();
  EXPECT_TRUE(asked);
}

// Printing without a print queue: the device prints into a PDF file.
TEST_F(PreviewFilesTest, PrintOfALoadedStorePrintsItsRecordedPages) {
  TReportPrinter recorded(TPrinterDestination::Record);
  recordPages(recorded, 4);
  recorded.saveToFile(path("four.qrp"));
  struct Case {
    int first, last, pages;
  };
  for (const Case c : {Case{0, 0, 4}, Case{2, 3, 2}, Case{3, 0, 2}, Case{0, 9, 4}}) {
    SCOPED_TRACE(testing::Message() << c.first << ".." << c.last);
    TReportPrinter device(TPrinterDestination::Record);
    int reprints = 0;
    device.setReprintHandler([&reprints] { ++reprints; });
    auto window = windowOver(device);
    window->setOpenFileChooser(answer(path("four.qrp"), log));
    window->loadReport();
    const QString out = path("printed") + QString::number(c.first) + QString::number(c.last);
    device.setOutputFileName(out);
    device.setFirstPage(c.first);
    device.setLastPage(c.last);
    window->action(TPreviewAction::Print)->trigger();
    EXPECT_EQ(reprints, 0);
    EXPECT_EQ(pdfPageCount(out), c.pages);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
  }
}

TEST_F(PreviewFilesTest, PrintOfALiveRecordingAsksForAReprint) {
  TReportPrinter device(TPrinterDestination::Record);
  int reprints = 0;
  device.setReprintHandler([&reprints] { ++reprints; });
  device.setOutputFileName(path("not-written.pdf"));
  auto window = windowOver(device);
  window->runStarting();
  recordPages(device, 2, false);
  deliverPosted();
  window->printReport(); // still running: nothing happens
  EXPECT_EQ(reprints, 0);
  device.endDoc();
  deliverPosted();
  window->action(TPreviewAction::Print)->trigger();
  EXPECT_EQ(reprints, 1);
  EXPECT_FALSE(QFile::exists(path("not-written.pdf")));
}

TEST_F(PreviewFilesTest, PrintFailureIsShownNotThrown) {
  TReportPrinter recorded(TPrinterDestination::Record);
  recordPages(recorded, 1);
  recorded.saveToFile(path("one.qrp"));
  TReportPrinter device(TPrinterDestination::Record);
  auto window = windowOver(device);
  window->setOpenFileChooser(answer(path("one.qrp"), log));
  window->loadReport();
  device.setOutputFileName(path("no-such-folder/out.pdf"));
  window->action(TPreviewAction::Print)->trigger();
  EXPECT_EQ(messages.size(), 1);
}

TEST_F(PreviewFilesTest, PrinterSetupHookGetsTheDeviceOnceFinished) {
  TReportPrinter device(TPrinterDestination::Record);
  recordPages(device, 1, false);
  auto window = windowOver(device);
  TReportPrinter *given = nullptr;
  window->setPrinterSetupHandler([&given](TReportPrinter &d) { given = &d; });
  window->printerSetup();
  EXPECT_EQ(given, nullptr);
  device.endDoc();
  deliverPosted();
  window->action(TPreviewAction::PrinterSetup)->trigger();
  EXPECT_EQ(given, &device);
}

} // namespace
} // namespace TDInvoice::Report::Testing
