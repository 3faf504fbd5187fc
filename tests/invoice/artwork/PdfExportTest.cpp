#include "ArtworkTestSupport.h"

#include "invoice/artwork/Artwork.h"
#include "report/output/SvgPicture.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace TDInvoice::Artwork {
namespace {

using Testing::rasterisePdf;
using Testing::runTool;

// Each picture stretched into the box the BPAY slip gives it, in millimetres.
struct TExportCase {
  const char *name;
  QByteArray (*svg)();
  QSizeF boxMm;
  QStringList lines;
};

void PrintTo(const TExportCase &c, std::ostream *out) { *out << c.name; }

const TExportCase kExports[] = {
    {"bpay-instructions",
     bpayInstructionsSvg,
     {63.2, 14.0},
     {"Telephone & Internet Banking - BPAY", "Contact your bank or financial institution to make",
      "this payment from your cheque, savings, debit or",
      "transaction account. More info: www.bpay.com.au"}},
    {"bpay-instructions-cc",
     bpayInstructionsCcSvg,
     {63.2, 14.0},
     {"Telephone & Internet Banking - BPAY",
      "Contact your bank or financial institution to make this",
      "payment from your cheque, savings, debit, credit card",
      "or transaction account. More info: www.bpay.com.au"}},
    {"bpay-trademark",
     bpayTrademarkSvg,
     {57.1, 3.2},
     {"Registered to BPAY Pty Ltd ABN 69 079 137 518"}},
};

// Rows of `pdfimages -list` below its two header lines: one per raster image in the file.
QList<QByteArrayList> imageRows(const QString &pdf) {
  const auto listing = runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
  if (!listing)
    return {};
  QList<QByteArrayList> rows;
  const QByteArrayList lines = listing->split('\n');
  for (qsizetype i = 2; i < lines.size(); ++i)
    if (!lines[i].trimmed().isEmpty())
      rows << lines[i].simplified().split(' ');
  return rows;
}

class PdfExport : public ::testing::TestWithParam<TExportCase> {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_folder.isValid());
    m_pdf = m_folder.filePath(QStringLiteral("picture.pdf"));
    const QByteArray svg = GetParam().svg();
    // As the report's exporter draws a picture.
    Testing::writePdf(m_pdf, GetParam().boxMm, [&svg](QPainter &painter, const QRectF &box) {
      Report::drawSvgPicture(painter, svg, box);
    });
    ASSERT_TRUE(runTool(QStringLiteral("pdfinfo"), {m_pdf})) << "no readable PDF written";
  }

  // The picture drawn straight onto a page image at 600 dpi, as the PDF should look.
  QImage directRendering(const QSize &pageSize) const {
    QImage page(pageSize, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal dots = 600 / 25.4;
    QSvgRenderer(GetParam().svg())
        .render(&painter, QRectF(5 * dots, 5 * dots, GetParam().boxMm.width() * dots,
                                 GetParam().boxMm.height() * dots));
    return page;
  }

  QTemporaryDir m_folder;
  QString m_pdf;
};

TEST_P(PdfExport, HoldsNoRasterImage) {
  const auto listing = runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), m_pdf});
  ASSERT_TRUE(listing) << "pdfimages could not read the export";
  EXPECT_TRUE(listing->startsWith("page")) << listing->constData();
  EXPECT_TRUE(imageRows(m_pdf).isEmpty()) << listing->constData();
}

TEST_P(PdfExport, ShowsThePictureAsItRendersDirectly) {
  const QImage printed = rasterisePdf(m_pdf, 600).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(printed.isNull()) << "pdftoppm could not render the export";
  const QImage direct = directRendering(printed.size());
  // The two rasterisers shade edges differently and may place them half a pixel apart, and the
  // SVG renderer's own text layout drifts by up to a pixel along a full line of small type
  // (its glyph advances are rounded at the picture's fractional font sizes; the export sets
  // them exactly). So an inked pixel (over half covered) of one needs ink within two pixels
  // (0.085 mm) in the other: a missing or displaced stroke still shows.
  const auto inked = [](const QImage &image, int x, int y) {
    return qRed(image.pixel(x, y)) < 128;
  };
  const auto inkNear = [&inked](const QImage &image, int x, int y) {
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx)
        if (image.valid(x + dx, y + dy) && inked(image, x + dx, y + dy))
          return true;
    return false;
  };
  qint64 printedInk = 0, printedUnmatched = 0, directInk = 0, directUnmatched = 0;
  for (int y = 0; y < printed.height(); ++y)
    for (int x = 0; x < printed.width(); ++x) {
      if (inked(printed, x, y)) {
        ++printedInk;
        printedUnmatched += !inkNear(direct, x, y);
      }
      if (inked(direct, x, y)) {
        ++directInk;
        directUnmatched += !inkNear(printed, x, y);
      }
    }
  ASSERT_GT(directInk, 0);
  EXPECT_LT(double(printedUnmatched) / double(printedInk), 0.005);
  EXPECT_LT(double(directUnmatched) / double(directInk), 0.005);
}

TEST_P(PdfExport, StaysCrispAtPrinterResolution) {
  // Vectors keep their edges one device pixel wide: at four times the resolution the share of
  // fringe pixels drops to about a quarter.
  const double coarse = Testing::midToneShare(rasterisePdf(m_pdf, 300));
  const double fine = Testing::midToneShare(rasterisePdf(m_pdf, 1200));
  ASSERT_GT(coarse, 0.0);
  EXPECT_LT(fine, coarse * 0.5);
}

TEST_P(PdfExport, KeepsItsWordsAsSearchableText) {
  const auto text = runTool(QStringLiteral("pdftotext"), {m_pdf, QStringLiteral("-")});
  ASSERT_TRUE(text);
  const QString words = QString::fromUtf8(*text).simplified();
  for (const QString &line : GetParam().lines)
    EXPECT_TRUE(words.contains(line)) << qPrintable(line) << " missing from: " << qPrintable(words);
}

INSTANTIATE_TEST_SUITE_P(BpaySlip, PdfExport, ::testing::ValuesIn(kExports), [](const auto &info) {
  std::string name = info.param.name;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
});

TEST(PdfExportLogo, GoesOutAsItsOwnBitmap) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString pdf = folder.filePath(QStringLiteral("logo.pdf"));
  Testing::writePdf(pdf, {9.0, 13.8}, [](QPainter &painter, const QRectF &box) {
    painter.drawImage(box, bpayLogo());
  });
  const QList<QByteArrayList> rows = imageRows(pdf);
  ASSERT_EQ(rows.size(), 1);
  ASSERT_GE(rows[0].size(), 5);
  EXPECT_EQ(rows[0][3], "135");
  EXPECT_EQ(rows[0][4], "206");
}

} // namespace
} // namespace TDInvoice::Artwork
