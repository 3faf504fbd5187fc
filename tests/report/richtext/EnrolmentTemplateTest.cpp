// The enrolment-ID table of the account-history footer: the string-table template with one
// line per child, printed through the formatter onto a recording canvas.
#include "RichTextTestSupport.h"

#include "report/richtext/RtfFormatter.h"

namespace TDInvoice::Report {
namespace {

using Testing::metricsFor;
using Testing::textsOf;

const char kTemplate[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3081{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
    "\\viewkind4\\uc1\\pard\\ul\\b\\f0\\fs18 FaHCSIA Enrolment Ids\\ulnone\\b0\\par\r\n"
    "\\pard\\tx1420\\tx2414\\fs16 %s}";

struct Row {
  const char *childName;
  const char *careType;
  const char *enrolmentId;
};

QByteArray enrolmentRtf(const QList<Row> &rows) {
  QByteArray lines;
  for (const Row &row : rows)
    lines += QByteArray("%1\\tab %2\\tab %3\\par")
                 .replace("%1", row.childName)
                 .replace("%2", row.careType)
                 .replace("%3", row.enrolmentId) +
             "\r\n";
  return QByteArray(kTemplate).replace("%s", lines);
}

double millimetres(int deviceUnits, int dpi) { return deviceUnits * 25.4 / dpi; }

TEST(EnrolmentTemplate, HeadingAndColumnsAtTheirTabStops) {
  Testing::requireLiberationArial();
  const QList<Row> rows = {{"Sam Smith", "LDC", "555123456"}, {"Alex Jones", "OCC", "ENR-0042"}};
  for (int dpi : {96, 300, 600}) {
    SCOPED_TRACE(dpi);
    TRtfFormatter formatter;
    formatter.setContent(enrolmentRtf(rows), TFontSpec(), TTextAlign::Left);
    TRecordingCanvas canvas = Testing::pageCanvas(dpi);
    // The footer's rich text sits 12.7 mm from the page edge, 80 mm wide.
    const QRect box(qRound(12.7 / 25.4 * dpi), qRound(100 / 25.4 * dpi), qRound(80 / 25.4 * dpi),
                    qRound(40 / 25.4 * dpi));
    ASSERT_EQ(formatter.format(canvas, box, 0, true), formatter.textLength());
    const QList<TMetaText> texts = textsOf(canvas);
    ASSERT_EQ(texts.size(), 1 + 3 * rows.size());

    TFontSpec heading;
    heading.family = QStringLiteral("Arial");
    heading.pointSize = 9;
    heading.bold = true;
    heading.underline = true;
    EXPECT_EQ(texts[0].text, "FaHCSIA Enrolment Ids");
    EXPECT_EQ(texts[0].font, heading);
    EXPECT_EQ(texts[0].anchor, box.topLeft());

    TFontSpec body;
    body.family = QStringLiteral("Arial");
    body.pointSize = 8;
    const int headingHeight = metricsFor(canvas, heading).height();
    const int rowHeight = metricsFor(canvas, body).height();
    const double unit = 25.4 / dpi;
    for (int r = 0; r < rows.size(); ++r) {
      SCOPED_TRACE(r);
      const TMetaText *columns = &texts[1 + 3 * r];
      EXPECT_EQ(columns[0].text, rows[r].childName);
      EXPECT_EQ(columns[1].text, rows[r].careType);
      EXPECT_EQ(columns[2].text, rows[r].enrolmentId);
      for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(columns[c].font, body);
        EXPECT_EQ(columns[c].anchor.y(), box.top() + headingHeight + r * rowHeight);
      }
      EXPECT_EQ(columns[0].anchor.x(), box.left());
      EXPECT_NEAR(millimetres(columns[1].anchor.x() - box.left(), dpi), 25.05, unit);
      EXPECT_NEAR(millimetres(columns[2].anchor.x() - box.left(), dpi), 42.58, unit);
    }
  }
}

TEST(EnrolmentTemplate, CharacterPositionsOfTheTemplate) {
  TRtfFormatter formatter;
  formatter.setContent(enrolmentRtf({{"a", "b", "c"}}), TFontSpec(), TTextAlign::Left);
  // "FaHCSIA Enrolment Ids", its mark, then "a\tb\tc": the last \par adds no paragraph.
  EXPECT_EQ(formatter.textLength(), 21 + 1 + 5);
  ASSERT_EQ(formatter.document().paragraphs.size(), 2);
  EXPECT_EQ(formatter.document().paragraphs[1].format.tabs,
            (QList<TRichTabStop>{{1420, TRichTabKind::Left}, {2414, TRichTabKind::Left}}));
}

} // namespace
} // namespace TDInvoice::Report
