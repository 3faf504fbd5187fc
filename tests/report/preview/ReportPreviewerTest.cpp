#include "PreviewTestSupport.h"

#include "TDInvoice/Exceptions.h"
#include "report/output/ReportPageList.h"
#include "report/preview/PreviewPage.h"
#include "report/preview/PreviewWindow.h"
#include "report/preview/ReportPreviewer.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace TDInvoice::Report::Testing {
namespace {

// Runs check once the window's run has finished (Print becomes enabled), then closes the
// window; gives up after 20 s so that a broken run cannot hang the test.
void whenFinished(TPreviewWindow &window, std::function<void()> check) {
  auto *timer = new QTimer(&window);
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  QObject::connect(timer, &QTimer::timeout, &window, [timer, started, &window, check] {
    if (window.action(TPreviewAction::Print)->isEnabled()) {
      timer->stop();
      check();
      QTest::keyClick(window.view(), Qt::Key_Escape);
    } else if (started->elapsed() > 20000) {
      timer->stop();
      ADD_FAILURE() << "the run did not finish";
      window.close();
    }
  });
  timer->start(5);
}

class ReportPreviewerTest : public ::testing::Test {
protected:
  explicit ReportPreviewerTest(int records = 3, int labels = 0) : synthetic(records, labels) {
    synthetic.report->setReportTitle(QStringLiteral("Synthetic statements"));
    synthetic.report->AfterPreview = [this](TCustomReport *) { ++afterPreview; };
  }

  SyntheticReport synthetic;
  TReportPreviewer previewer{*synthetic.report};
  int afterPreview = 0;
};

TEST_F(ReportPreviewerTest, ShowsTheRunAndKeepsPageOneAsThumbnail) {
  bool checked = false;
  previewer.setWindowHook([&](TPreviewWindow &window) {
    EXPECT_EQ(window.device().destination(), TPrinterDestination::Record);
    EXPECT_EQ(window.device().client(), &window);
    whenFinished(window, [&] {
      checked = true;
      EXPECT_EQ(window.windowTitle(), QStringLiteral("Synthetic statements"));
      EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
      EXPECT_EQ(window.pagePanel()->text(), QStringLiteral("Page 1 of 3"));
      ASSERT_NE(window.pageImage()->page(), nullptr);
      EXPECT_TRUE(textsOf(*window.pageImage()->page()).contains(QStringLiteral("Record 1")));
      QTest::keyClick(window.view(), Qt::Key_End);
      EXPECT_TRUE(textsOf(*window.pageImage()->page()).contains(QStringLiteral("Record 3")));
      EXPECT_EQ(previewer.window(), &window);
      EXPECT_EQ(afterPreview, 0);
    });
  });
  synthetic.report->preview();
  EXPECT_TRUE(checked);
  EXPECT_EQ(afterPreview, 1);
  EXPECT_EQ(previewer.window(), nullptr);
  EXPECT_FALSE(synthetic.report->running());
  ASSERT_NE(previewer.thumbnail(), nullptr);
  EXPECT_TRUE(textsOf(*previewer.thumbnail()).contains(QStringLiteral("Record 1")));
}

TEST_F(ReportPreviewerTest, DeclinedRunShowsNoPagesAndLetsTheUserLoad) {
  synthetic.report->BeforePrint = [](TCustomReport *, bool &print) { print = false; };
  bool checked = false;
  previewer.setWindowHook([&](TPreviewWindow &window) {
    QTimer::singleShot(50, &window, [&] {
      checked = true;
      EXPECT_EQ(window.pagePanel()->text(), QStringLiteral("Page 0 of 0"));
      EXPECT_TRUE(window.action(TPreviewAction::LoadReport)->isEnabled());
      EXPECT_FALSE(window.action(TPreviewAction::Print)->isEnabled());
      window.close();
    });
  });
  synthetic.report->preview();
  EXPECT_TRUE(checked);
  EXPECT_EQ(synthetic.recordsPrinted, 0);
  EXPECT_EQ(afterPreview, 1);
  EXPECT_EQ(previewer.thumbnail(), nullptr);
}

TEST_F(ReportPreviewerTest, ErrorOfTheRunClosesThePreviewAndReachesTheCaller) {
  TPreviewWindow *shown = nullptr;
  previewer.setWindowHook([&](TPreviewWindow &window) { shown = &window; });
  synthetic.beforeRecord = [&](int record) {
    if (record == 2) {
      EXPECT_TRUE(shown && shown->isVisible());
      throw EReportError("Handler failed");
    }
  };
  try {
    synthetic.report->preview();
    ADD_FAILURE() << "the handler's error was swallowed";
  } catch (const EReportError &error) {
    EXPECT_STREQ(error.what(), "Handler failed");
  }
  EXPECT_EQ(previewer.window(), nullptr);
  EXPECT_FALSE(synthetic.report->running());
}

TEST(ReportPreviewerInstallTest, FreeingThePreviewerUninstallsIt) {
  SyntheticReport synthetic(1);
  { TReportPreviewer previewer(*synthetic.report); }
  try {
    synthetic.report->preview();
    ADD_FAILURE() << "preview ran without a window";
  } catch (const EReportError &error) {
    EXPECT_STREQ(error.what(), "No preview window is available");
  }
  EXPECT_EQ(synthetic.recordsPrinted, 0);
}

// Pages of this report are large enough for the store to move to a temporary file after a
// few dozen pages.
class LivePreviewCloseTest : public ReportPreviewerTest {
protected:
  LivePreviewCloseTest() : ReportPreviewerTest(400, 40) {}
  void SetUp() override {
    ASSERT_TRUE(temp.isValid());
    savedTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", temp.path().toLocal8Bit());
  }
  void TearDown() override { qputenv("TMPDIR", savedTemp); }

  QTemporaryDir temp{QDir::tempPath() + QStringLiteral("/preview-close-XXXXXX")};
  QByteArray savedTemp;
};

TEST_F(LivePreviewCloseTest, ClosingCancelsTheRunAndLeavesNoStoreFile) {
  TPreviewWindow *shown = nullptr;
  QString storeFile;
  int closedAt = 0;
  previewer.setWindowHook([&](TPreviewWindow &window) { shown = &window; });
  synthetic.beforeRecord = [&](int record) {
    const TReportPageList *store = shown->device().pageStore();
    if (closedAt == 0 && store && store->stream().spilled()) {
      closedAt = record;
      storeFile = store->stream().fileName();
      QMetaObject::invokeMethod(
          shown, [shown] { QTest::keyClick(shown->view(), Qt::Key_Escape); }, Qt::QueuedConnection);
    }
  };
  synthetic.report->preview();
  ASSERT_GT(closedAt, 0) << "the store never spilled to a file";
  ASSERT_FALSE(storeFile.isEmpty());
  EXPECT_TRUE(synthetic.report->cancelled());
  EXPECT_EQ(synthetic.recordsPrinted, closedAt) << "the run stops at its next iteration";
  EXPECT_EQ(afterPreview, 1);
  EXPECT_FALSE(synthetic.report->running());
  EXPECT_FALSE(QFile::exists(storeFile));
  EXPECT_TRUE(QDir(temp.path()).isEmpty()) << "files left in the temporary folder";
}

} // namespace
} // namespace TDInvoice::Report::Testing
