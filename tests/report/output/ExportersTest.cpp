#include "report/output/Exporters.h"
#include "OutputTestSupport.h"
#include "report/output/ReportPageList.h"
#include "report/output/ReportPrinter.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace TDInvoice::Report {
namespace {

struct Word {
  int page;
  QString text;
  double xMin, yMin, xMax, yMax; // mm from the page's top-left corner
};

// The words of a PDF with their boxes, as poppler's pdftotext finds them.
std::vector<Word> pdfWords(const QString &pdf) {
  QProcess process;
  process.start("pdftotext", {"-bbox", pdf, "-"});
  EXPECT_TRUE(process.waitForFinished(30000));
  const QString html = QString::fromUtf8(process.readAllStandardOutput());
  static const QRegularExpression word(
      QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                     "yMax=\"([\\d.]+)\">([^<]*)</word>"));
  std::vector<Word> words;
  int page = 0;
  qsizetype pageAt = html.indexOf("<page");
  for (auto it = word.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    while (pageAt >= 0 && pageAt < m.capturedStart()) {
      ++page;
      pageAt = html.indexOf("<page", pageAt + 1);
    }
    const double mm = 25.4 / 72;
    words.push_back({page, m.captured(5), m.captured(1).toDouble() * mm,
                     m.captured(2).toDouble() * mm, m.captured(3).toDouble() * mm,
                     m.captured(4).toDouble() * mm});
  }
  return words;
}

struct Label {
  double x, y; // native units
  TTextAlign align;
  double points;
  const char *text;
};

const Label kLabels[] = {
    {200, 300, TTextAlign::Left, 10, "Invoice"},
    {1900, 300, TTextAlign::Right, 10, "Amount"},
    {1050, 1500, TTextAlign::Center, 14, "Centred"},
    {150, 2700, TTextAlign::Left, 8, "Remittance"},
};

// A recorded run of pages carrying the labels, with the page number in the last label.
std::unique_ptr<TReportPrinter> recordLabels(int pages) {
  auto printer = std::make_unique<TReportPrinter>(TPrinterDestination::Record);
  printer->beginDoc();
  for (int n = 1; n <= pages; ++n) {
    printer->newPage();
    TCanvas &canvas = printer->canvas();
    for (const Label &label : kLabels) {
      canvas.Font.pointSize = label.points;
      canvas.textOut(printer->xPos(label.x), printer->yPos(label.y), label.text, label.align);
    }
    canvas.textOut(printer->xPos(200), printer->yPos(2800), QStringLiteral("P%1").arg(n));
    canvas.Pen.width = 2;
    canvas.line(QPoint(printer->xPos(100), printer->yPos(1000)),
                QPoint(printer->xPos(2000), printer->yPos(1000)));
  }
  printer->endDoc();
  return printer;
}

TEST(PdfExport, TextsAreSelectableAtTheirRecordedPositions) {
  QTemporaryDir dir;
  const auto printer = recordLabels(2);
  const QString pdf = dir.filePath("labels.pdf");
  EXPECT_EQ(exportPdf(*printer->pageStore(), pdf, "Labels"), 2);
  const std::vector<Word> words = pdfWords(pdf);
  // Where the recording put each anchor, in mm (device pixels at 96 per inch).
  auto mm = [](int pixels) { return pixels * 25.4 / 96; };
  for (int page = 1; page <= 2; ++page) {
    for (const Label &label : kLabels) {
      const auto found = std::find_if(words.begin(), words.end(), [&](const Word &w) {
        return w.page == page && w.text == label.text;
      });
      ASSERT_NE(found, words.end()) << label.text << " on page " << page;
      const double anchorX = mm(printer->xPos(label.x));
      const double top = mm(printer->yPos(label.y));
      const double x = label.align == TTextAlign::Left    ? found->xMin
                       : label.align == TTextAlign::Right ? found->xMax
                                                          : (found->xMin + found->xMax) / 2;
      EXPECT_NEAR(x, anchorX, 0.5) << label.text;
      EXPECT_NEAR(found->yMin, top, 0.5) << label.text;
      // The box is as tall as the font's line (ascent + descent), about 1.15 x the size.
      EXPECT_NEAR(found->yMax - found->yMin, label.points * 25.4 / 72 * 1.15, 0.5) << label.text;
    }
    const auto number = std::find_if(words.begin(), words.end(), [&](const Word &w) {
      return w.page == page && w.text.startsWith('P') && w.text.size() == 2;
    });
    ASSERT_NE(number, words.end());
    EXPECT_EQ(number->text, QStringLiteral("P%1").arg(page));
  }
}

TEST(PdfExport, PagesHaveThePapersSizeAndOrientation) {
  QTemporaryDir dir;
  struct Case {
    TReportOrientation orientation;
    double width, height; // points
  };
  for (const Case c : {Case{TReportOrientation::poPortrait, 595.276, 841.89},
                       Case{TReportOrientation::poLandscape, 841.89, 595.276}}) {
    TReportPrinter printer(TPrinterDestination::Record);
    printer.setOrientation(c.orientation);
    printer.beginDoc();
    printer.newPage();
    printer.canvas().textOut(10, 10, "x");
    printer.endDoc();
    const QString pdf = dir.filePath(QStringLiteral("o%1.pdf").arg(int(c.orientation)));
    exportPdf(*printer.pageStore(), pdf, "Sizes");
    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    const auto size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+) pts").match(out);
    ASSERT_TRUE(size.hasMatch()) << out.toStdString();
    EXPECT_NEAR(size.captured(1).toDouble(), c.width, 1.0) << out.toStdString();
    EXPECT_NEAR(size.captured(2).toDouble(), c.height, 1.0) << out.toStdString();
    EXPECT_TRUE(out.contains(QRegularExpression("Title:\\s+Sizes"))) << out.toStdString();
  }
}

TEST(PngExport, WritesOneImagePerPageAtTheResolution) {
  QTemporaryDir dir;
  const auto printer = recordLabels(3);
  const QString folder = dir.filePath("png");
  EXPECT_EQ(exportPng(*printer->pageStore(), folder, 192), 3);
  for (int n = 1; n <= 3; ++n) {
    const QImage image(QDir(folder).filePath(QStringLiteral("page-000%1.png").arg(n)));
    ASSERT_FALSE(image.isNull()) << n;
    EXPECT_EQ(image.size(), QSize(794 * 2, 1123 * 2));
    // A 2-unit pen at device row y covers rows y-1 and y: four rows at twice the resolution.
    const int y = printer->yPos(1000) * 2;
    const int x = printer->xPos(1000) * 2;
    for (const int row : {y - 2, y - 1, y, y + 1})
      EXPECT_EQ(qGray(image.pixel(x, row)), 0) << row;
    for (const int row : {y - 3, y + 2})
      EXPECT_EQ(qGray(image.pixel(x, row)), 255) << row;
  }
  EXPECT_FALSE(QFileInfo::exists(QDir(folder).filePath("page-0004.png")));
}

TEST(ExportFilters, OfferPdfAndPngAndRunThem) {
  const auto &filters = exportFilters();
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0].extension, "pdf");
  EXPECT_EQ(filters[1].extension, "png");
  QTemporaryDir dir;
  const auto printer = recordLabels(2);
  EXPECT_EQ(filters[0].run(*printer->pageStore(), dir.filePath("f.pdf")), 2);
  EXPECT_EQ(pdfWords(dir.filePath("f.pdf")).back().page, 2);
  EXPECT_EQ(filters[1].run(*printer->pageStore(), dir.filePath("f")), 2);
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("f/page-0002.png")));
}

TEST(Exporters, UnwritableTargetsRaiseErrors) {
  const auto printer = recordLabels(1);
  EXPECT_THROW(exportPdf(*printer->pageStore(), "/proc/no/such/dir/x.pdf", ""), EReportError);
  EXPECT_THROW(exportPng(*printer->pageStore(), "/proc/no/such/dir", 96), EReportError);
}

} // namespace
} // namespace TDInvoice::Report
