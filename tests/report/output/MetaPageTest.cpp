#include "OutputTestSupport.h"
#include "report/output/RecordingCanvas.h"

#include <QFontMetrics>
#include <QJsonArray>
#include <QJsonObject>
#include <zlib.h>

namespace TDInvoice::Report {
namespace {

using Testing::reportError;

QImage patternImage(QImage::Format format) {
  QImage image(7, 5, format);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      image.setPixelColor(x, y, QColor(x * 36, y * 50, (x * y * 13) % 256, 40 + x * 30));
  return image;
}

// One element of every kind, with the fields set away from their defaults.
TMetaPage everyKindPage() {
  TMetaPage page(QSize(794, 1123), 96, 120);
  page.add(TMetaFillRect{QRect(1, 2, 30, 40), TBrushSpec{qRgb(1, 2, 3), true}});
  page.add(TMetaRectangle{QRect(-5, 6, 70, 8), TPenSpec{qRgb(9, 9, 9), 3, Qt::DashLine},
                          TBrushSpec{qRgb(200, 0, 0), false}});
  page.add(
      TMetaEllipse{QRect(10, 10, 5, 6), TPenSpec{qRgb(0, 0, 255), 0, Qt::NoPen}, TBrushSpec{}});
  page.add(TMetaLine{QPoint(0, 1000), QPoint(793, -3), TPenSpec{qRgb(0, 128, 0), 2, Qt::DotLine}});
  page.add(TMetaText{
      QPoint(400, 500), TTextAlign::Right,
      TFontSpec{QStringLiteral("Courier New"), 8.5, true, true, true, true, qRgb(10, 20, 30)},
      QStringLiteral("Fees \u00e9t\u00e9 \u20ac 1,234.50")});
  page.add(TMetaText{QPoint(0, 0), TTextAlign::Center, TFontSpec{}, QString()});
  page.add(TMetaImage{QRect(100, 100, 70, 50), patternImage(QImage::Format_ARGB32)});
  page.add(TMetaImage{QRect(100, 200, 7, 5), patternImage(QImage::Format_RGB32)});
  page.add(TMetaImage{QRect(0, 0, 1, 1), QImage()});
  page.add(TMetaPicture{QRect(5, 5, 50, 50),
                        QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='10' "
                                   "height='10'><rect width='10' height='10'/></svg>")});
  page.add(TMetaClip{true, QRect(3, 4, 500, 600)});
  page.add(TMetaClip{false, QRect()});
  return page;
}

TEST(MetaPageEncoding, RoundTripKeepsEveryElementAndField) {
  const TMetaPage page = everyKindPage();
  const QByteArray bytes = page.encode();
  EXPECT_TRUE(TMetaPage::hasSignature(bytes.constData(), bytes.size()));
  const TMetaPage back = TMetaPage::decode(bytes);
  EXPECT_EQ(back.size(), page.size());
  EXPECT_EQ(back.dpiX(), 96);
  EXPECT_EQ(back.dpiY(), 120);
  ASSERT_EQ(back.elements().size(), page.elements().size());
  for (std::size_t i = 0; i < page.elements().size(); ++i)
    EXPECT_TRUE(back.elements()[i] == page.elements()[i]) << "element " << i;
  const auto &image = std::get<TMetaImage>(back.elements()[6]).image;
  EXPECT_EQ(image.format(), QImage::Format_ARGB32);
  EXPECT_EQ(image.pixel(6, 4), patternImage(QImage::Format_ARGB32).pixel(6, 4));
  EXPECT_EQ(back.encode(), bytes);
}

TEST(MetaPageEncoding, EmptyPageRoundTrips) {
  const TMetaPage page(QSize(0, 0), 300, 300);
  EXPECT_TRUE(TMetaPage::decode(page.encode()) == page);
}

TEST(MetaPageDecoding, AnyFlippedByteOrTruncationIsRejected) {
  const QByteArray bytes = everyKindPage().encode();
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    QByteArray damaged = bytes;
    damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    EXPECT_THROW(TMetaPage::decode(damaged), EReportError) << "flipped byte " << i;
  }
  for (qsizetype length = 0; length < bytes.size(); ++length)
    EXPECT_THROW(TMetaPage::decode(bytes.left(length)), EReportError) << "length " << length;
}

// Bytes with a valid checksum but a bad field: the decoder must check the field itself.
QByteArray withChecksum(QByteArray bytes) {
  const qsizetype body = bytes.size() - 4;
  const auto crc = static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef *>(bytes.constData()), static_cast<uInt>(body)));
  std::memcpy(bytes.data() + body, &crc, 4);
  return bytes;
}

TEST(MetaPageDecoding, FieldsOutOfRangeAreRejectedBehindAValidChecksum) {
  TMetaPage page(QSize(100, 100), 96, 96);
  page.add(TMetaFillRect{QRect(1, 2, 3, 4), TBrushSpec{}});
  const QByteArray good = page.encode();
  // Layout of this page: header to 28, then the kind byte, the rectangle (29..44) and the
  // brush colour (45..48) and solid flag (49).
  struct Case {
    const char *name;
    qsizetype offset;
    std::uint32_t value;
    int width;
    const char *message;
  };
  const Case cases[] = {
      {"version", 4, 2, 2, "Invalid report page: unsupported version"},
      {"reserved", 6, 1, 2, "Invalid report page: bad reserved field"},
      {"negative width", 8, 0xFFFFFFFF, 4, "Invalid report page: bad page size or resolution"},
      {"zero dpi", 16, 0, 4, "Invalid report page: bad page size or resolution"},
      {"huge count", 24, 0x7FFFFFFF, 4, "Invalid report page: element count runs past the end"},
      {"count too small", 24, 0, 4, "Invalid report page: trailing bytes"},
      {"count too large", 24, 2, 4, "Invalid report page: unexpected end of data"},
      {"unknown kind", 28, 99, 1, "Invalid report page: unknown element"},
      {"negative rect", 37, 0xFFFFFFF0, 4, "Invalid report page: rectangle out of range"},
      // Found by fuzzing: x + width overflowed int when the rectangle was built.
      {"rect at int max", 29, 0x7FFFFFFF, 4, "Invalid report page: rectangle out of range"},
      {"rect at int min", 33, 0x80000000, 4, "Invalid report page: rectangle out of range"},
      {"brush flag", 49, 7, 1, "Invalid report page: bad brush"},
  };
  EXPECT_NO_THROW(TMetaPage::decode(withChecksum(good)));
  for (const Case &c : cases) {
    QByteArray bytes = good;
    std::memcpy(bytes.data() + c.offset, &c.value, c.width);
    EXPECT_EQ(reportError([&] { TMetaPage::decode(withChecksum(bytes)); }), c.message) << c.name;
  }
  EXPECT_EQ(reportError([&] { TMetaPage::decode(QByteArray("XDMP0000")); }),
            "Invalid report page: not a recorded page");
}

TEST(MetaPageDecoding, PointsFarOffThePageAreRejected) {
  TMetaPage page(QSize(100, 100), 96, 96);
  page.add(TMetaLine{QPoint(1, 1), QPoint(2, 2), TPenSpec{}});
  // The line's first point follows the kind byte at 28.
  for (const std::uint32_t x : {0x80000000u, 0x7FFFFFFFu, 10000001u}) {
    QByteArray bytes = page.encode();
    std::memcpy(bytes.data() + 29, &x, 4);
    EXPECT_EQ(reportError([&] { TMetaPage::decode(withChecksum(bytes)); }),
              "Invalid report page: point out of range")
        << x;
  }
}

TEST(MetaPageDecoding, StringLengthPastTheEndIsRejected) {
  TMetaPage page(QSize(100, 100), 96, 96);
  page.add(TMetaText{QPoint(1, 1), TTextAlign::Left, TFontSpec{QStringLiteral("A")}, "x"});
  QByteArray bytes = page.encode();
  // The family's length follows the kind (28), the anchor (29..36) and the alignment (37).
  const std::uint32_t huge = 0xFFFFFF00;
  std::memcpy(bytes.data() + 38, &huge, 4);
  EXPECT_EQ(reportError([&] { TMetaPage::decode(withChecksum(bytes)); }),
            "Invalid report page: length runs past the end");
}

TEST(MetaPageJson, ElementsAreDumpedInMillimetres) {
  TMetaPage page(QSize(794, 1123), 96, 96);
  page.add(
      TMetaText{QPoint(96, 48), TTextAlign::Center,
                TFontSpec{QStringLiteral("Arial"), 9, true, false, false, false, qRgb(255, 0, 0)},
                QStringLiteral("Total")});
  page.add(TMetaFillRect{QRect(192, 96, 48, 24), TBrushSpec{qRgb(0, 0, 255), true}});
  page.add(TMetaLine{QPoint(0, 96), QPoint(96, 96), TPenSpec{qRgb(0, 0, 0), 2}});
  const QJsonObject json = pageToJson(page).object();
  EXPECT_DOUBLE_EQ(json["width"].toDouble(), 210.08);
  EXPECT_DOUBLE_EQ(json["height"].toDouble(), 297.13);
  const QJsonArray elements = json["elements"].toArray();
  ASSERT_EQ(elements.size(), 3);
  const QJsonObject text = elements[0].toObject();
  EXPECT_EQ(text["kind"].toString(), "text");
  EXPECT_DOUBLE_EQ(text["x"].toDouble(), 25.4);
  EXPECT_DOUBLE_EQ(text["y"].toDouble(), 12.7);
  EXPECT_EQ(text["align"].toString(), "center");
  EXPECT_EQ(text["text"].toString(), "Total");
  EXPECT_EQ(text["colour"].toString(), "#ff0000");
  EXPECT_EQ(text["font"].toObject()["family"].toString(), "Arial");
  EXPECT_DOUBLE_EQ(text["font"].toObject()["size"].toDouble(), 9);
  EXPECT_TRUE(text["font"].toObject()["bold"].toBool());
  const QJsonObject fill = elements[1].toObject();
  EXPECT_EQ(fill["kind"].toString(), "fillRect");
  EXPECT_DOUBLE_EQ(fill["x"].toDouble(), 50.8);
  EXPECT_DOUBLE_EQ(fill["width"].toDouble(), 12.7);
  EXPECT_DOUBLE_EQ(fill["height"].toDouble(), 6.35);
  EXPECT_EQ(fill["colour"].toString(), "#0000ff");
  const QJsonObject line = elements[2].toObject();
  EXPECT_EQ(line["kind"].toString(), "line");
  EXPECT_DOUBLE_EQ(line["x2"].toDouble(), 25.4);
  EXPECT_DOUBLE_EQ(line["y2"].toDouble(), 25.4);
  EXPECT_EQ(line["penWidth"].toInt(), 2);
}

TEST(RecordingCanvas, RecordsDrawingWithTheCurrentPenBrushAndFont) {
  TRecordingCanvas canvas(QSize(500, 600), 96, 96);
  canvas.Pen = TPenSpec{qRgb(1, 1, 1), 2, Qt::DashLine};
  canvas.Brush = TBrushSpec{qRgb(2, 2, 2), true};
  canvas.Font.family = QStringLiteral("Times New Roman");
  canvas.rectangle(QRect(1, 2, 3, 4));
  canvas.Pen.width = 5;
  canvas.line(QPoint(1, 1), QPoint(9, 9));
  canvas.textOut(50, 60, QStringLiteral("abc"), TTextAlign::Right);
  canvas.setClipRect(QRect(0, 0, 10, 10));
  canvas.clearClip();
  const TMetaPage page = canvas.takePage();
  ASSERT_EQ(page.elements().size(), 5u);
  const auto &rect = std::get<TMetaRectangle>(page.elements()[0]);
  EXPECT_EQ(rect.pen.width, 2);
  EXPECT_EQ(rect.brush.color, qRgb(2, 2, 2));
  EXPECT_EQ(std::get<TMetaLine>(page.elements()[1]).pen.width, 5);
  const auto &text = std::get<TMetaText>(page.elements()[2]);
  EXPECT_EQ(text.font.family, "Times New Roman");
  EXPECT_EQ(text.align, TTextAlign::Right);
  EXPECT_EQ(text.anchor, QPoint(50, 60));
  EXPECT_TRUE(std::get<TMetaClip>(page.elements()[3]).on);
  EXPECT_FALSE(std::get<TMetaClip>(page.elements()[4]).on);
  // The canvas starts a fresh page of the same size.
  EXPECT_TRUE(canvas.page().elements().empty());
  EXPECT_EQ(canvas.page().size(), QSize(500, 600));
}

TEST(RecordingCanvas, MeasuresTextAtItsOwnResolution) {
  struct Case {
    int dpi;
    int pixelSize; // 10 pt at dpi, rounded as the platform sizes fonts
  };
  for (const Case c : {Case{96, 13}, Case{300, 42}, Case{600, 83}}) {
    TRecordingCanvas canvas(QSize(100, 100), c.dpi, c.dpi);
    EXPECT_EQ(canvas.measureDevice()->logicalDpiY(), c.dpi);
    EXPECT_EQ(canvas.qfont(canvas.Font).pixelSize(), c.pixelSize);
    const QString text = QStringLiteral("Balance brought forward");
    const QFontMetrics metrics(canvas.qfont(canvas.Font), canvas.measureDevice());
    EXPECT_EQ(canvas.textExtent(text).width(), metrics.horizontalAdvance(text)) << c.dpi;
    // Widths grow with the resolution (within hinting's rounding).
    const double perPixel = canvas.textExtent(text).width() / double(c.pixelSize);
    TRecordingCanvas screen(QSize(100, 100), 96, 96);
    EXPECT_NEAR(perPixel, screen.textExtent(text).width() / 13.0, 0.6) << c.dpi;
  }
}

} // namespace
} // namespace TDInvoice::Report
