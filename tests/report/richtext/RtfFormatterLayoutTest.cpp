// Geometry of laid-out text: word wrap, tab stops, indents, alignment, spacing, scripts.
// Expected positions come from QFontMetrics and the twip conversion at 96 dpi.
#include "RichTextTestSupport.h"

#include "report/richtext/RtfFormatter.h"

#include <cmath>

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
                    "{\\colortbl ;\\red255\\green255\\blue0;}\\pard\\f0\\fs20 ") +
         body + "}";
}

double twipsAt96(double twips) { return twips * 96 / 1440; }

class RtfLayout : public testing::Test {
protected:
  void SetUp() override { Testing::requireLiberationArial(); }

  QList<TMetaText> draw(const QByteArray &content, const QRect &box,
                        TTextAlign align = TTextAlign::Left) {
    TRtfFormatter formatter;
    formatter.setContent(content, arial(), align);
    canvas_ = std::make_unique<TRecordingCanvas>(pageCanvas());
    formatter.format(*canvas_, box, 0, true);
    return textsOf(*canvas_);
  }
  const TMetaText &find(const QList<TMetaText> &texts, const QString &text) {
    for (const TMetaText &t : texts)
      if (t.text == text)
        return t;
    ADD_FAILURE() << "no run " << text.toStdString();
    static const TMetaText none;
    return none;
  }
  int advance(const QString &text, const TFontSpec &spec = arial()) {
    return metricsFor(*canvas_, spec).horizontalAdvance(text);
  }
  int lineHeight(const TFontSpec &spec = arial()) { return metricsFor(*canvas_, spec).height(); }

  std::unique_ptr<TRecordingCanvas> canvas_;
};

// The lines a greedy word wrap gives when each line is measured as a whole.
QStringList expectedLines(const QString &text, const QFontMetrics &metrics, int width) {
  QStringList lines;
  QString line;
  for (const QString &word : text.split(QLatin1Char(' '))) {
    const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
    if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
      lines.append(line);
      line = word;
    } else {
      line = candidate;
    }
  }
  lines.append(line);
  return lines;
}

const QString kWords = QStringLiteral(
    "The quick brown box jumps over the lazy dog and keeps running around the garden until "
    "evening comes and the children go home with their parents");

TEST_F(RtfLayout, WrapsAtTheWidthQFontMetricsGives) {
  for (int width : {120, 151, 196, 234, 300, 513}) {
    SCOPED_TRACE(width);
    const QRect box(40, 60, width, 1000);
    const QList<TMetaText> texts = draw(kWords.toLatin1(), box);
    const QStringList lines = expectedLines(kWords, metricsFor(*canvas_, arial()), width);
    ASSERT_EQ(texts.size(), lines.size());
    for (int i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(texts[i].text, lines[i]);
      EXPECT_EQ(texts[i].anchor, QPoint(box.left(), box.top() + i * lineHeight()));
    }
  }
}

TEST_F(RtfLayout, RightIndentNarrowsTheWrapAndLeftIndentMovesTheText) {
  const QRect box(0, 0, 300, 1000);
  const QList<TMetaText> texts = draw(rtfBody("\\li720\\ri1440 " + kWords.toLatin1()), box);
  const int width = 300 - qRound(twipsAt96(720)) - qRound(twipsAt96(1440));
  const QStringList lines = expectedLines(kWords, metricsFor(*canvas_, arial()), width);
  ASSERT_EQ(texts.size(), lines.size());
  for (int i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(texts[i].text, lines[i]);
    EXPECT_EQ(texts[i].anchor.x(), qRound(twipsAt96(720)));
  }
}

TEST_F(RtfLayout, AWordWiderThanTheBoxIsCutBetweenCharacters) {
  const QList<TMetaText> texts = draw(rtfBody("Supercalifragilistic"), QRect(0, 0, 40, 1000));
  ASSERT_GT(texts.size(), 1);
  QString joined;
  for (const TMetaText &t : texts) {
    EXPECT_LE(advance(t.text), 40);
    joined += t.text;
  }
  EXPECT_EQ(joined, "Supercalifragilistic");
  // Each piece is as long as fits: one more character would not.
  for (int i = 0; i + 1 < texts.size(); ++i)
    EXPECT_GT(advance(texts[i].text + texts[i + 1].text.front()), 40);
}

TEST_F(RtfLayout, TabStopsOfEveryKind) {
  struct Case {
    const char *name;
    QByteArray body;
    const char *run;
    double twips;
    double anchor; // 0 left edge, 0.5 centre, 1 right edge of the run's text (or its "12")
  };
  const Case cases[] = {
      {"default stops every 720 twips", "a\\tab b", "b", 720, 0},
      {"deftab", "\\deftab1134 a\\tab b", "b", 1134, 0},
      {"left stop", "\\tx1000 a\\tab b", "b", 1000, 0},
      {"default stops after the last custom stop", "\\tx1000 a\\tab b\\tab c", "c", 1440, 0},
      {"right stop", "\\tqr\\tx2000 a\\tab 123", "123", 2000, 1},
      {"centre stop", "\\tqc\\tx2880 a\\tab middle", "middle", 2880, 0.5},
      {"decimal stop", "\\tqdec\\tx2880 a\\tab 12.50", "12.50", 2880, -1},
      {"stops count from the box edge, not the indent", "\\li500\\tx1000 a\\tab b", "b", 1000, 0},
      {"hanging indent stops at the indent", "\\fi-360\\li900 \\bullet\\tab Item", "Item", 900, 0},
      {"a stop already passed is skipped", "\\tx100\\tx1500 wide text\\tab b", "b", 1500, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QList<TMetaText> texts = draw(rtfBody(c.body), QRect(0, 0, 500, 200));
    const TMetaText &run = find(texts, QString::fromLatin1(c.run));
    const double stop = twipsAt96(c.twips);
    if (c.anchor < 0)
      EXPECT_NEAR(run.anchor.x() + advance("12"), stop, 1);
    else
      EXPECT_NEAR(run.anchor.x() + c.anchor * advance(run.text), stop, 1);
  }
}

TEST_F(RtfLayout, AlignmentWithinTheIndents) {
  struct Case {
    const char *body;
    TRichAlign align;
  };
  const QRect box(10, 0, 400, 200);
  const Case cases[] = {{"\\qr\\ri300 Right side", TRichAlign::Right},
                        {"\\qc\\li600 Centred text", TRichAlign::Center},
                        {"\\ql\\li600 Left text", TRichAlign::Left}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.body);
    const QList<TMetaText> texts = draw(rtfBody(c.body), box);
    ASSERT_EQ(texts.size(), 1);
    const int x = texts[0].anchor.x(), width = advance(texts[0].text);
    if (c.align == TRichAlign::Right)
      EXPECT_NEAR(x + width, box.left() + 400 - twipsAt96(300), 1);
    else if (c.align == TRichAlign::Center)
      EXPECT_NEAR(x + width / 2.0, box.left() + (twipsAt96(600) + 400) / 2, 1);
    else
      EXPECT_EQ(x, box.left() + qRound(twipsAt96(600)));
  }
}

TEST_F(RtfLayout, JustifiedLinesReachTheRightEdgeExceptTheLast) {
  const QRect box(0, 0, 250, 1000);
  const QList<TMetaText> texts = draw(rtfBody("\\qj " + kWords.toLatin1()), box);
  QMap<int, QList<TMetaText>> lines;
  for (const TMetaText &t : texts)
    lines[t.anchor.y()].append(t);
  ASSERT_GT(lines.size(), 2);
  const int lastTop = lines.lastKey();
  for (auto it = lines.cbegin(); it != lines.cend(); ++it) {
    const TMetaText &last = it.value().back();
    const int right = last.anchor.x() + advance(last.text);
    EXPECT_EQ(it.value().front().anchor.x(), 0);
    if (it.key() == lastTop)
      EXPECT_LT(right, 240);
    else
      EXPECT_NEAR(right, 250, 1);
  }
}

TEST_F(RtfLayout, ParagraphSpacingAndLineSpacing) {
  struct Case {
    const char *name;
    QByteArray body;
    int expectedPitch; // distance from "a" to "b"; -1: one natural line
  };
  const int natural = [] {
    TRecordingCanvas canvas = pageCanvas();
    return metricsFor(canvas, arial()).height();
  }();
  const Case cases[] = {
      {"single", "a\\par b", natural},
      {"space before", "a\\par\\sb240 b", natural + qRound(twipsAt96(240))},
      {"space after", "\\sa480 a\\par\\pard b", natural + qRound(twipsAt96(480))},
      {"exactly", "\\sl-300 a\\line b", qRound(twipsAt96(300))},
      {"at least, more than natural", "\\sl600 a\\line b", qRound(twipsAt96(600))},
      {"at least, less than natural", "\\sl20 a\\line b", natural},
      {"double", "\\sl480\\slmult1 a\\line b", 2 * natural},
      {"115 %", "\\sl276\\slmult1 a\\line b", static_cast<int>(std::lround(natural * 1.15))},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QList<TMetaText> texts = draw(rtfBody(c.body), QRect(0, 0, 300, 300));
    EXPECT_EQ(find(texts, "b").anchor.y() - find(texts, "a").anchor.y(), c.expectedPitch);
  }
}

TEST_F(RtfLayout, SuperAndSubscriptsAreSmallerAndShifted) {
  const QList<TMetaText> texts =
      draw(rtfBody("x{\\super 2}{\\sub 3}\\fs24 y"), QRect(0, 0, 300, 300));
  const TMetaText &base = find(texts, "x");
  const TMetaText &super = find(texts, "2");
  const TMetaText &sub = find(texts, "3");
  EXPECT_NEAR(super.font.pointSize, 6.667, 0.001);
  TFontSpec small = arial(super.font.pointSize);
  EXPECT_EQ(super.font, small);
  EXPECT_EQ(sub.font, small);
  const int baseline = base.anchor.y() + metricsFor(*canvas_, arial()).ascent();
  const int smallAscent = metricsFor(*canvas_, small).ascent();
  EXPECT_EQ(super.anchor.y() + smallAscent, baseline - qRound(10 / 3.0 * 96 / 72));
  EXPECT_EQ(sub.anchor.y() + smallAscent, baseline + qRound(10 / 6.0 * 96 / 72));
  // The baseline is shared with the larger text after the scripts.
  EXPECT_EQ(find(texts, "y").anchor.y() + metricsFor(*canvas_, arial(12)).ascent(), baseline);
}

TEST_F(RtfLayout, HighlightIsFilledBehindItsText) {
  const QList<TMetaText> texts = draw(rtfBody("a{\\highlight1 marked}b"), QRect(0, 0, 300, 300));
  std::optional<TMetaFillRect> fill;
  for (const TMetaElement &element : canvas_->page().elements()) {
    if (const auto *f = std::get_if<TMetaFillRect>(&element))
      fill = *f;
    if (const auto *t = std::get_if<TMetaText>(&element); t && t->text == "marked")
      break; // the fill comes before its text
  }
  ASSERT_TRUE(fill.has_value());
  const TMetaText &marked = find(texts, "marked");
  EXPECT_EQ(fill->brush, (TBrushSpec{qRgb(255, 255, 0), true}));
  EXPECT_EQ(fill->rect.left(), marked.anchor.x());
  EXPECT_NEAR(fill->rect.width(), advance("marked"), 1);
  EXPECT_EQ(fill->rect.top(), marked.anchor.y());
  EXPECT_EQ(fill->rect.height(), lineHeight());
}

TEST_F(RtfLayout, HiddenTextTakesNoRoom) {
  const QList<TMetaText> texts = draw(rtfBody("ab{\\v secret}cd"), QRect(0, 0, 300, 300));
  ASSERT_EQ(texts.size(), 2);
  EXPECT_EQ(texts[0].text, "ab");
  EXPECT_EQ(texts[1].text, "cd");
  EXPECT_NEAR(texts[1].anchor.x(), advance("ab"), 1);
}

TEST_F(RtfLayout, LineBreakStartsALineWithoutIndent) {
  const QList<TMetaText> texts =
      draw(rtfBody("\\li360\\fi360 first\\line second\\par third"), QRect(0, 0, 300, 300));
  EXPECT_EQ(find(texts, "first").anchor.x(), qRound(twipsAt96(720)));
  EXPECT_EQ(find(texts, "second").anchor.x(), qRound(twipsAt96(360)));
  EXPECT_EQ(find(texts, "second").anchor.y(), lineHeight());
  EXPECT_EQ(find(texts, "third").anchor.x(), qRound(twipsAt96(720)));
}

} // namespace
} // namespace TDInvoice::Report
