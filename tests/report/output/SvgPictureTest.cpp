// Vector pictures: which SVG text is set as text by the replay, how its runs are read, and that
// a picture whose text only the SVG renderer can place is still drawn whole.
#include "report/output/SvgPicture.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace TDInvoice::Report {
namespace {

QByteArray svgOf(const char *body, const char *root = "viewBox='0 0 100 20'") {
  return QByteArray("<svg xmlns='http://www.w3.org/2000/svg' ") + root + ">" + body + "</svg>";
}

TEST(SvgPicture, PlainTextIsReadIntoRunsWithTheInheritedFont) {
  const QByteArray svg = svgOf(
      "<title>t</title><rect x='1' y='1' width='5' height='5' fill='#ff0000'/>"
      "<g fill='#002b69' font-family='Arial' font-weight='normal'>"
      "<text x='0.3' y='7.4' font-size='8.4' font-weight='bold'>Banking &amp; B<tspan "
      "font-size='6.5'>PAY</tspan></text>"
      "<text x='90' y='4.5' font-size='4.2' fill='none'>&#174;</text></g>");
  const auto split = splitSvgText(svg);
  ASSERT_TRUE(split);
  EXPECT_EQ(split->viewBox, QRectF(0, 0, 100, 20));
  ASSERT_EQ(split->lines.size(), 2u);
  const TSvgTextLine &heading = split->lines[0];
  EXPECT_EQ(heading.origin, QPointF(0.3, 7.4));
  ASSERT_EQ(heading.runs.size(), 2u);
  EXPECT_EQ(heading.runs[0].text, QStringLiteral("Banking & B"));
  EXPECT_EQ(heading.runs[0].family, QStringLiteral("Arial"));
  EXPECT_DOUBLE_EQ(heading.runs[0].size, 8.4);
  EXPECT_TRUE(heading.runs[0].bold);
  EXPECT_EQ(heading.runs[0].fill, qRgb(0, 43, 105));
  EXPECT_EQ(heading.runs[1].text, QStringLiteral("PAY"));
  EXPECT_DOUBLE_EQ(heading.runs[1].size, 6.5);
  EXPECT_TRUE(heading.runs[1].bold) << "a tspan keeps what it does not change";
  ASSERT_EQ(split->lines[1].runs.size(), 1u);
  EXPECT_EQ(split->lines[1].runs[0].text, QString(QChar(0xAE)));
  EXPECT_FALSE(split->lines[1].runs[0].fill.has_value());
  // The rest of the picture stays for the SVG renderer, without the text.
  EXPECT_FALSE(split->graphics.contains("<text"));
  EXPECT_FALSE(split->graphics.contains("PAY"));
  EXPECT_TRUE(split->graphics.contains("<rect x='1'"));
  EXPECT_TRUE(QSvgRenderer(split->graphics).isValid());
}

TEST(SvgPicture, BlanksFollowTheDefaultWhiteSpaceRules) {
  const auto split = splitSvgText(svgOf(
      "<text x='1' y='2' font-family='Arial'>  two\n   words\t<tspan>here </tspan>  </text>"));
  ASSERT_TRUE(split);
  ASSERT_EQ(split->lines.size(), 1u);
  ASSERT_EQ(split->lines[0].runs.size(), 2u);
  EXPECT_EQ(split->lines[0].runs[0].text, QStringLiteral("two words "));
  EXPECT_EQ(split->lines[0].runs[1].text, QStringLiteral("here"));
}

TEST(SvgPicture, TextOnlyTheRendererCanPlaceLeavesThePictureWhole) {
  const struct {
    const char *what;
    QByteArray svg;
  } cases[] = {
      {"moved group", svgOf("<g transform='translate(5 0)'><text x='1' y='9' "
                            "font-family='Arial'>a</text></g>")},
      {"anchored", svgOf("<text x='50' y='9' text-anchor='middle' font-family='Arial'>a</text>")},
      {"glyph positions", svgOf("<text x='1' y='9' font-family='Arial'>a<tspan x='20'>b</tspan>"
                                "</text>")},
      {"css style", svgOf("<text x='1' y='9' style='font-family:Arial'>a</text>")},
      {"style sheet", svgOf("<style>text{fill:red}</style><text x='1' y='9' "
                            "font-family='Arial'>a</text>")},
      {"stroked", svgOf("<text x='1' y='9' font-family='Arial' stroke='#000'>a</text>")},
      {"painted with a gradient", svgOf("<g fill='url(#g)'><text x='1' y='9' "
                                        "font-family='Arial'>a</text></g>")},
      {"half transparent", svgOf("<g opacity='0.5'><text x='1' y='9' "
                                 "font-family='Arial'>a</text></g>")},
      {"in a link", svgOf("<a href='#x'><text x='1' y='9' font-family='Arial'>a</text></a>")},
      {"no font named", svgOf("<text x='1' y='9'>a</text>")},
      {"kept blanks", svgOf("<text x='1' y='9' font-family='Arial' xml:space='preserve'>a</text>")},
      {"percent position", svgOf("<text x='10%' y='9' font-family='Arial'>a</text>")},
      {"no user space", svgOf("<text x='1' y='9' font-family='Arial'>a</text>", "width='5mm'")},
      {"not svg", QByteArray("<html><text x='1' y='9' font-family='Arial'>a</text></html>")},
      {"malformed", QByteArray("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 9 9'>"
                               "<text x='1' y='9' font-family='Arial'>a</svg>")},
  };
  for (const auto &c : cases)
    EXPECT_FALSE(splitSvgText(c.svg).has_value()) << c.what;
}

// Dark pixels' bounding box.
QRect inkOf(const QImage &image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128)
        box |= QRect(x, y, 1, 1);
  return box;
}

QImage drawn(const QByteArray &svg, bool ours) {
  QImage image(800, 160, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF target(0, 0, 800, 160);
  if (ours)
    drawSvgPicture(painter, svg, target);
  else
    QSvgRenderer(svg).render(&painter, target);
  return image;
}

TEST(SvgPicture, TextAndGraphicsLandWhereTheSvgRendererPutsThem) {
  const struct {
    const char *what;
    QByteArray svg;
  } cases[] = {
      {"text set by us",
       svgOf("<rect x='80' y='2' width='15' height='15'/>"
             "<text x='2' y='14' font-family='Arial' font-size='12'>Biller <tspan "
             "font-weight='bold'>Code</tspan></text>")},
      {"text left to the renderer",
       svgOf("<g transform='translate(10 0)'><text x='2' y='14' font-family='Arial' "
             "font-size='12'>Biller Code</text></g>")},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const QRect expected = inkOf(drawn(c.svg, false));
    const QRect actual = inkOf(drawn(c.svg, true));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_LE(std::abs(actual.left() - expected.left()), 2) << actual.left();
    EXPECT_LE(std::abs(actual.right() - expected.right()), 2) << actual.right();
    EXPECT_LE(std::abs(actual.top() - expected.top()), 2) << actual.top();
    EXPECT_LE(std::abs(actual.bottom() - expected.bottom()), 2) << actual.bottom();
  }
  // Nothing to draw, nothing drawn; and no crash on an empty box.
  EXPECT_TRUE(inkOf(drawn("not a picture", true)).isEmpty());
  QImage image(10, 10, QImage::Format_RGB32);
  QPainter painter(&image);
  drawSvgPicture(painter, svgOf("<text x='1' y='9' font-family='Arial'>a</text>"), QRectF());
}

} // namespace
} // namespace TDInvoice::Report
