// The formatter's contract: character positions, whole lines, continuation from the returned
// position, measuring without drawing, plain text, resolutions.
#include "RichTextTestSupport.h"

#include "report/richtext/RtfFormatter.h"

namespace TDInvoice::Report {
namespace {

using Testing::metricsFor;
using Testing::pageCanvas;
using Testing::textsOf;

TFontSpec arial(double points = 10) {
  TFontSpec spec;
  spec.family = QStringLiteral("Arial");
  spec.pointSize = points;
  return spec;
}

QByteArray rtfBody(const QByteArray &body) {
  return QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
                    "{\\colortbl ;\\red255\\green0\\blue0;}\\pard\\f0\\fs20 ") +
         body + "}";
}

// A message with several paragraphs, fonts, a tab stop and a line break.
const QByteArray kMessage = rtfBody(
    "Dear families, the centre will be closed on the public holiday. {\\b Please note} that fees "
    "are still charged for booked days, as the {\\i Child Care Benefit} rules require.\\par "
    "\\tx2000 Term\\tab Dates\\par Autumn\\tab 28 January to 12 April\\par "
    "{\\fs28 Enrolments} for next year open soon.\\line Ask at the office for a form, or "
    "download it from the website.\\par\\qc Thank you for your support!\\par\\pard\\sa120 "
    "Accounts overdue by more than two weeks may be referred for collection. Payment plans are "
    "available on request; speak to the director.");

// Drawn texts of everything from start that fits into rect; returns the next position.
int drawInto(TRtfFormatter &formatter, const QRect &rect, int start, QStringList &drawn) {
  TRecordingCanvas canvas = pageCanvas();
  const int next = formatter.format(canvas, rect, start, true);
  for (const TMetaText &text : textsOf(canvas))
    drawn.append(text.text);
  return next;
}

QString withoutSpaces(QString text) {
  text.remove(QRegularExpression(QStringLiteral("[\\s\u2028]")));
  return text;
}

TEST(RtfFormatter, PositionsCountParagraphMarksBetweenParagraphs) {
  TRtfFormatter formatter;
  formatter.setContent(rtfBody("a\\par b\\par c"), arial(), TTextAlign::Left);
  ASSERT_EQ(formatter.textLength(), 5);
  TRecordingCanvas canvas = pageCanvas();
  const int line = metricsFor(canvas, arial()).height();
  struct Case {
    int height;
    int start;
    int expected;
  };
  const Case cases[] = {
      {2 * line, 0, 4}, {2 * line - 1, 0, 2}, {2 * line, 4, 5},
      {line - 1, 0, 0}, {3 * line, 0, 5},     {line, 2, 4},
      {line, 5, 5},     {line, 99, 5},        {10 * line, -3, 5},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "height " << c.height << " start " << c.start);
    EXPECT_EQ(formatter.format(canvas, QRect(10, 10, 300, c.height), c.start, false), c.expected);
  }
}

TEST(RtfFormatter, ContinuingFromTheReturnedPositionNeitherLosesNorRepeats) {
  TRtfFormatter formatter;
  formatter.setContent(kMessage, arial(), TTextAlign::Left);
  QStringList whole;
  ASSERT_EQ(drawInto(formatter, QRect(20, 20, 300, 2000), 0, whole), formatter.textLength());
  // Independent of the layout: every visible character of the document is drawn once.
  EXPECT_EQ(withoutSpaces(whole.join(QString())),
            withoutSpaces(formatter.document().visibleText()));
  for (int height : {1, 15, 16, 31, 40, 57, 80, 119, 140}) {
    SCOPED_TRACE(height);
    QStringList first, second;
    const int next = drawInto(formatter, QRect(20, 20, 300, height), 0, first);
    ASSERT_LT(next, formatter.textLength());
    EXPECT_EQ(drawInto(formatter, QRect(50, 400, 300, 2000), next, second), formatter.textLength());
    EXPECT_EQ(first + second, whole);
  }
}

TEST(RtfFormatter, PagesOfOneBoxHeightCoverTheMessageOnce) {
  TRtfFormatter formatter;
  formatter.setContent(kMessage, arial(), TTextAlign::Left);
  QStringList whole;
  drawInto(formatter, QRect(0, 0, 220, 5000), 0, whole);
  QStringList paged;
  int position = 0, pages = 0;
  while (position < formatter.textLength() && pages < 100) {
    const int next = drawInto(formatter, QRect(0, 0, 220, 50), position, paged);
    ASSERT_GT(next, position);
    position = next;
    ++pages;
  }
  EXPECT_GT(pages, 3);
  EXPECT_EQ(paged, whole);
}

TEST(RtfFormatter, MeasuringReturnsWhatDrawingReturns) {
  TRtfFormatter formatter;
  formatter.setContent(kMessage, arial(), TTextAlign::Left);
  TRecordingCanvas canvas = pageCanvas();
  for (int width : {40, 150, 300, 520}) {
    for (int height : {0, 14, 33, 100, 400}) {
      for (int start : {0, 37}) {
        SCOPED_TRACE(testing::Message() << width << "x" << height << " from " << start);
        const QRect rect(5, 5, width, height);
        const int measured = formatter.format(canvas, rect, start, false);
        EXPECT_EQ(formatter.format(canvas, rect, start, true), measured);
      }
    }
  }
  TRecordingCanvas untouched = pageCanvas();
  formatter.format(untouched, QRect(0, 0, 300, 300), 0, false);
  EXPECT_TRUE(untouched.page().elements().empty());
}

TEST(RtfFormatter, DrawsNothingWhenNothingFitsOrNothingIsLeft) {
  struct Case {
    const char *name;
    QByteArray content;
    QRect rect;
    int start;
    int expected; // -1: the text length
  };
  const Case cases[] = {
      {"empty plain text", "", QRect(0, 0, 200, 200), 0, 0},
      {"empty rich text", "{\\rtf1}", QRect(0, 0, 200, 200), 0, 0},
      {"box lower than a line", rtfBody("text"), QRect(0, 0, 200, 5), 0, 0},
      {"start past the end", rtfBody("text"), QRect(0, 0, 200, 200), 10, -1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TRtfFormatter formatter;
    formatter.setContent(c.content, arial(), TTextAlign::Left);
    TRecordingCanvas canvas = pageCanvas();
    const int expected = c.expected < 0 ? formatter.textLength() : c.expected;
    EXPECT_EQ(formatter.format(canvas, c.rect, c.start, true), expected);
    EXPECT_TRUE(canvas.page().elements().empty());
  }
}

TEST(RtfFormatter, SurrogatePairsAreNeverSplit) {
  TRtfFormatter formatter;
  formatter.setContent(Testing::readSharedFile("corpus/rtf/rtf.js_pile-of-poo_source.rtf"), arial(),
                       TTextAlign::Left);
  ASSERT_EQ(formatter.textLength(), 23);
  TRecordingCanvas canvas = pageCanvas();
  for (int width : {1, 8, 12, 20, 35}) {
    SCOPED_TRACE(width);
    for (int height = 1; height < 600; height += 3) {
      const int next = formatter.format(canvas, QRect(0, 0, width, height), 0, false);
      EXPECT_NE(next, 22);
    }
    QStringList drawn;
    drawInto(formatter, QRect(0, 0, width, 3000), 0, drawn);
    for (const QString &text : drawn) {
      EXPECT_FALSE(text.front().isLowSurrogate());
      EXPECT_FALSE(text.back().isHighSurrogate());
    }
    EXPECT_EQ(drawn.join(QString()), formatter.document().visibleText());
  }
}

TEST(RtfFormatter, PlainTextUsesTheDefaultFontAndAlignment) {
  TRtfFormatter formatter;
  TFontSpec font = arial(10);
  font.bold = true;
  font.color = qRgb(0, 0, 200);
  formatter.setContent(QByteArray("Caf\xe9 open\r\nsecond line"), font, TTextAlign::Right);
  EXPECT_EQ(formatter.textLength(), 21);
  TRecordingCanvas canvas = pageCanvas();
  const QRect box(30, 40, 300, 200);
  EXPECT_EQ(formatter.format(canvas, box, 0, true), 21);
  const QList<TMetaText> texts = textsOf(canvas);
  ASSERT_EQ(texts.size(), 2);
  const QFontMetrics metrics = metricsFor(canvas, font);
  const QStringList expected = {QString::fromUtf16(u"Café open"), "second line"};
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(texts[i].text, expected[i]);
    EXPECT_EQ(texts[i].font, font);
    EXPECT_NEAR(texts[i].anchor.x() + metrics.horizontalAdvance(expected[i]), box.right() + 1, 1);
    EXPECT_EQ(texts[i].anchor.y(), box.top() + i * metrics.height());
  }
}

TEST(RtfFormatter, RichTextRunsCarryTheirFormatting) {
  TRtfFormatter formatter;
  TFontSpec defaults = arial(10);
  defaults.color = qRgb(10, 20, 30);
  formatter.setContent(rtfBody("{\\b b}{\\i i}{\\ul u}{\\strike s}{\\cf1 r}{\\fs30 big}a"),
                       defaults, TTextAlign::Left);
  TRecordingCanvas canvas = pageCanvas();
  formatter.format(canvas, QRect(0, 0, 400, 100), 0, true);
  const QList<TMetaText> texts = textsOf(canvas);
  ASSERT_EQ(texts.size(), 7);
  auto spec = [&](auto change) {
    TFontSpec s = arial(10);
    s.color = defaults.color;
    change(s);
    return s;
  };
  EXPECT_EQ(texts[0].font, spec([](TFontSpec &s) { s.bold = true; }));
  EXPECT_EQ(texts[1].font, spec([](TFontSpec &s) { s.italic = true; }));
  EXPECT_EQ(texts[2].font, spec([](TFontSpec &s) { s.underline = true; }));
  EXPECT_EQ(texts[3].font, spec([](TFontSpec &s) { s.strikeOut = true; }));
  EXPECT_EQ(texts[4].font, spec([](TFontSpec &s) { s.color = qRgb(255, 0, 0); }));
  EXPECT_EQ(texts[5].font, spec([](TFontSpec &s) { s.pointSize = 15; }));
  EXPECT_EQ(texts[6].font, spec([](TFontSpec &) {}));
  // Runs follow each other by their measured widths.
  for (int i = 1; i < texts.size(); ++i) {
    const int width = metricsFor(canvas, texts[i - 1].font).horizontalAdvance(texts[i - 1].text);
    EXPECT_NEAR(texts[i].anchor.x(), texts[i - 1].anchor.x() + width, 1);
  }
}

TEST(RtfFormatter, NewContentReplacesTheOld) {
  struct Step {
    QByteArray content;
    TFontSpec font;
    TTextAlign align;
    const char *drawn;
  };
  TFontSpec bold = arial();
  bold.bold = true;
  const Step steps[] = {
      {"first text", arial(), TTextAlign::Left, "first text"},
      {"first text", arial(), TTextAlign::Left, "first text"},
      {"first text", bold, TTextAlign::Left, "first text"},
      {"first text", bold, TTextAlign::Right, "first text"},
      {rtfBody("second"), bold, TTextAlign::Right, "second"},
      {"", arial(), TTextAlign::Left, nullptr},
  };
  TRtfFormatter formatter;
  for (const Step &step : steps) {
    SCOPED_TRACE(step.content.toStdString());
    formatter.setContent(step.content, step.font, step.align);
    TRecordingCanvas canvas = pageCanvas();
    const QRect box(0, 0, 400, 100);
    EXPECT_EQ(formatter.format(canvas, box, 0, true), formatter.textLength());
    const QList<TMetaText> texts = textsOf(canvas);
    if (!step.drawn) {
      EXPECT_TRUE(texts.isEmpty());
      continue;
    }
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts[0].text, step.drawn);
    EXPECT_EQ(formatter.textLength(), texts[0].text.size());
    if (!step.content.startsWith("{")) {
      EXPECT_EQ(texts[0].font, step.font);
      const int right =
          texts[0].anchor.x() + metricsFor(canvas, step.font).horizontalAdvance(texts[0].text);
      if (step.align == TTextAlign::Right)
        EXPECT_NEAR(right, 400, 1);
      else
        EXPECT_EQ(texts[0].anchor.x(), 0);
    }
  }
}

TEST(RtfFormatter, LeavesTheCanvasStateAsItWas) {
  TRtfFormatter formatter;
  formatter.setContent(rtfBody("{\\b\\highlight1 marked} text"), arial(), TTextAlign::Left);
  TRecordingCanvas canvas = pageCanvas();
  canvas.Font = arial(31);
  canvas.Brush = TBrushSpec{qRgb(1, 2, 3), false};
  formatter.format(canvas, QRect(0, 0, 400, 100), 0, true);
  EXPECT_EQ(canvas.Font, arial(31));
  EXPECT_EQ(canvas.Brush, (TBrushSpec{qRgb(1, 2, 3), false}));
}

TEST(RtfFormatter, ResultsDoNotDependOnAnEarlierResolution) {
  struct Result {
    int next;
    QList<TMetaText> texts;
  };
  auto run = [](TRtfFormatter &formatter, int dpi) {
    TRecordingCanvas canvas = pageCanvas(dpi);
    const QRect box(0, 0, 135 * dpi / 25, 60 * dpi / 25);
    const int next = formatter.format(canvas, box, 0, true);
    return Result{next, textsOf(canvas)};
  };
  TRtfFormatter fresh;
  fresh.setContent(kMessage, arial(), TTextAlign::Left);
  const Result at600 = run(fresh, 600);
  TRtfFormatter reused;
  reused.setContent(kMessage, arial(), TTextAlign::Left);
  const Result at96 = run(reused, 96);
  const Result again600 = run(reused, 600);
  EXPECT_EQ(again600.next, at600.next);
  EXPECT_EQ(again600.texts, at600.texts);
  EXPECT_EQ(run(reused, 96).texts, at96.texts);
  reused.releaseCache();
  EXPECT_EQ(run(reused, 600).texts, at600.texts);
}

} // namespace
} // namespace TDInvoice::Report
