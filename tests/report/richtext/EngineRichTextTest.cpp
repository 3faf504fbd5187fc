// The formatter behind the report engine's rich-text printable: a run recorded page by page.
#include "RichTextTestSupport.h"

#include "report/ReportTypes.h"
#include "report/engine/MemoryDataSet.h"
#include "report/engine/Report.h"
#include "report/engine/ReportLayout.h"
#include "report/output/ReportPrinter.h"
#include "report/richtext/RtfFormatter.h"

#include <QRegularExpression>

namespace TDInvoice::Report {
namespace {

// Device units at 96 dpi of a native position, as the recording device converts it.
int dev(double native) { return static_cast<int>(roundHalfEven(native * 96.0 / 254.0)); }

struct PageText {
  int page = 0;
  TMetaText text;
};

// A one-record report on A4 with 15 mm side margins and a 10 mm top margin.
class EngineRichText : public testing::Test {
protected:
  void SetUp() override {
    Testing::requireLiberationArial();
    registerRtfFormatter();
    report = new TReport(&form);
    report->Page().setPaperSize(TReportPaperSize::A4);
    report->Page().setValues({150.0, 2970.0, 100.0, 2100.0, 150.0, 150.0, 0.0});
    data = new TMemoryDataSet(&form, QStringLiteral("ADODataSet1"));
    data->setColumns({{QStringLiteral("InvoiceNo"), TReportFieldType::Integer}});
    data->appendRow({1});
    report->setDataSet(data);
  }
  void TearDown() override { setRichTextFormatterFactory(nullptr); }

  std::vector<PageText> run() {
    TReportPrinter printer(TPrinterDestination::Record);
    report->run(printer);
    pages = printer.availablePages();
    std::vector<PageText> texts;
    for (int n = 1; n <= pages; ++n)
      if (auto page = printer.getPage(n))
        for (const TMetaElement &element : page->elements())
          if (const auto *text = std::get_if<TMetaText>(&element))
            texts.push_back({n, *text});
    return texts;
  }

  QObject form;
  TReport *report = nullptr;
  TMemoryDataSet *data = nullptr;
  int pages = 0;
};

QByteArray longMessage() {
  QByteArray body;
  for (int i = 1; i <= 40; ++i)
    body += QByteArray("Paragraph ") + QByteArray::number(i) +
            " of the message: {\\b fees} for booked days are charged as the {\\i rules} "
            "require, and the office takes payments until five o'clock.\\par ";
  return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs18 " + body + "}";
}

QString withoutSpaces(QString text) {
  text.remove(QRegularExpression(QStringLiteral("[\\s\u2028]")));
  return text;
}

TEST_F(EngineRichText, AMessageLongEnoughToOverflowItsBandContinuesOnTheNextPage) {
  // The message box starts low on the page: most of the text continues overleaf.
  TReportBand *band = addBand(
      *report,
      {.name = QStringLiteral("subdtlInvMsg"), .type = TReportBandType::rbDetail, .height = 2400});
  addRichText(*band, {.name = QStringLiteral("richtxtInvoiceMessage"),
                      .box = {0, 2100, 1357, 150},
                      .autoStretch = true,
                      .lines = longMessage()});
  const std::vector<PageText> printed = run();
  ASSERT_GE(pages, 2);

  // The same message laid out at once into one tall box of the same width.
  TRtfFormatter formatter;
  formatter.setContent(longMessage(), TFontSpec(), TTextAlign::Left);
  TRecordingCanvas canvas = Testing::pageCanvas();
  const int width = dev(150 + 1357) - dev(150);
  ASSERT_EQ(formatter.format(canvas, QRect(0, 0, width, 100000), 0, true), formatter.textLength());
  QStringList expected;
  for (const TMetaText &text : Testing::textsOf(canvas))
    expected.append(text.text);

  QStringList actual;
  for (const PageText &p : printed)
    actual.append(p.text.text);
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(withoutSpaces(actual.join(QString())),
            withoutSpaces(formatter.document().visibleText()));
  // Each page goes on at the control's own top, at its left edge.
  for (std::size_t i = 1; i < printed.size(); ++i)
    if (printed[i].page != printed[i - 1].page) {
      EXPECT_EQ(printed[i].text.anchor.y(), dev(100 + 2100));
      EXPECT_EQ(printed[i].text.anchor.x(), dev(150));
    }
  EXPECT_EQ(printed.back().page, pages);
}

TEST_F(EngineRichText, EnrolmentTableColumnsOnTheRecordedPage) {
  const QByteArray rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3081{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
      "\r\n\\viewkind4\\uc1\\pard\\ul\\b\\f0\\fs18 FaHCSIA Enrolment Ids\\ulnone\\b0\\par\r\n"
      "\\pard\\tx1420\\tx2414\\fs16 Sam Smith\\tab LDC\\tab 555123456\\par\r\n}";
  TReportBand *band = addBand(
      *report,
      {.name = QStringLiteral("ftrAcctHist"), .type = TReportBandType::rbDetail, .height = 300});
  addRichText(*band,
              {.name = QStringLiteral("RichText1"), .box = {20, 30, 900, 200}, .lines = rtf});
  const std::vector<PageText> printed = run();
  ASSERT_EQ(printed.size(), 4u);
  EXPECT_EQ(printed[0].text.text, "FaHCSIA Enrolment Ids");
  EXPECT_TRUE(printed[0].text.font.bold && printed[0].text.font.underline);
  EXPECT_EQ(printed[0].text.font.pointSize, 9);
  const int left = dev(150 + 20);
  EXPECT_EQ(printed[1].text.anchor.x(), left);
  const double unit = 25.4 / 96;
  EXPECT_NEAR((printed[2].text.anchor.x() - left) * 25.4 / 96, 25.05, unit);
  EXPECT_NEAR((printed[3].text.anchor.x() - left) * 25.4 / 96, 42.58, unit);
  for (int i = 1; i < 4; ++i)
    EXPECT_EQ(printed[i].text.font.pointSize, 8);
}

} // namespace
} // namespace TDInvoice::Report
