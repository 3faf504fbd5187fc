#include "report/output/PrinterSettings.h"
#include "OutputTestSupport.h"
#include "report/output/ReportPageList.h"
#include "report/output/ReportPrinter.h"

#include <QPrinterInfo>
#include <QTemporaryDir>

namespace TDInvoice::Report {
namespace {

TEST(PrinterSettingsPaper, TablePapersMapToQtPageSizesOfTheSameSize) {
  // A paper selects the platform's paper of its code. The engine's own table differs from
  // the platform's paper for a few codes (Executive, B4, Env12 and the sheets' placeholders);
  // for the others the sizes agree.
  const std::set<TReportPaperSize> ownSizes{TReportPaperSize::Executive, TReportPaperSize::B4,
                                            TReportPaperSize::Env12,     TReportPaperSize::CSheet,
                                            TReportPaperSize::DSheet,    TReportPaperSize::ESheet};
  for (int p = int(TReportPaperSize::Letter); p < int(TReportPaperSize::Custom); ++p) {
    const auto paper = static_cast<TReportPaperSize>(p);
    const QPageSize size = TPrinterSettings::pageSizeOf(paper);
    ASSERT_TRUE(size.isValid()) << p;
    // Codes Qt cannot name (Folio) take the table's size, checked below.
    const QPageSize platform(QPageSize::id(paperCode(paper)));
    if (platform.isValid()) {
      EXPECT_TRUE(size.isEquivalentTo(platform)) << p;
    }
    // Back to a paper of the table of the same size (11x17 and Tabloid are one paper).
    EXPECT_EQ(paperSizeMM(TPrinterSettings::paperOf(size)), paperSizeMM(paper)) << p;
    if (ownSizes.count(paper))
      continue;
    const QSizeF mm = size.size(QPageSize::Millimeter);
    EXPECT_NEAR(mm.width(), paperSizeMM(paper).width(), 1.5) << p;
    EXPECT_NEAR(mm.height(), paperSizeMM(paper).height(), 1.5) << p;
  }
  EXPECT_FALSE(TPrinterSettings::pageSizeOf(TReportPaperSize::Default).isValid());
  EXPECT_FALSE(TPrinterSettings::pageSizeOf(TReportPaperSize::Custom).isValid());
  EXPECT_EQ(TPrinterSettings::paperOf(QPageSize(QSizeF(123, 45), QPageSize::Millimeter)),
            TReportPaperSize::Custom);
  EXPECT_EQ(TPrinterSettings::paperOf(QPageSize(QPageSize::A4)), TReportPaperSize::A4);
}

TEST(PrinterSettingsPaper, OnlySupportedSizesAreAcceptedAndCustomAlwaysIs) {
  TPrinterSettings settings = TPrinterSettings::describe(
      "Letter only", {TReportPaperSize::Letter, TReportPaperSize::Legal}, TReportPaperSize::Letter);
  EXPECT_TRUE(settings.supports(TReportPaperSize::Custom));
  EXPECT_FALSE(settings.supports(TReportPaperSize::A4));
  settings.setPaperSize(TReportPaperSize::A4);
  EXPECT_EQ(settings.paperSize(), TReportPaperSize::Letter);
  EXPECT_DOUBLE_EQ(settings.paperLength(), 2794);
  settings.setPaperSize(TReportPaperSize::Legal);
  EXPECT_EQ(settings.paperSize(), TReportPaperSize::Legal);
  settings.setPaperSize(TReportPaperSize::Custom);
  settings.setPaperWidth(1000);
  settings.setPaperLength(1500);
  EXPECT_EQ(settings.paperSize(), TReportPaperSize::Custom);
  EXPECT_DOUBLE_EQ(settings.paperWidth(), 1000);
  EXPECT_DOUBLE_EQ(settings.paperLength(), 1500);
}

TEST(PrinterSettingsBins, BinsSelectTheirCodesKeepingTheDriversExtraBit) {
  struct Case {
    TReportBin bin;
    int code;
    QPrinter::PaperSource source;
  };
  const Case cases[] = {
      {TReportBin::First, 1, QPrinter::Upper},
      {TReportBin::Lower, 2, QPrinter::Lower},
      {TReportBin::Middle, 3, QPrinter::Middle},
      {TReportBin::Manual, 4, QPrinter::Manual},
      {TReportBin::Envelope, 5, QPrinter::Envelope},
      {TReportBin::EnvManual, 6, QPrinter::EnvelopeManual},
      {TReportBin::Auto, 7, QPrinter::Auto},
      {TReportBin::Tractor, 8, QPrinter::Tractor},
      {TReportBin::SmallFormat, 9, QPrinter::SmallFormat},
      {TReportBin::LargeFormat, 10, QPrinter::LargeFormat},
      {TReportBin::LargeCapacity, 11, QPrinter::LargeCapacity},
      {TReportBin::Cassette, 14, QPrinter::Cassette},
  };
  for (const Case c : cases) {
    EXPECT_EQ(TPrinterSettings::binCode(c.bin), c.code);
    EXPECT_EQ(TPrinterSettings::paperSourceOf(c.code), c.source) << c.code;
    for (const int current : {7, 256 + 7, 256 + 2}) {
      TPrinterSettings settings =
          TPrinterSettings::describe("Bins", {}, TReportPaperSize::A4, false, current);
      settings.setOutputBin(c.bin);
      EXPECT_EQ(settings.binValue(), c.code | (current & 256)) << c.code << " from " << current;
      EXPECT_EQ(settings.outputBin(), c.bin);
    }
  }
}

TEST(PrinterSettingsDuplex, AppliesOnlyOnAPrinterThatHasIt) {
  TPrinterSettings simplex = TPrinterSettings::describe("Simplex", {}, TReportPaperSize::A4);
  simplex.setDuplex(true);
  EXPECT_FALSE(simplex.duplex());
  TPrinterSettings duplex = TPrinterSettings::describe("Duplex", {}, TReportPaperSize::A4, true);
  duplex.setDuplex(true);
  EXPECT_TRUE(duplex.duplex());
  EXPECT_EQ(TPrinterSettings::horizontalDuplex(), QPrinter::DuplexShortSide);
}

TEST(PrinterSettingsDevice, ReadsResolutionAndOffsetsInNativeUnits) {
  QTemporaryDir dir;
  struct Case {
    double marginPoints;
    int offset; // native units: dots / dpi x 254, halves to even
  };
  // 36 pt is half an inch (127 native); 18 pt is 63.5 native, 9 pt 31.75.
  for (const Case c : {Case{0, 0}, Case{36, 127}, Case{18, 64}, Case{9, 32}}) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("device.pdf"));
    TPrinterSettings settings =
        TPrinterSettings::describe("PDF", {TReportPaperSize::A4}, TReportPaperSize::A4);
    settings.apply(printer);
    printer.setPageMargins(QMarginsF(c.marginPoints, c.marginPoints, 0, 0), QPageLayout::Point);
    settings.readDevice(printer);
    EXPECT_EQ(settings.dpiX(), printer.resolution());
    EXPECT_EQ(settings.leftOffset(), c.offset) << c.marginPoints;
    EXPECT_EQ(settings.topOffset(), c.offset) << c.marginPoints;
    EXPECT_NEAR(settings.physicalWidth(), 2100, 1);
    EXPECT_NEAR(settings.physicalLength(), 2970, 1);
  }
}

TEST(PrinterSettingsDevice, WithoutPrintersTheSettingsDescribeAPdfDevice) {
  if (TPrinterSettings::printerAvailable())
    GTEST_SKIP() << "a printer is installed";
  const TPrinterSettings settings;
  EXPECT_EQ(settings.device(), "PDF");
  EXPECT_FALSE(settings.duplexCapable());
  EXPECT_TRUE(settings.supports(TReportPaperSize::A4));
  EXPECT_TRUE(settings.supports(TReportPaperSize::Custom));
}

TEST(PrinterSettingsDevice, AnInstalledPrinterIsReadWithItsPapers) {
  if (!TPrinterSettings::printerAvailable())
    GTEST_SKIP() << "no printer is installed";
  const TPrinterSettings settings;
  EXPECT_EQ(settings.device(), QPrinterInfo::defaultPrinter().printerName());
  EXPECT_TRUE(settings.supports(settings.paperSize()));
  EXPECT_TRUE(settings.supports(TReportPaperSize::Custom));
  EXPECT_EQ(TPrinterSettings(0).device(), TPrinterSettings::printerNames().value(0));
}

TEST(ReportPrinterPaper, DirectPrintingKeepsThePrintersPaperWhenItLacksTheReports) {
  struct Case {
    TPrinterDestination destination;
    TReportPaperSize requested;
    double length;
  };
  const Case cases[] = {
      {TPrinterDestination::Direct, TReportPaperSize::A4, 2794},
      {TPrinterDestination::Direct, TReportPaperSize::Legal, 3556},
      {TPrinterDestination::Direct, TReportPaperSize::Default, 2794},
      {TPrinterDestination::Record, TReportPaperSize::A4, 2970},
  };
  for (const Case &c : cases) {
    TReportPrinter printer(c.destination);
    printer.setPrinterSettings(TPrinterSettings::describe(
        "Letter and Legal", {TReportPaperSize::Letter, TReportPaperSize::Legal},
        TReportPaperSize::Letter));
    printer.setPaperSize(c.requested);
    EXPECT_DOUBLE_EQ(printer.paperLength(), c.length) << int(c.requested);
  }
}

TEST(ReportPrinterPaper, ALoadedReportTakesPaperAndOrientationFromItsFirstPage) {
  QTemporaryDir dir;
  struct Case {
    TReportPaperSize paper;
    TReportOrientation orientation;
  };
  const Case cases[] = {{TReportPaperSize::A4, TReportOrientation::poLandscape},
                        {TReportPaperSize::Letter, TReportOrientation::poPortrait},
                        {TReportPaperSize::A5, TReportOrientation::poLandscape}};
  for (const Case c : cases) {
    TReportPrinter source(TPrinterDestination::Record);
    source.setPaperSize(c.paper);
    source.setOrientation(c.orientation);
    source.beginDoc();
    source.newPage();
    source.endDoc();
    const QString name = dir.filePath("paper.qrp");
    source.saveToFile(name);
    TReportPrinter loaded(TPrinterDestination::Record);
    loaded.loadFromFile(name);
    EXPECT_EQ(loaded.orientation(), c.orientation) << int(c.paper);
    EXPECT_DOUBLE_EQ(loaded.paperWidth(), source.paperWidth()) << int(c.paper);
    EXPECT_DOUBLE_EQ(loaded.paperLength(), source.paperLength()) << int(c.paper);
  }
}

} // namespace
} // namespace TDInvoice::Report
