// Measuring text at 96 ppi, and labels sizing and wrapping by those measures. Expected
// figures come from QFontMetrics on an independent 96-ppi device.
#include "EngineTestSupport.h"

#include "TDInvoice/Exceptions.h"
#include "report/engine/TextMeasure.h"

#include <QFontMetrics>
#include <QImage>

namespace TDInvoice::Testing {
namespace {

// A reference device and font made here, not by the engine.
QFontMetrics metrics(const QString &family, int pixelSize, bool bold = false) {
  static QImage device = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(96 / 0.0254));
    image.setDotsPerMeterY(qRound(96 / 0.0254));
    return image;
  }();
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setKerning(false);
  font.setHintingPreference(QFont::PreferFullHinting);
  return QFontMetrics(font, &device);
}

TEST(TextMeasure, FontPixelSizesRoundLikeTheScreen) {
  const std::pair<double, int> cases[] = {{10, 13}, {8, 11}, {9, 12}, {11, 15}, {14, 19}};
  for (const auto &[points, pixels] : cases)
    EXPECT_EQ(TTextMeasure::font(makeFont("Arial", points)).pixelSize(), pixels) << points;
  EXPECT_FALSE(TTextMeasure::font(makeFont("Arial", 10)).kerning());
}

TEST(TextMeasure, WidthIsTheAdvancePlusOneAndHeightTheCellOfA) {
  for (const char *text : {"Invoice No:", "CARDHOLDERS NAME (Please Print)", "W", ""}) {
    const QString s = QString::fromLatin1(text);
    EXPECT_EQ(TTextMeasure::textWidth(makeFont("Arial", 10), s),
              metrics("Arial", 13).horizontalAdvance(s) + 1)
        << text;
    EXPECT_EQ(TTextMeasure::textWidth(makeFont("Arial", 8, TFontStyle::Bold), s),
              metrics("Arial", 11, true).horizontalAdvance(s) + 1)
        << text;
  }
  EXPECT_EQ(TTextMeasure::textHeight(makeFont("Arial", 10)), metrics("Arial", 13).height());
  EXPECT_EQ(TTextMeasure::textHeight(makeFont("Times New Roman", 8)),
            metrics("Times New Roman", 11).height());
}

// Widths are kept between measurements; the same words in another font, and words measured
// again after the kept ones were let go, must still measure as the font does.
TEST(TextMeasure, RepeatedWordsMeasureAsTheFontDoesInEveryFont) {
  const QFontMetrics plain = metrics("Arial", 13), bold = metrics("Arial", 13, true);
  for (int round = 0; round < 2; ++round)
    for (int i = 0; i < 30000; i += 7) {
      const QString word = QStringLiteral("$%1.50 MWMW").arg(i);
      ASSERT_EQ(TTextMeasure::textWidth(makeFont("Arial", 10), word),
                plain.horizontalAdvance(word) + 1)
          << word.toStdString() << " round " << round;
      ASSERT_EQ(TTextMeasure::textWidth(makeFont("Arial", 10, TFontStyle::Bold), word),
                bold.horizontalAdvance(word) + 1)
          << word.toStdString() << " round " << round;
    }
}

TEST(TextMeasure, LayoutFamiliesResolveToMetricCompatibleFonts) {
  for (const char *family : {"Arial", "Times New Roman", "Courier New"})
    EXPECT_NO_THROW(TTextMeasure::checkFamily(QString::fromLatin1(family))) << family;
  const std::string message = thrownMessage<EReportError>(
      [] { TTextMeasure::checkFamily(QStringLiteral("NoSuchFamilyQx")); });
  EXPECT_NE(message.find("NoSuchFamilyQx"), std::string::npos) << message;
}

class LabelMeasureTest : public EngineTest {
protected:
  TReportBand *host = addBand(*report, {.name = "host", .height = 300});
};

TEST_F(LabelMeasureTest, AutoSizedLabelTakesItsMeasuredWidth) {
  const QString caption = QStringLiteral("Invoice No:");
  TReportLabel *label = addLabel(*host, {.name = "l",
                                         .box = {100, 0, 50, 45},
                                         .font = makeFont("Arial", 10, TFontStyle::Bold),
                                         .options = TLabelOption::AutoSize,
                                         .caption = caption});
  EXPECT_EQ(label->Width(), metrics("Arial", 13, true).horizontalAdvance(caption) + 1);
  EXPECT_DOUBLE_EQ(label->nativeLeft(), 100.0);
}

TEST_F(LabelMeasureTest, RightAlignedAutoSizedLabelKeepsItsRightEdge) {
  TReportLabel *label = addLabel(*host, {.name = "l",
                                         .box = {500, 0, 300, 45},
                                         .alignment = TAlignment::taRightJustify,
                                         .options = TLabelOption::AutoSize,
                                         .caption = "Short"});
  const double right = label->nativeLeft() + label->nativeWidth();
  for (const char *caption : {"A much longer caption than before", "x", "Medium text"}) {
    label->setCaption(QString::fromLatin1(caption));
    EXPECT_EQ(label->Width(), metrics("Arial", 13).horizontalAdvance(caption) + 1) << caption;
    EXPECT_NEAR(label->nativeLeft() + label->nativeWidth(), right, 1e-9) << caption;
  }
  // The first resize moves the edge by less than a pixel from the layout's 800.
  EXPECT_NEAR(right, 800.0, 254.0 / 96.0 / 2);
}

TEST_F(LabelMeasureTest, CentredAutoSizedLabelKeepsItsCentre) {
  TReportLabel *label = addLabel(*host, {.name = "l",
                                         .box = {500, 0, 400, 45},
                                         .alignment = TAlignment::taCenter,
                                         .options = TLabelOption::AutoSize,
                                         .caption = "Centred"});
  const double centre = label->nativeLeft() + label->nativeWidth() / 2;
  label->setCaption(QStringLiteral("Centred and wider"));
  EXPECT_NEAR(label->nativeLeft() + label->nativeWidth() / 2, centre, 254.0 / 96.0);
}

TEST_F(LabelMeasureTest, LabelOnAReportHoldsAtLeastOneLine) {
  const int cell = metrics("Arial", 13).height();
  TReportLabel *low = addLabel(*host, {.name = "low", .box = {0, 0, 400, 10}, .caption = "x"});
  EXPECT_EQ(low->Height(), cell + 1);
  TReportLabel *tall = addLabel(*host, {.name = "tall", .box = {0, 0, 400, 100}, .caption = "x"});
  EXPECT_DOUBLE_EQ(tall->nativeHeight(), 100.0);
  // A memo that is not auto-sized keeps its height.
  TReportMemo *memo = addMemo(*host, {.name = "m", .box = {0, 0, 400, 10}, .lines = {"x"}});
  EXPECT_DOUBLE_EQ(memo->nativeHeight(), 10.0);
}

TEST_F(LabelMeasureTest, WordsWiderThanTheLabelAreCut) {
  const QString word = QStringLiteral("Supercalifragilistic");
  TReportLabel *label = addLabel(*host, {.name = "l",
                                         .box = {0, 0, 40 * 254.0 / 96.0, 45},
                                         .options = TLabelOption::WordWrap,
                                         .caption = word});
  QString expected;
  const QFontMetrics m = metrics("Arial", 13);
  while (expected.size() < word.size() &&
         m.horizontalAdvance(expected + word[expected.size()]) + 1 < 40)
    expected += word[expected.size()];
  ASSERT_LT(expected.size(), word.size());
  EXPECT_EQ(label->formattedLines(), QStringList{expected});
}

TEST_F(LabelMeasureTest, WrapsAtTheLastWordThatFits) {
  // The account-history description: 196 px wide, Arial 8, wrapping.
  const QString text =
      QStringLiteral("Long day care fees for the week ending 14/03/2024 including two absences");
  TReportLabel *label =
      addLabel(*host, {.name = "l",
                       .box = {0, 0, 196 * 254.0 / 96.0, 45},
                       .font = makeFont("Arial", 8),
                       .options = TLabelOption::WordWrap | TLabelOption::AutoStretch,
                       .caption = text});
  // Expected lines from whole-pixel widths computed here.
  const QFontMetrics m = metrics("Arial", 11);
  QStringList expected;
  QString line;
  for (const QString &word : splitWords(text)) {
    if (m.horizontalAdvance(line + word) + 1 <= 196) {
      line += word;
    } else {
      expected << line;
      line = word;
    }
  }
  expected << line;
  ASSERT_GT(expected.size(), 1);
  EXPECT_EQ(label->formattedLines(), expected);
}

} // namespace
} // namespace TDInvoice::Testing
