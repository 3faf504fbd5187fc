// The reader's text: code pages, Unicode with its fallback count, symbols, destinations,
// malformed input. Each case states the visible text ('\n' between paragraphs).
#include "RichTextTestSupport.h"

#include <string>

namespace TDInvoice::Report {
namespace {

using Testing::readBody;
using Testing::readRtf;

struct TextCase {
  const char *name;
  QByteArray body;
  const char16_t *expected;
};

void expectTexts(std::initializer_list<TextCase> cases) {
  for (const TextCase &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(readBody(c.body).visibleText(), QString::fromUtf16(c.expected));
  }
}

TEST(RtfReaderText, DecodesBytesByTheFontsCodePage) {
  expectTexts({
      {"escaped byte in cp1252", "\\f0 a\\'e9b", u"aéb"},
      {"space after a control symbol is text", "\\f0\\'e9 b", u"é b"},
      {"cp1252 upper half", "\\f0\\'80\\'85\\'93\\'9f", u"€…“Ÿ"},
      {"each font its own code page", "\\f1\\'c8\\f2\\'c8\\f0\\'c8", u"ČИÈ"},
      {"double-byte pairs, escaped lead with raw trail", "\\f3\\'82\\'a0\\'81f", u"あ’"},
      {"symbol charset bullet", "\\f4\\'b7", u"•"},
      {"symbol charset greek", "\\f4 abg", u"αβγ"},
      {"cpg of the font wins", "\\f5\\'e1", u"α"},
      {"raw high bytes decode too", QByteArray("\\f2 ") + "\xcf\xf0\xe8", u"При"},
      {"undefined font falls back to the default font", "\\f77\\'e9", u"é"},
  });
}

TEST(RtfReaderText, DocumentCodePageAppliesToAnsiFonts) {
  struct Case {
    const char *name;
    QByteArray rtf;
    const char16_t *expected;
  };
  const Case cases[] = {
      {"ansicpg1251", "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0 \\'cf}",
       u"П"},
      {"ansicpg1250 without a font", "{\\rtf1\\ansi\\ansicpg1250 \\'9c}", u"ś"},
      {"ansicpg0 reads as 1252", "{\\rtf1\\ansi\\ansicpg0 \\'80}", u"€"},
      {"mac roman", "{\\rtf1\\mac \\'8a}", u"ä"},
      {"unknown code page reads as 1252", "{\\rtf1\\ansi\\ansicpg9492000 \\'80}", u"€"},
      {"code page without a converter reads as 1252", "{\\rtf1\\ansi\\ansicpg1361 \\'80}", u"€"},
      {"pc code page 437", "{\\rtf1\\pc \\'82}", u"é"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(readRtf(c.rtf).visibleText(), QString::fromUtf16(c.expected));
  }
}

TEST(RtfReaderText, UnicodeSkipsItsFallback) {
  expectTexts({
      {"default skip of one", "\\u8364?x", u"€x"},
      {"uc0 keeps the fallback", "\\uc0\\u8364?x", u"€?x"},
      {"uc2 skips an escaped pair whole", "{\\uc2\\u24180\\'94\\'4e}z", u"年z"},
      {"a closing brace ends the skip", "{\\u8364}x", u"€x"},
      {"skip counts bytes of raw text", "\\uc2\\u228 ab c", u"ä c"},
      {"escaped fallback then a space", "\\u228\\'e4 x", u"ä x"},
      {"digit fallback after the delimiter", "\\u48 0", u"0"},
      {"uc is scoped by the group", "{\\uc2 x}\\u8364?y", u"x€y"},
      {"negative values join into a surrogate pair", "\\u-10179?\\u-9047?", u"💩"},
      {"positive values above 32767", "\\u40000?", u"\u9C40"},
      {"unpaired high surrogate", "a\\u-10240?b", u"a\uFFFDb"},
      {"unpaired low surrogate", "a\\u-9047?b", u"a\uFFFDb"},
  });
}

TEST(RtfReaderText, SymbolsAndDelimiters) {
  expectTexts({
      {"control symbols", "a\\~b\\_c\\-d\\{\\}\\\\", u"a\u00A0b\u2011c\u00ADd{}\\"},
      {"named specials", "\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\emdash\\endash",
       u"‘’“”•—–"},
      {"spaces", "\\emspace\\enspace\\qmspace", u"\u2003\u2002\u2005"},
      {"tab and line, delimiter consumed", "a\\tab b\\line c", u"a\tb\u2028c"},
      {"raw newlines ignored, backslash-newline is par", "ab\r\ncd\rx\\\r\ny", u"abcdx\ny"},
      {"bare LF after backslash", "p\\\nq", u"p\nq"},
      {"number ends at a letter", "\\cf0\\highlight0Normal", u"Normal"},
      {"raw tab is a tab", "a\tb", u"a\tb"},
      {"two spaces after a word keep one", "\\b  x", u" x"},
      {"unknown control symbols carry nothing", "a\\|b\\:c", u"abc"},
  });
}

TEST(RtfReaderText, DestinationsWithoutTextAreSkipped) {
  expectTexts({
      {"ignorable and known destinations", "{\\*\\generator X;}{\\*\\zzz junk}{\\info{\\title T}}x",
       u"x"},
      {"unknown plain word keeps its group", "{\\zzz keep}x", u"keepx"},
      {"binary data may hold braces", "{\\pict\\bin3 }ab}cd", u"cd"},
      {"binary data in the body", "a\\bin2 {}b", u"ab"},
      {"field result kept, instruction dropped",
       "{\\field{\\*\\fldinst{HYPERLINK \"u\"}}{\\fldrslt{\\ul link}}} .", u"link ."},
      {"plain fldinst", "{\\field{\\fldinst PAGE}{\\fldrslt 3}}", u"3"},
      {"style sheet", "{\\stylesheet{\\s0 Normal;}{\\s1 Heading;}}x", u"x"},
      {"headers and footers", "{\\header hdr}{\\footer ftr}{\\footnote fn}x", u"x"},
      {"bullet text rendered once",
       "{\\pntext\\f4\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}Item", u"•\tItem"},
      {"legacy numbering definition", "{\\pn\\pnlvlblt{\\pntxtb X}}y", u"y"},
      {"bookmarks", "{\\*\\bkmkstart b}x{\\*\\bkmkend b}", u"x"},
      {"object result kept", "{\\object{\\*\\objdata 0102}{\\result r}}", u"r"},
      {"pictures both ways", "{\\nonshppict{\\pict 00}}{\\*\\shppict{\\pict 00}}x", u"x"},
      {"table cells and rows", "\\trowd\\cellx100\\cellx200 A\\cell B\\cell\\row C", u"A\tB\nC"},
      {"paragraph words inside a skipped group", "a{\\*\\zzz \\par\\qc x}b", u"ab"},
  });
}

TEST(RtfReaderText, MalformedInputKeepsTheText) {
  struct Case {
    const char *name;
    QByteArray rtf;
    const char16_t *expected;
  };
  const std::string deep = std::string(100000, '{');
  const Case cases[] = {
      {"missing final brace", "{\\rtf1 abc", u"abc"},
      {"unclosed inner groups", "{\\rtf1 a{\\b b{\\i c", u"abc"},
      {"unclosed skipped group at the end", "{\\rtf1 a{\\*\\zzz b", u"a"},
      {"NUL and junk after the last brace", QByteArray("{\\rtf1 abc}\0junk}", 17), u"abc"},
      {"an extra brace ends the document", "{\\rtf1 {\\b a}} junk}", u"a"},
      {"backslash at the end", "{\\rtf1 a\\", u"a"},
      {"broken hex escape", "{\\rtf1 a\\'zzb}", u"azzb"},
      {"half a hex escape", "{\\rtf1 a\\'4", u"a"},
      {"control byte from an escape is dropped", "{\\rtf1 a\\'07b}", u"ab"},
      {"lone lead byte of a double-byte code page",
       "{\\rtf1{\\fonttbl{\\f0\\fcharset128 G;}}\\f0 a\\'fa\\b\\'fa\\par\\'fa}", u"a"},
      {"truncated binary", "{\\rtf1 a\\bin99 xyz", u"a"},
      {"huge parameters", "{\\rtf1\\fs99999999999\\li-99999999999\\uc999999 a}", u"a"},
      {"deep nesting inside the document", "{\\rtf1 " + QByteArray::fromStdString(deep) + "x",
       u"x"},
      {"bytes before the document's brace are ignored", "x {\\rtf1 a}", u"a"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(readRtf(c.rtf).visibleText(), QString::fromUtf16(c.expected));
  }
}

TEST(RtfReaderText, LastParagraphBreakIsDropped) {
  struct Case {
    QByteArray body;
    int paragraphs;
    int length;
  };
  const Case cases[] = {
      {"abc\\par", 1, 3}, {"abc\\par\\par", 2, 4},   {"abc", 1, 3},     {"", 0, 0},
      {"\\par", 1, 0},    {"a\\par b\\par c", 3, 5}, {"a\\line", 1, 2}, {"{abc\\par}", 1, 3},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.body.toStdString());
    const TRichTextDocument document = readBody(c.body);
    EXPECT_EQ(document.paragraphs.size(), c.paragraphs);
    EXPECT_EQ(document.length(), c.length);
  }
}

TEST(RtfReaderText, RunsCoverEveryParagraphWithoutGaps) {
  const TRichTextDocument document =
      readBody("a{\\b b}\\u8364?{\\i\\f3\\'82\\'a0}\\par{\\f3\\'fa}\\cf1 x\\v h\\v0 y\\par\\par z");
  ASSERT_FALSE(document.paragraphs.isEmpty());
  for (const TRichParagraph &p : document.paragraphs) {
    int next = 0;
    for (const TRichRun &run : p.runs) {
      EXPECT_EQ(run.start, next);
      EXPECT_GT(run.length, 0);
      EXPECT_LT(run.format, document.formats.size());
      next += run.length;
    }
    EXPECT_EQ(next, p.text.size());
    EXPECT_LT(p.markFormat, document.formats.size());
  }
}

TEST(RtfReaderText, PlainTextSplitsAtEveryLineEnd) {
  struct Case {
    const char16_t *text;
    QStringList paragraphs;
  };
  const Case cases[] = {
      {u"one line", {"one line"}},     {u"a\r\nb", {"a", "b"}}, {u"a\rb\nc", {"a", "b", "c"}},
      {u"a\r\n\r\nb", {"a", "", "b"}}, {u"a\r\n", {"a", ""}},   {u"", {}},
  };
  for (const Case &c : cases) {
    const QString text = QString::fromUtf16(c.text);
    SCOPED_TRACE(text.toStdString());
    const TRichTextDocument document =
        TRichTextDocument::fromPlainText(text, Testing::readerDefaults(), TRichAlign::Right);
    QStringList paragraphs;
    for (const TRichParagraph &p : document.paragraphs) {
      paragraphs.append(p.text);
      EXPECT_EQ(p.format.align, TRichAlign::Right);
    }
    EXPECT_EQ(paragraphs, c.paragraphs);
  }
}

} // namespace
} // namespace TDInvoice::Report
