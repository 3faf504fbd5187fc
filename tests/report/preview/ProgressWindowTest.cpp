#include "PreviewTestSupport.h"

#include "report/preview/ProgressWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace TDInvoice::Report::Testing {
namespace {

TEST(ProgressWindowTest, ShowsOnlyMultiplesOfFive) {
  TReportPrinter device(TPrinterDestination::Record);
  TProgressWindow window(device);
  device.setClient(&window);
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Printing progress"));
  EXPECT_EQ(window.cancelButton()->text(), QStringLiteral("Cancel"));
  EXPECT_EQ(window.bar()->minimum(), 0);
  EXPECT_EQ(window.bar()->maximum(), 100);
  struct Step {
    int percent;
    int bar;
    const char *text;
  };
  const Step steps[] = {
      {7, 0, ""},
      {10, 10, "10%  Completed"},
      {12, 10, "10%  Completed"},
      {25, 25, "25%  Completed"},
      {99, 25, "25%  Completed"},
      {100, 100, "100%  Completed"},
  };
  for (const Step &step : steps) {
    SCOPED_TRACE(step.percent);
    device.setProgress(step.percent);
    deliverPosted();
    EXPECT_EQ(window.bar()->value(), step.bar);
    EXPECT_EQ(window.information()->text().toStdString(), step.text);
  }
}

TEST(ProgressWindowTest, CancelButtonCancelsTheDevice) {
  TReportPrinter device(TPrinterDestination::Record);
  TProgressWindow window(device);
  window.show();
  device.beginDoc();
  EXPECT_FALSE(device.cancelled());
  QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
  EXPECT_TRUE(device.cancelled());
}

TEST(ProgressWindowTest, DetachesFromTheDeviceWhenFreed) {
  TReportPrinter device(TPrinterDestination::Record);
  {
    TProgressWindow window(device);
    device.setClient(&window);
  }
  EXPECT_EQ(device.client(), nullptr);
  device.setProgress(50);
  deliverPosted(); // would reach a freed window otherwise
}

// Cancelling in the progress window stops the run at its next iteration; the run then ends
// normally and the pages done so far are printed (here into a PDF file).
TEST(ProgressWindowTest, CancelDuringARunPrintsThePagesSoFar) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString out = folder.filePath(QStringLiteral("cancelled.pdf"));
  SyntheticReport synthetic(10);
  int afterPrint = 0;
  synthetic.report->AfterPrint = [&afterPrint](TCustomReport *) { ++afterPrint; };
  TReportPrinter device(TPrinterDestination::Direct);
  device.setOutputFileName(out);
  TProgressWindow window(device);
  device.setClient(&window);
  window.show();
  synthetic.beforeRecord = [&window](int record) {
    if (record == 4)
      QMetaObject::invokeMethod(
          &window, [&window] { QTest::mouseClick(window.cancelButton(), Qt::LeftButton); },
          Qt::QueuedConnection);
  };
  synthetic.report->run(device);
  deliverPosted();
  EXPECT_EQ(synthetic.recordsPrinted, 4);
  EXPECT_EQ(pdfPageCount(out), 4);
  EXPECT_EQ(afterPrint, 1) << "the document ends normally";
  EXPECT_EQ(device.status(), TPrinterStatus::Finished);
  EXPECT_EQ(window.information()->text(), QStringLiteral("40%  Completed"));
  EXPECT_FALSE(window.cancelButton()->isEnabled());
}

} // namespace
} // namespace TDInvoice::Report::Testing
