// Real rich-edit output from the shared corpus. Expectations come from each file's companion
// .txt or from what the corpus README states about the file.
#include "RichTextTestSupport.h"

#include <QDir>

namespace TDInvoice::Report {
namespace {

const QString kCorpus = QStringLiteral("corpus/rtf/");

TRichTextDocument readCorpus(const QString &name) {
  return Testing::readRtf(Testing::readSharedFile(kCorpus + name));
}

QStringList paragraphTexts(const TRichTextDocument &document) {
  return document.visibleText().split(QLatin1Char('\n'));
}

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

TEST(RtfCorpus, EveryFileLoadsWithText) {
  const QStringList files =
      QDir(Testing::sharedPath(kCorpus)).entryList({QStringLiteral("*.rtf")}, QDir::Files);
  ASSERT_EQ(files.size(), 12);
  for (const QString &name : files) {
    SCOPED_TRACE(name.toStdString());
    const TRichTextDocument document = readCorpus(name);
    EXPECT_FALSE(document.visibleText().trimmed().isEmpty());
    EXPECT_FALSE(document.visibleText().contains(QChar(0xFFFD)));
  }
}

TEST(RtfCorpus, VisibleTextEqualsTheCompanionText) {
  const QStringList companions =
      QDir(Testing::sharedPath(kCorpus)).entryList({QStringLiteral("*.txt")}, QDir::Files);
  ASSERT_EQ(companions.size(), 5);
  for (const QString &txt : companions) {
    SCOPED_TRACE(txt.toStdString());
    // One line per paragraph, each ending in LF; trailing empty paragraphs are not written.
    QStringList expected = QString::fromUtf8(Testing::readSharedFile(kCorpus + txt)).split('\n');
    ASSERT_EQ(expected.takeLast(), QString());
    QString rtfName = txt;
    rtfName.replace(QStringLiteral(".txt"), QStringLiteral(".rtf"));
    QStringList actual = paragraphTexts(readCorpus(rtfName));
    while (!actual.isEmpty() && actual.last().isEmpty())
      actual.removeLast();
    EXPECT_EQ(actual, expected);
  }
}

TEST(RtfCorpus, ParagraphPropertiesFile) {
  const TRichTextDocument document = readCorpus("rtf.js_paragraph-properties_source.rtf");
  EXPECT_EQ(paragraphTexts(document),
            (QStringList{"This is a simple five paragraph document.",
                         QString::fromUtf16(u"This is the second paragraph with a\u2028line break "
                                            u"and it is centered."),
                         "This is the third paragraph.",
                         "This is the fourth paragraph and it is right aligned.",
                         "And this paragraph is left aligned again."}));
  EXPECT_EQ(formatOf(document, "is a").pointSize, 22);
  EXPECT_TRUE(formatOf(document, "simple").bold);
  EXPECT_FALSE(formatOf(document, "simple").underline);
  EXPECT_TRUE(formatOf(document, "five").bold && formatOf(document, "five").underline);
  const TRichCharFormat &paragraph = formatOf(document, "paragraph ");
  EXPECT_TRUE(paragraph.bold && paragraph.underline && paragraph.italic);
  const TRichCharFormat &documentWord = formatOf(document, "document");
  EXPECT_TRUE(documentWord.italic && !documentWord.bold && !documentWord.underline);
  EXPECT_EQ(formatOf(document, "second").color, qRgb(0, 77, 187));
  ASSERT_EQ(document.paragraphs.size(), 5);
  EXPECT_EQ(document.paragraphs[3].format.align, TRichAlign::Right);
  EXPECT_EQ(document.paragraphs[4].format.align, TRichAlign::Left);
  EXPECT_EQ(document.paragraphs[0].format.spaceAfter, 200);
  EXPECT_TRUE(document.paragraphs[0].format.lineSpacingMultiple);
  EXPECT_EQ(document.paragraphs[0].format.lineSpacing, 276);
}

TEST(RtfCorpus, HyperlinkFile) {
  const TRichTextDocument document = readCorpus("rtf.js_hyperlink_source.rtf");
  EXPECT_EQ(paragraphTexts(document),
            (QStringList{QString::fromUtf16(u"This is a document with\u2028a hyperlink to this "
                                            u"project."),
                         "And an unsafe link link in a paragraph that should be centered.",
                         "And this last paragraph should be left-aligned again."}));
  EXPECT_FALSE(document.visibleText().contains("http"));
  EXPECT_TRUE(formatOf(document, "pro").bold && formatOf(document, "pro").italic);
  EXPECT_TRUE(document.formatAt(0, static_cast<int>(document.paragraphs[0].text.size()) - 1).bold);
}

TEST(RtfCorpus, ColorsFile) {
  const TRichTextDocument document = readCorpus("rtf.js_colors_source.rtf");
  EXPECT_FALSE(document.visibleText().contains("Mirco"));
  EXPECT_EQ(formatOf(document, "Colored Line").color, qRgb(0, 255, 0));
  EXPECT_EQ(formatOf(document, "Highlighted Line").background, qRgb(255, 0, 0));
  const TRichCharFormat &both = formatOf(document, "Colored & Highlighted Line");
  EXPECT_EQ(both.color, qRgb(255, 255, 255));
  EXPECT_EQ(both.background, qRgb(0, 0, 255));
  EXPECT_EQ(both.family, "Courier New");
  EXPECT_EQ(both.pointSize, 8.5);
}

TEST(RtfCorpus, PileOfPooFile) {
  const TRichTextDocument document = readCorpus("rtf.js_pile-of-poo_source.rtf");
  ASSERT_EQ(document.paragraphs.size(), 1);
  EXPECT_EQ(document.paragraphs[0].text, QString::fromUtf16(u"Iñtërnâtiônàlizætiøn☃💩"));
  EXPECT_EQ(document.length(), 23);
}

TEST(RtfCorpus, DoubleByteFontsFile) {
  const QString text = readCorpus("rtf.js_infer-double-width_source.rtf").visibleText();
  EXPECT_TRUE(text.startsWith(QString::fromUtf16(u"要やフぎば要立クモフ刑香カルオ洋8宮")));
  EXPECT_TRUE(text.contains(QString::fromUtf16(u"。惑")));
  EXPECT_TRUE(text.endsWith(QString::fromUtf16(u"打71修ねぜ。")));
  EXPECT_FALSE(text.contains('\n'));
}

TEST(RtfCorpus, ListFile) {
  const TRichTextDocument document = readCorpus("RtfPipe_List.rtf");
  EXPECT_EQ(paragraphTexts(document), (QStringList{"Paragraph", QString::fromUtf16(u"•\tBullet"),
                                                   QString::fromUtf16(u"•\tBullet 2"),
                                                   "Paragraph 2", "1.\tList 1", "2.\tList 2"}));
  ASSERT_EQ(document.paragraphs.size(), 6);
  EXPECT_EQ(document.paragraphs[1].format.leftIndent, 720);
  EXPECT_EQ(document.paragraphs[1].format.firstIndent, -360);
}

TEST(RtfCorpus, ShiftJisHeadingFile) {
  const TRichTextDocument document = readCorpus("RtfPipe_RtfParserTest_4.rtf");
  const TRichCharFormat &heading = formatOf(document, QString::fromUtf16(u"バージョン"));
  EXPECT_EQ(heading.pointSize, 20);
  EXPECT_TRUE(heading.bold && heading.underline);
}

TEST(RtfCorpus, TabsFile) {
  const TRichTextDocument document = readCorpus("RtfPipe_tabs.rtf");
  EXPECT_EQ(paragraphTexts(document),
            (QStringList{"Tabs", "Normal\ttabbed", "\tIn center", "", ""}));
  ASSERT_EQ(document.paragraphs.size(), 5);
  EXPECT_EQ(document.paragraphs[1].format.tabs,
            (QList<TRichTabStop>{{720, TRichTabKind::Left}, {3600, TRichTabKind::Left}}));
  EXPECT_EQ(document.paragraphs[2].format.tabs,
            (QList<TRichTabStop>{{7200, TRichTabKind::Center}}));
  EXPECT_EQ(formatOf(document, "Tabs").family, "Times");
}

TEST(RtfCorpus, CzechFile) {
  const TRichTextDocument document = readCorpus("tika_testRTFWordPadCzechCharacters.rtf");
  const QStringList paragraphs = paragraphTexts(document);
  ASSERT_EQ(paragraphs.size(), 3);
  EXPECT_EQ(paragraphs[0], QString::fromUtf16(u"Článek týdne"));
  EXPECT_EQ(paragraphs[1], QString::fromUtf16(u"Část svitku s textem Knihy Izajáš"));
  EXPECT_TRUE(paragraphs[2].startsWith(QString::fromUtf16(u"Svitky od Mrtvého moře")));
  EXPECT_TRUE(paragraphs[2].contains(QString::fromUtf16(u"starověké židovské náboženské texty")));
  EXPECT_TRUE(paragraphs[2].contains(QString::fromUtf16(u"př.\u2009n.\u2009l.")));
}

TEST(RtfCorpus, CodePage1250File) {
  const TRichTextDocument document = readCorpus("tika_testRTFWindowsCodepage1250.rtf");
  ASSERT_EQ(document.paragraphs.size(), 3);
  EXPECT_TRUE(document.paragraphs[2].text.isEmpty());
  EXPECT_EQ(document.formatAt(0, 0).family, "Arial");
}

TEST(RtfCorpus, GothicFile) {
  const TRichTextDocument document = readCorpus("tika_testRTFUnicodeGothic.rtf");
  EXPECT_EQ(document.length(), 12);
  EXPECT_FALSE(document.visibleText().contains('?'));
}

TEST(RtfCorpus, CyrillicFile) {
  const TRichTextDocument document = readCorpus("striprtf_bytes.rtf");
  const QStringList paragraphs = paragraphTexts(document);
  ASSERT_GE(paragraphs.size(), 7);
  EXPECT_EQ(paragraphs.mid(0, 7),
            (QStringList{"", QString::fromUtf16(u"УХВАЛА"), " ",
                         QString::fromUtf16(u"27 грудня 2018 року"), QString::fromUtf16(u"м. Київ"),
                         " ", QString::fromUtf16(u"справа № 127\\7798/17")}));
  EXPECT_EQ(document.paragraphs[0].format.align, TRichAlign::Center);
  EXPECT_EQ(document.paragraphs[1].format.align, TRichAlign::Justify);
  EXPECT_TRUE(formatOf(document, QString::fromUtf16(u"УХВАЛА")).bold);
  EXPECT_TRUE(document.paragraphs[0].runs.isEmpty());
  EXPECT_EQ(document.formats[document.paragraphs[0].markFormat].family, "Times New Roman");
  EXPECT_EQ(formatOf(document, QString::fromUtf16(u"27 грудня")).family, "Calibri");
}

} // namespace
} // namespace TDInvoice::Report
