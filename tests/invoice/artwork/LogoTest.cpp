#include "ArtworkTestSupport.h"
#include "PaintRecorder.h"

#include "invoice/artwork/Artwork.h"
#include "invoice/artwork/BpayLogo.h"

#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace TDInvoice::Artwork {
namespace {

using Testing::midToneShare;

// Connected areas of one colour (4-neighbourhood) that do not touch the bitmap's border: the
// letters (white areas inside the tile) and their counters (blue areas inside the letters).
int enclosedAreas(const QImage &bitmap, QRgb colour) {
  const int width = bitmap.width(), height = bitmap.height();
  std::vector<char> seen(std::size_t(width) * height, 0);
  int enclosed = 0;
  for (int start = 0; start < width * height; ++start) {
    if (seen[start] || bitmap.pixel(start % width, start / width) != colour)
      continue;
    bool touchesBorder = false;
    std::vector<int> stack{start};
    seen[start] = 1;
    while (!stack.empty()) {
      const int at = stack.back();
      stack.pop_back();
      const int x = at % width, y = at / width;
      touchesBorder |= x == 0 || y == 0 || x == width - 1 || y == height - 1;
      const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
      for (const auto &n : next) {
        if (n[0] < 0 || n[1] < 0 || n[0] >= width || n[1] >= height)
          continue;
        const int index = n[1] * width + n[0];
        if (!seen[index] && bitmap.pixel(n[0], n[1]) == colour) {
          seen[index] = 1;
          stack.push_back(index);
        }
      }
    }
    enclosed += !touchesBorder;
  }
  return enclosed;
}

std::map<QRgb, int> histogram(const QImage &image) {
  std::map<QRgb, int> counts;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      ++counts[image.pixel(x, y)];
  return counts;
}

// Share of the bitmap's pixels on which `big`, a rendering n times its size, agrees once each
// n × n block is reduced to the colour that covers most of it.
double agreementWhenReduced(const QImage &bitmap, const QImage &big, int n) {
  int agree = 0;
  for (int y = 0; y < bitmap.height(); ++y)
    for (int x = 0; x < bitmap.width(); ++x) {
      int blue = 0;
      for (int dy = 0; dy < n; ++dy)
        for (int dx = 0; dx < n; ++dx)
          blue += qRed(big.pixel(x * n + dx, y * n + dy)) < 128;
      const QRgb reduced = 2 * blue > n * n ? kDarkBlue : kWhite;
      agree += reduced == bitmap.pixel(x, y);
    }
  return double(agree) / (double(bitmap.width()) * bitmap.height());
}

TEST(BpayLogoBitmap, IsExactly135By206InDarkBlueAndWhiteOnly) {
  const QImage logo = bpayLogo();
  ASSERT_EQ(logo.size(), QSize(135, 206));
  EXPECT_EQ(logo.depth(), 1);
  EXPECT_EQ(logo.colorTable(), QList<QRgb>({qRgb(0, 43, 105), qRgb(255, 255, 255)}));
  const auto counts = histogram(logo);
  ASSERT_EQ(counts.size(), 2u);
  EXPECT_GT(counts.at(qRgb(0, 43, 105)), 0);
  EXPECT_GT(counts.at(qRgb(255, 255, 255)), 0);
}

TEST(BpayLogoBitmap, LooksLikeAMarkOnItsTile) {
  const QImage logo = bpayLogo();
  const auto counts = histogram(logo);
  const double total = logo.width() * logo.height();
  // A dark tile carrying white letters: mostly blue, yet a good part white.
  const double blue = counts.at(kDarkBlue) / total;
  EXPECT_GT(blue, 0.6);
  EXPECT_LT(blue, 0.9);
  // The white is the lettering, not just the corners outside the rounded tile.
  const QRect inner = logo.rect().adjusted(14, 14, -14, -14);
  int whiteInside = 0;
  for (int y = inner.top(); y <= inner.bottom(); ++y)
    for (int x = inner.left(); x <= inner.right(); ++x)
      whiteInside += logo.pixel(x, y) == kWhite;
  EXPECT_GT(whiteInside / double(inner.width() * inner.height()), 0.12);
  // The tile's corners are rounded off; its edges run to the border.
  EXPECT_EQ(logo.pixel(0, 0), kWhite);
  EXPECT_EQ(logo.pixel(134, 205), kWhite);
  EXPECT_EQ(logo.pixel(67, 0), kDarkBlue);
  EXPECT_EQ(logo.pixel(0, 103), kDarkBlue);
}

TEST(BpayLogoBitmap, LettersStaySeparateAndKeepTheirCountersOpen) {
  // At 135 × 206 pixels the counters must not fill in nor the letters run together: white
  // areas are the B, the rule and P, A, Y; blue holes are the B's two counters, P's and A's.
  const QImage logo = bpayLogo();
  EXPECT_EQ(enclosedAreas(logo, kWhite), 5);
  EXPECT_EQ(enclosedAreas(logo, kDarkBlue), 4);
}

TEST(BpayLogoBitmap, IsTheVectorMarkAtPrintSize) {
  const QImage logo = bpayLogo();
  const double agreement = agreementWhenReduced(logo, renderBpayLogo(kBpayLogoSize * 8), 8);
  EXPECT_GT(agreement, 0.995);
}

TEST(BpayLogoVector, StaysCrispWhenZoomed) {
  // Drawn from shapes, edges stay about one pixel wide at any size, so the fringe's share falls
  // as the picture grows; a bitmap blown up smoothly keeps its share of blurred edge.
  const double printSize = midToneShare(renderBpayLogo(kBpayLogoSize));
  const double zoomed = midToneShare(renderBpayLogo(kBpayLogoSize * 4));
  EXPECT_GT(printSize, 0.0);
  EXPECT_LT(zoomed, printSize * 0.4);
  const QImage blownUp =
      renderBpayLogo(kBpayLogoSize)
          .scaled(kBpayLogoSize * 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_GT(midToneShare(blownUp), printSize * 0.6) << "the measure must tell the two apart";
  // Reduced to two colours, the zoomed mark has no other colour left.
  EXPECT_EQ(histogram(toTwoColours(renderBpayLogo(kBpayLogoSize * 4))).size(), 2u);
}

TEST(BpayLogoVector, IsMadeOfShapesWithoutAnyFont) {
  Testing::TPaintRecorder device;
  {
    QPainter painter(&device);
    paintBpayLogo(painter, QRectF(0, 0, 270, 412));
  }
  EXPECT_EQ(device.counts().textItems, 0);
  EXPECT_EQ(device.counts().images, 0);
  EXPECT_EQ(device.counts().shapes, int(bpayLogoShapes().size()));
  for (const TLogoShape &shape : bpayLogoShapes()) {
    EXPECT_FALSE(shape.path.isEmpty());
    EXPECT_TRUE(shape.colour == kDarkBlue || shape.colour == kWhite);
  }
}

TEST(BpayLogoSvg, IsTheSameMarkAsPathsOnTheBitmapsGrid) {
  const QByteArray svg = bpayLogoSvg();
  QSvgRenderer renderer(svg);
  ASSERT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.viewBoxF(), QRectF(0, 0, 135, 206));
  // Only paths: no text, no embedded image.
  QStringList names = Testing::svgElementNames(svg);
  names.removeDuplicates();
  EXPECT_EQ(names, QStringList({"svg", "title", "path"}));
  EXPECT_LT(midToneShare(Testing::renderSvg(svg, 4)),
            midToneShare(Testing::renderSvg(svg, 1)) * 0.4);
}

TEST(BpayLogoSvg, KeepsEveryCurveOfTheShapes) {
  // Each shape's outline, drawn from the SVG, covers what the shape itself covers; a dropped or
  // mangled curve would show as a large difference at this zoom.
  const QImage fromSvg = Testing::renderSvg(bpayLogoSvg(), 8);
  const QImage fromShapes = renderBpayLogo(kBpayLogoSize * 8);
  ASSERT_EQ(fromSvg.size(), fromShapes.size());
  qint64 differing = 0;
  for (int y = 0; y < fromSvg.height(); ++y)
    for (int x = 0; x < fromSvg.width(); ++x)
      differing += std::abs(qRed(fromSvg.pixel(x, y)) - qRed(fromShapes.pixel(x, y))) > 64;
  EXPECT_LT(double(differing) / (double(fromSvg.width()) * fromSvg.height()), 0.001);
}

} // namespace
} // namespace TDInvoice::Artwork
