// The reader's character and paragraph state: groups, \plain, \pard, units, tables.
#include "RichTextTestSupport.h"

namespace TDInvoice::Report {
namespace {

using Testing::readBody;
using Testing::readRtf;

// Format of the first occurrence of text in the document.
const TRichCharFormat &formatOf(const TRichTextDocument &document, const QString &text) {
  for (int p = 0; p < document.paragraphs.size(); ++p) {
    const qsizetype at = document.paragraphs[p].text.indexOf(text);
    if (at >= 0)
      return document.formatAt(p, static_cast<int>(at));
  }
  ADD_FAILURE() << "no " << text.toStdString();
  static const TRichCharFormat none;
  return none;
}

TEST(RtfReaderState, CharacterProperties) {
  struct Case {
    const char *name;
    QByteArray body;
    const char *text;
    bool (*check)(const TRichCharFormat &);
  };
  const Case cases[] = {
      {"group restores bold", "{\\b bold} plain", "plain",
       [](const TRichCharFormat &f) { return !f.bold; }},
      {"bold inside its group", "{\\b bold} plain", "bold",
       [](const TRichCharFormat &f) { return f.bold; }},
      {"b0 turns bold off", "\\b x\\b0 y", "y", [](const TRichCharFormat &f) { return !f.bold; }},
      {"plain resets to 12 pt default font", "\\b\\i\\f2\\fs40 x\\plain y", "y",
       [](const TRichCharFormat &f) {
         return !f.bold && !f.italic && f.pointSize == 12 && f.family == "Arial";
       }},
      {"pard keeps character properties", "\\b x\\par\\pard y", "y",
       [](const TRichCharFormat &f) { return f.bold; }},
      {"odd half-points", "\\fs17 x", "x",
       [](const TRichCharFormat &f) { return f.pointSize == 8.5; }},
      {"default size", "x", "x", [](const TRichCharFormat &f) { return f.pointSize == 12; }},
      {"colour from the table", "\\cf1 r\\cf0 a", "r",
       [](const TRichCharFormat &f) { return f.color == qRgb(255, 0, 0); }},
      {"colour 0 is auto", "\\cf1 r\\cf0 a", "a",
       [](const TRichCharFormat &f) { return !f.color; }},
      {"colour past the table is auto", "\\cf9 z", "z",
       [](const TRichCharFormat &f) { return !f.color; }},
      {"highlight", "\\highlight2 h", "h",
       [](const TRichCharFormat &f) { return f.background == qRgb(0, 0, 255); }},
      {"highlight 0 is none", "\\highlight0 h", "h",
       [](const TRichCharFormat &f) { return !f.background; }},
      {"underline and ulnone", "\\ul u\\ulnone n", "n",
       [](const TRichCharFormat &f) { return !f.underline; }},
      {"double underline prints single", "\\uldb u", "u",
       [](const TRichCharFormat &f) { return f.underline; }},
      {"ul0", "\\ul u\\ul0 n", "n", [](const TRichCharFormat &f) { return !f.underline; }},
      {"strike", "\\strike s", "s", [](const TRichCharFormat &f) { return f.strikeOut; }},
      {"italic", "\\i s", "s", [](const TRichCharFormat &f) { return f.italic; }},
      {"superscript", "\\super 2", "2",
       [](const TRichCharFormat &f) { return f.verticalAlign == TRichVerticalAlign::Superscript; }},
      {"subscript", "\\sub 2", "2",
       [](const TRichCharFormat &f) { return f.verticalAlign == TRichVerticalAlign::Subscript; }},
      {"nosupersub", "\\super 2\\nosupersub n", "n",
       [](const TRichCharFormat &f) { return f.verticalAlign == TRichVerticalAlign::Normal; }},
      {"up in half-points", "\\up6 u", "u",
       [](const TRichCharFormat &f) { return f.baselineShift == 6; }},
      {"dn in half-points", "\\dn4 d", "d",
       [](const TRichCharFormat &f) { return f.baselineShift == -4; }},
      {"hidden", "\\v h", "h", [](const TRichCharFormat &f) { return f.hidden; }},
      {"charset suffix dropped from the family", "\\f2 x", "x",
       [](const TRichCharFormat &f) { return f.family == "Arial"; }},
      {"font without a number falls back", "\\f x", "x",
       [](const TRichCharFormat &f) { return f.family == "Arial"; }},
      {"family of a code-page font", "\\f5 x", "x",
       [](const TRichCharFormat &f) { return f.family == "Greek Face"; }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(c.check(formatOf(readBody(c.body), QString::fromLatin1(c.text))));
  }
}

TEST(RtfReaderState, ParagraphPropertiesBelongToTheWholeParagraph) {
  const TRichTextDocument document =
      readBody("\\qc\\li720\\ri360\\fi-180\\sb120\\sa240\\tx1000 a\\par\\pard b\\par a\\qr b\\par");
  ASSERT_EQ(document.paragraphs.size(), 3);
  const TRichParagraphFormat &first = document.paragraphs[0].format;
  EXPECT_EQ(first.align, TRichAlign::Center);
  EXPECT_EQ(first.leftIndent, 720);
  EXPECT_EQ(first.rightIndent, 360);
  EXPECT_EQ(first.firstIndent, -180);
  EXPECT_EQ(first.spaceBefore, 120);
  EXPECT_EQ(first.spaceAfter, 240);
  EXPECT_EQ(first.tabs, (QList<TRichTabStop>{{1000, TRichTabKind::Left}}));
  // \pard resets everything, tab stops included.
  EXPECT_EQ(document.paragraphs[1].format, TRichParagraphFormat());
  // A word in the middle of a paragraph applies to all of it.
  EXPECT_EQ(document.paragraphs[2].text, "ab");
  EXPECT_EQ(document.paragraphs[2].format.align, TRichAlign::Right);
  // Word's direction-relative indents, for left-to-right text.
  const TRichTextDocument relative = readBody("\\lin300\\rin200 x");
  EXPECT_EQ(relative.paragraphs[0].format.leftIndent, 300);
  EXPECT_EQ(relative.paragraphs[0].format.rightIndent, 200);
}

TEST(RtfReaderState, TabStopsBindTheirKindToTheNextPosition) {
  const TRichTextDocument document =
      readBody("\\tx3000\\tqr\\tx2000\\tqc\\tldot\\tx500\\tqdec\\tx4000\\tb4500\\tx5000 a");
  ASSERT_EQ(document.paragraphs.size(), 1);
  const QList<TRichTabStop> expected = {{500, TRichTabKind::Center},
                                        {2000, TRichTabKind::Right},
                                        {3000, TRichTabKind::Left},
                                        {4000, TRichTabKind::Decimal},
                                        {5000, TRichTabKind::Left}};
  EXPECT_EQ(document.paragraphs[0].format.tabs, expected);
}

TEST(RtfReaderState, LineSpacingAndDefaultTab) {
  struct Case {
    QByteArray body;
    int lineSpacing;
    bool multiple;
  };
  const Case cases[] = {
      {"\\sl276\\slmult1 x", 276, true},
      {"\\sl-300\\slmult0 x", -300, false},
      {"\\sl300\\slmult0 x", 300, false},
      {"\\sl300 x", 300, false},
      {"x", 0, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.body.toStdString());
    const TRichTextDocument document = readBody(c.body);
    ASSERT_EQ(document.paragraphs.size(), 1);
    EXPECT_EQ(document.paragraphs[0].format.lineSpacing, c.lineSpacing);
    EXPECT_EQ(document.paragraphs[0].format.lineSpacingMultiple, c.multiple);
  }
  EXPECT_EQ(readBody("x").defaultTab, 720);
  EXPECT_EQ(readBody("\\deftab1134 x").defaultTab, 1134);
}

TEST(RtfReaderState, FontTables) {
  struct Case {
    const char *name;
    QByteArray rtf;
    const char *family;
  };
  const Case cases[] = {
      {"alternative name wins",
       "{\\rtf1{\\fonttbl{\\f0\\fcharset238{\\*\\fname Arial;}Arial CE;}}\\f0 x}", "Arial"},
      {"entries without braces",
       "{\\rtf1{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\froman Times;}\\f1 x}", "Times"},
      {"panose and falt skipped",
       "{\\rtf1{\\fonttbl{\\f0{\\*\\panose 020b0604020202020204}Verdana{\\*\\falt Tahoma};}}\\f0 "
       "x}",
       "Verdana"},
      {"table inside an unknown word's group",
       "{\\rtf1{\\upr{\\fonttbl{\\f9 Foo;}}{\\*\\ud{\\fonttbl{\\f9 Bar;}}}}\\f9 x}", "Foo"},
      {"escaped bytes in the font's code page",
       "{\\rtf1{\\fonttbl{\\f0\\fcharset204 \\'c0\\'e1;}}\\f0 x}", "\xd0\x90\xd0\xb1"},
      {"default font", "{\\rtf1\\deff1{\\fonttbl{\\f0 Zero;}{\\f1 One;}}x}", "One"},
      {"font used before it is defined keeps the text", "{\\rtf1\\f3 x{\\fonttbl{\\f3 Late;}}}",
       "Arial"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const TRichTextDocument document = readRtf(c.rtf);
    EXPECT_EQ(document.visibleText(), "x");
    EXPECT_EQ(formatOf(document, "x").family, QString::fromUtf8(c.family));
  }
}

TEST(RtfReaderState, HiddenTextKeepsItsPositions) {
  const TRichTextDocument document = readBody("a\\v hidden\\v0 b");
  EXPECT_EQ(document.visibleText(), "ab");
  EXPECT_EQ(document.length(), 8);
}

TEST(RtfReaderState, FieldResultKeepsItsFormattingAndStateAfterIt) {
  const TRichTextDocument document =
      readBody("{\\field{\\*\\fldinst{HYPERLINK \"u\"}}{\\fldrslt{\\ul link}}}\\b .");
  EXPECT_EQ(document.visibleText(), "link.");
  EXPECT_TRUE(formatOf(document, "link").underline);
  EXPECT_FALSE(formatOf(document, ".").underline);
  EXPECT_TRUE(formatOf(document, ".").bold);
}

} // namespace
} // namespace TDInvoice::Report
