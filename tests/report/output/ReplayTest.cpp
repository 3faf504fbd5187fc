#include "OutputTestSupport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace TDInvoice::Report {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

QImage replayed(const TMetaPage &page, QSize imageSize, TReplayCache *cache = nullptr) {
  QImage image(imageSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  page.replay(painter, QRectF(QPointF(0, 0), QSizeF(imageSize)), cache);
  return image;
}

// The box around every non-white pixel of a region.
QRect inkBox(const QImage &image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != kWhite)
        box |= QRect(x, y, 1, 1);
  return box;
}

struct Probe {
  int x, y;
  QRgb colour;
};

void expectProbes(const QImage &image, std::initializer_list<Probe> probes, const char *what) {
  for (const Probe &p : probes)
    EXPECT_EQ(image.pixel(p.x, p.y), p.colour) << what << " at " << p.x << "," << p.y;
}

TEST(MetaPageReplay, LinesAndFillsLandOnTheirPixelsAndScaleWithThePage) {
  TMetaPage page(QSize(200, 100), 96, 96);
  page.add(TMetaLine{QPoint(10, 50), QPoint(190, 50), TPenSpec{}});
  page.add(TMetaFillRect{QRect(20, 20, 30, 10), TBrushSpec{qRgb(255, 0, 0), true}});
  page.add(TMetaFillRect{QRect(60, 20, 30, 10), TBrushSpec{qRgb(0, 255, 0), false}});

  const QImage one = replayed(page, QSize(200, 100));
  expectProbes(one,
               {{100, 50, kBlack},
                {11, 50, kBlack},
                {100, 49, kWhite},
                {100, 51, kWhite},
                {5, 50, kWhite},
                {195, 50, kWhite},
                {20, 20, 0xFFFF0000},
                {49, 29, 0xFFFF0000},
                {50, 29, kWhite},
                {49, 30, kWhite},
                {19, 20, kWhite},
                {70, 25, kWhite}},
               "1:1");

  // Twice the size: the pen is two pixels wide, the fill twice as large.
  const QImage two = replayed(page, QSize(400, 200));
  expectProbes(two,
               {{200, 100, kBlack},
                {200, 101, kBlack},
                {200, 99, kWhite},
                {200, 102, kWhite},
                {40, 40, 0xFFFF0000},
                {99, 59, 0xFFFF0000},
                {100, 59, kWhite}},
               "2:1");
}

TEST(MetaPageReplay, RectangleOutlineStaysInsideItsBounds) {
  TMetaPage page(QSize(100, 100), 96, 96);
  page.add(TMetaRectangle{QRect(10, 10, 40, 20), TPenSpec{kBlack, 3},
                          TBrushSpec{qRgb(0, 0, 255), true}});
  const QImage image = replayed(page, QSize(100, 100));
  EXPECT_EQ(inkBox(image), QRect(10, 10, 40, 20));
  expectProbes(image,
               {{10, 10, kBlack}, {12, 20, kBlack}, {13, 20, 0xFF0000FF}, {30, 20, 0xFF0000FF}},
               "rectangle");
}

TEST(MetaPageReplay, ClipLimitsDrawingUntilItIsCleared) {
  TMetaPage page(QSize(100, 100), 96, 96);
  const TBrushSpec black{kBlack, true};
  page.add(TMetaClip{true, QRect(0, 0, 50, 50)});
  page.add(TMetaFillRect{QRect(0, 0, 100, 40), black});
  page.add(TMetaClip{true, QRect(60, 0, 40, 100)}); // replaces, not narrows, the first
  page.add(TMetaFillRect{QRect(0, 60, 100, 10), black});
  page.add(TMetaClip{false, QRect()});
  page.add(TMetaFillRect{QRect(0, 90, 100, 10), black});
  const QImage image = replayed(page, QSize(100, 100));
  expectProbes(image,
               {{10, 10, kBlack},
                {70, 10, kWhite},
                {10, 65, kWhite},
                {70, 65, kBlack},
                {10, 95, kBlack},
                {90, 95, kBlack}},
               "clip");
}

TEST(MetaPageReplay, TextSitsAtItsAnchorForEveryAlignment) {
  struct Case {
    TTextAlign align;
    const char *name;
  };
  const int anchorX = 200;
  const int top = 30;
  for (const Case c : {Case{TTextAlign::Left, "left"}, Case{TTextAlign::Right, "right"},
                       Case{TTextAlign::Center, "center"}}) {
    TMetaPage page(QSize(400, 100), 96, 96);
    page.add(TMetaText{QPoint(anchorX, top), c.align, TFontSpec{QStringLiteral("Arial"), 20, true},
                       QStringLiteral("HHHHH")});
    for (const double scale : {1.0, 2.0}) {
      const QImage image = replayed(page, QSize(int(400 * scale), int(100 * scale)));
      const QRect ink = inkBox(image);
      ASSERT_FALSE(ink.isEmpty()) << c.name;
      const double anchor = anchorX * scale;
      const double slack = 3 * scale;
      if (c.align == TTextAlign::Left)
        EXPECT_NEAR(ink.left(), anchor, slack) << c.name << " x" << scale;
      else if (c.align == TTextAlign::Right)
        EXPECT_NEAR(ink.right() + 1, anchor, slack) << c.name << " x" << scale;
      else
        EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, anchor, slack) << c.name << " x" << scale;
      // "H" fills the cap height: its top is below the cell's top by the internal leading,
      // and the 20 pt cap height is about 0.72 x 26.7 px.
      EXPECT_GT(ink.top(), top * scale) << c.name;
      EXPECT_LT(ink.top(), (top + 10) * scale) << c.name;
      EXPECT_NEAR(ink.height(), 19 * scale, 2 * scale) << c.name;
    }
  }
}

// Runs of one line were placed one after another by their widths at the recording
// resolution; at any other scale each still ends where the next begins.
TEST(MetaPageReplay, TextKeepsTheWidthItWasLaidOutWith) {
  const TFontSpec italic{QStringLiteral("Arial"), 10, false, true};
  const TFontSpec upright{QStringLiteral("Arial"), 10};
  const QString first = QStringLiteral("Caf\u00e9 mornings");
  const QString second = QStringLiteral(" for families");
  // The recording measures a 10 pt font as 13 pixels at 96 dpi, as the layout did.
  QImage device(1, 1, QImage::Format_RGB32);
  device.setDotsPerMeterX(3780);
  device.setDotsPerMeterY(3780);
  QFont measured(QStringLiteral("Arial"));
  measured.setPixelSize(13);
  measured.setItalic(true);
  measured.setKerning(false);
  measured.setHintingPreference(QFont::PreferFullHinting);
  const double firstWidth = QFontMetricsF(measured, &device).horizontalAdvance(first);
  const int x = 20;
  const int split = x + static_cast<int>(std::lround(firstWidth));
  TMetaPage runs(QSize(300, 40), 96, 96);
  runs.add(TMetaText{QPoint(x, 10), TTextAlign::Left, italic, first});
  runs.add(TMetaText{QPoint(split, 10), TTextAlign::Left, upright, second});
  TMetaPage right(QSize(300, 40), 96, 96);
  right.add(TMetaText{QPoint(split, 10), TTextAlign::Right, italic, first});
  for (const double scale : {1.0, 3.0, 12.5}) {
    SCOPED_TRACE(scale);
    const QSize size(int(300 * scale), int(40 * scale));
    const QImage image = replayed(runs, size);
    // The blank of " for" stays a gap between the runs' ink.
    const QRect before = inkBox(image.copy(0, 0, int(split * scale), size.height()));
    int gapEnd = int(split * scale);
    while (gapEnd < size.width() && inkBox(image.copy(gapEnd, 0, 1, size.height())).isEmpty())
      ++gapEnd;
    const double blank = 3.6 * scale; // a 13-pixel blank is 3.6 px wide
    EXPECT_GT(gapEnd - (before.right() + 1), 0.5 * blank) << "the runs run into each other";
    EXPECT_LT(before.right() + 1, split * scale + 1) << "the first run overruns its width";
    // Right-aligned text ends at its anchor and starts where the laid-out width says.
    const QRect ink = inkBox(replayed(right, size));
    EXPECT_NEAR(ink.right() + 1, split * scale, 2 * scale);
    EXPECT_NEAR(ink.left(), x * scale, 2 * scale);
  }
}

TEST(MetaPageReplay, ImagesAndPicturesFillTheirTargets) {
  QImage red(4, 4, QImage::Format_RGB32);
  red.fill(qRgb(255, 0, 0));
  TMetaPage page(QSize(100, 100), 96, 96);
  page.add(TMetaImage{QRect(10, 10, 20, 20), red});
  page.add(TMetaPicture{QRect(50, 50, 40, 40),
                        "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'>"
                        "<rect width='10' height='10' fill='#00ff00'/></svg>"});
  page.add(TMetaPicture{QRect(0, 80, 10, 10), "not svg"});
  const QImage image = replayed(page, QSize(100, 100));
  expectProbes(image,
               {{10, 10, 0xFFFF0000},
                {29, 29, 0xFFFF0000},
                {31, 31, kWhite},
                {51, 51, 0xFF00FF00},
                {88, 88, 0xFF00FF00},
                {45, 45, kWhite},
                {5, 85, kWhite}},
               "pictures");
}

TEST(MetaPageReplay, TargetOffsetMovesTheWholePage) {
  TMetaPage page(QSize(100, 100), 96, 96);
  page.add(TMetaFillRect{QRect(0, 0, 10, 10), TBrushSpec{kBlack, true}});
  QImage image(300, 300, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    page.replay(painter, QRectF(100, 50, 100, 100));
  }
  EXPECT_EQ(inkBox(image), QRect(100, 50, 10, 10));
}

// Words are drawn from glyphs shaped once; at the recording's own size they must come out as
// the painter's drawText sets them, underline and strike-out included.
TEST(MetaPageReplay, WordsComeOutAsThePainterSetsThem) {
  const QString text = QStringLiteral("Caf\u00e9 fees \u2013 $1,234.50");
  const TFontSpec cases[] = {{QStringLiteral("Arial"), 10},
                             {QStringLiteral("Arial"), 10, true},
                             {QStringLiteral("Times New Roman"), 12, false, true},
                             {QStringLiteral("Arial"), 10, false, false, true},
                             {QStringLiteral("Arial"), 10, false, false, false, true}};
  for (const TFontSpec &spec : cases) {
    SCOPED_TRACE(spec.family.toStdString() + (spec.bold ? " bold" : "") +
                 (spec.italic ? " italic" : "") + (spec.underline ? " underline" : "") +
                 (spec.strikeOut ? " strike-out" : ""));
    TMetaPage page(QSize(300, 40), 96, 96);
    page.add(TMetaText{QPoint(10, 10), TTextAlign::Left, spec, text});
    const QImage drawn = replayed(page, QSize(300, 40));
    QImage expected(300, 40, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
      QPainter painter(&expected);
      QFont font(spec.family);
      font.setPixelSize(static_cast<int>(std::lround(spec.pointSize * 96 / 72.0)));
      font.setBold(spec.bold);
      font.setItalic(spec.italic);
      font.setUnderline(spec.underline);
      font.setStrikeOut(spec.strikeOut);
      font.setKerning(false);
      font.setHintingPreference(QFont::PreferFullHinting);
      painter.setFont(font);
      painter.setPen(Qt::black);
      painter.drawText(QPointF(10, 10 + QFontMetricsF(font, &expected).ascent()), text);
    }
    ASSERT_FALSE(inkBox(expected).isEmpty());
    EXPECT_TRUE(drawn == expected)
        << "ink " << inkBox(drawn).x() << "," << inkBox(drawn).y() << " " << inkBox(drawn).width()
        << "x" << inkBox(drawn).height() << " against " << inkBox(expected).x() << ","
        << inkBox(expected).y() << " " << inkBox(expected).width() << "x"
        << inkBox(expected).height();
  }
}

// The fonts and shaped words a cache keeps from earlier pages must never show through on a
// page that differs from them in font, recording resolution or target size, nor once the
// cache has started afresh.
TEST(MetaPageReplay, ASharedCacheDrawsEveryPageAsAFreshReplayDoes) {
  const TFontSpec plain{QStringLiteral("Arial"), 10};
  const TFontSpec bold{QStringLiteral("Arial"), 10, true};
  const TFontSpec underlined{QStringLiteral("Arial"), 10, false, false, true};
  const TFontSpec serif{QStringLiteral("Times New Roman"), 12};
  auto invoicePage = [&](int dpi) {
    const double k = dpi / 96.0;
    TMetaPage page(QSize(int(300 * k), int(80 * k)), dpi, dpi);
    const auto at = [k](int x, int y) { return QPoint(int(x * k), int(y * k)); };
    page.add(TMetaText{at(10, 5), TTextAlign::Left, plain, QStringLiteral("Please pay $1,234.50")});
    page.add(TMetaText{at(10, 25), TTextAlign::Left, bold, QStringLiteral("Please pay $1,234.50")});
    page.add(TMetaText{at(290, 45), TTextAlign::Right, underlined,
                       QStringLiteral("Please pay $1,234.50")});
    page.add(TMetaText{at(150, 62), TTextAlign::Center, serif, QStringLiteral("Due 14/12/2026")});
    return page;
  };
  // More words than the cache keeps, so that it starts afresh between pages.
  TMetaPage crowded(QSize(1000, 1000), 96, 96);
  const TFontSpec small{QStringLiteral("Arial"), 4};
  for (int i = 0; i < 5000; ++i)
    crowded.add(TMetaText{QPoint(5 + (i % 50) * 20, 5 + (i / 50) * 10), TTextAlign::Left, small,
                          QString::number(i)});
  const TMetaPage screen = invoicePage(96), printer = invoicePage(300);
  struct Step {
    const TMetaPage *page;
    QSize size;
    const char *what;
  };
  const Step steps[] = {{&screen, {300, 80}, "screen page"},
                        {&printer, {300, 80}, "recorded at 300 dpi"},
                        {&screen, {900, 240}, "three times the size"},
                        {&crowded, {1000, 1000}, "more words than are kept"},
                        {&screen, {300, 80}, "after the cache started afresh"},
                        {&printer, {1250, 333}, "printer page enlarged"}};
  TReplayCache cache;
  for (const Step &step : steps) {
    SCOPED_TRACE(step.what);
    const QImage fresh = replayed(*step.page, step.size);
    ASSERT_FALSE(inkBox(fresh).isEmpty());
    EXPECT_TRUE(replayed(*step.page, step.size, &cache) == fresh);
  }
}

} // namespace
} // namespace TDInvoice::Report
