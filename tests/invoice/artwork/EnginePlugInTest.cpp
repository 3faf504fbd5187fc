// The pictures through the report engine's own output path: recorded on a page, kept in the
// page store and exported to PDF, as the BPAY slip prints them.
#include "ArtworkTestSupport.h"

#include "invoice/artwork/Artwork.h"
#include "invoice/artwork/BpayLogo.h"
#include "report/output/Exporters.h"
#include "report/output/MetaPage.h"
#include "report/output/ReportPageList.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace TDInvoice::Artwork {
namespace {

using Report::TMetaImage;
using Report::TMetaPage;
using Report::TMetaPicture;

constexpr int kDpi = 600;
// The slip's band starts this far down an A4 page.
constexpr qreal kBandTopMm = 240;

QRect deviceBox(qreal leftMm, qreal topMm, qreal widthMm, qreal heightMm, int dpi = kDpi) {
  const qreal dots = dpi / 25.4;
  return QRectF(leftMm * dots, (kBandTopMm + topMm) * dots, widthMm * dots, heightMm * dots)
      .toRect();
}

struct TPlaced {
  qreal left, top, width, height;
};
const TPlaced kLogoBox{2.6, 15.3, 9.0, 13.8};
const TPlaced kInstructionsBox{2.6, 29.6, 63.2, 14.0};
const TPlaced kTrademarkBox{2.6, 45.2, 57.1, 3.2};

QRect deviceBox(const TPlaced &p, int dpi = kDpi) {
  return deviceBox(p.left, p.top, p.width, p.height, dpi);
}

TMetaPage slipPage() {
  TMetaPage page(QSize(4961, 7016), kDpi, kDpi);
  page.add(TMetaImage{deviceBox(kLogoBox), bpayLogo()});
  page.add(TMetaPicture{deviceBox(kInstructionsBox), bpayInstructionsSvg()});
  page.add(TMetaPicture{deviceBox(kTrademarkBox), bpayTrademarkSvg()});
  return page;
}

TEST(EnginePlugIn, PageStoreKeepsTheLogoBitmapExactly) {
  const TMetaPage decoded = TMetaPage::decode(slipPage().encode());
  ASSERT_EQ(decoded.elements().size(), 3u);
  const auto *logo = std::get_if<TMetaImage>(&decoded.elements()[0]);
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(logo->image.size(), QSize(135, 206));
  EXPECT_EQ(logo->image.convertToFormat(QImage::Format_RGB32),
            bpayLogo().convertToFormat(QImage::Format_RGB32));
  const auto *instructions = std::get_if<TMetaPicture>(&decoded.elements()[1]);
  ASSERT_NE(instructions, nullptr);
  EXPECT_EQ(instructions->svg, bpayInstructionsSvg());
}

TEST(EnginePlugIn, PdfExportPrintsEachPictureInItsBox) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  Report::TReportPageList pages;
  pages.addPage(slipPage());
  pages.finish();
  const QString pdf = folder.filePath(QStringLiteral("slip.pdf"));
  ASSERT_EQ(Report::exportPdf(pages, pdf, QStringLiteral("BPAY slip")), 1);

  // The logo is the one raster image, at its own resolution.
  const auto listing =
      Testing::runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
  ASSERT_TRUE(listing);
  const QByteArrayList lines = listing->trimmed().split('\n');
  ASSERT_EQ(lines.size(), 3) << listing->constData();
  const QByteArrayList row = lines[2].simplified().split(' ');
  ASSERT_GE(row.size(), 5);
  EXPECT_EQ(row[3], "135");
  EXPECT_EQ(row[4], "206");

  // Ink inside every box, none anywhere else on the page.
  constexpr int dpi = 150;
  const QImage page = Testing::rasterisePdf(pdf, dpi).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(page.isNull());
  const QRect boxes[] = {deviceBox(kLogoBox, dpi), deviceBox(kInstructionsBox, dpi),
                         deviceBox(kTrademarkBox, dpi)};
  int inkInBox[3] = {0, 0, 0};
  int inkElsewhere = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) {
      if (qRed(page.pixel(x, y)) >= 128)
        continue;
      bool inside = false;
      for (int i = 0; i < 3; ++i)
        if (boxes[i].adjusted(-2, -2, 2, 2).contains(x, y)) {
          ++inkInBox[i];
          inside = true;
        }
      inkElsewhere += !inside;
    }
  for (int i = 0; i < 3; ++i)
    EXPECT_GT(inkInBox[i], boxes[i].width() * boxes[i].height() / 20) << "box " << i;
  EXPECT_EQ(inkElsewhere, 0);
}

} // namespace
} // namespace TDInvoice::Artwork
