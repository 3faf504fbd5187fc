#include "ArtworkTestSupport.h"

#include "invoice/artwork/Artwork.h"
#include "invoice/artwork/BpayLogo.h"

#include <QFontInfo>
#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace TDInvoice::Artwork {
namespace {

using Testing::inkBox;
using Testing::readSvgTexts;
using Testing::TSvgText;

struct TPictureCase {
  const char *name;
  QByteArray (*svg)();
  QSizeF frame;
  QStringList texts; // every text element, in document order
};

const QString kRegistered = QString(QChar(0x00AE));

void PrintTo(const TPictureCase &c, std::ostream *out) { *out << c.name; }

const TPictureCase kPictures[] = {
    {"bpay-instructions",
     bpayInstructionsSvg,
     {155.9, 34.4},
     {"Telephone & Internet Banking - BPAY", kRegistered,
      "Contact your bank or financial institution to make",
      "this payment from your cheque, savings, debit or",
      "transaction account. More info: www.bpay.com.au"}},
    {"bpay-instructions-cc",
     bpayInstructionsCcSvg,
     {155.9, 32.5},
     {"Telephone & Internet Banking - BPAY", kRegistered,
      "Contact your bank or financial institution to make this",
      "payment from your cheque, savings, debit, credit card",
      "or transaction account. More info: www.bpay.com.au"}},
    {"bpay-trademark",
     bpayTrademarkSvg,
     {117.8, 5.9},
     {kRegistered + " Registered to BPAY Pty Ltd ABN 69 079 137 518"}},
};

class SvgPicture : public ::testing::TestWithParam<TPictureCase> {};

TEST_P(SvgPicture, ParsesWithItsFrameAsViewBox) {
  const TPictureCase &c = GetParam();
  QSvgRenderer renderer(c.svg());
  ASSERT_TRUE(renderer.isValid());
  const QRectF box = renderer.viewBoxF();
  EXPECT_DOUBLE_EQ(box.width(), c.frame.width());
  EXPECT_DOUBLE_EQ(box.height(), c.frame.height());
  EXPECT_EQ(box.topLeft(), QPointF(0, 0));
}

TEST_P(SvgPicture, SaysWhatTheSlipNeedsInDarkBlueArial) {
  const TPictureCase &c = GetParam();
  const std::vector<TSvgText> texts = readSvgTexts(c.svg());
  QStringList said;
  for (const TSvgText &text : texts) {
    said << text.text();
    for (const auto &run : text.runs) {
      EXPECT_EQ(run.family, "Arial") << qPrintable(run.text);
      EXPECT_EQ(run.fill, "#002b69") << qPrintable(run.text);
      EXPECT_FALSE(run.italic) << qPrintable(run.text);
      EXPECT_GT(run.size, 0) << qPrintable(run.text);
    }
  }
  EXPECT_EQ(said, c.texts);
}

TEST_P(SvgPicture, TextFitsTheFrameWithoutLinesTouching) {
  const QString family = QFontInfo(QFont(QStringLiteral("Arial"))).family();
  ASSERT_TRUE(family == "Arial" || family == "Liberation Sans")
      << "Arial resolves to " << qPrintable(family) << ", which does not share its metrics";
  const TPictureCase &c = GetParam();
  const QRectF frame(QPointF(0, 0), c.frame);
  const std::vector<TSvgText> texts = readSvgTexts(c.svg());
  QRectF all;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const QRectF ink = inkBox(texts[i]);
    all |= ink;
    EXPECT_TRUE(frame.contains(ink)) << qPrintable(texts[i].text()) << " reaches outside";
    for (std::size_t j = 0; j < i; ++j)
      EXPECT_FALSE(ink.intersects(inkBox(texts[j])))
          << qPrintable(texts[i].text()) << " touches " << qPrintable(texts[j].text());
  }
  // The text uses its frame: a wrong size would leave much of it empty.
  EXPECT_GT(all.width(), frame.width() * 0.9);
  EXPECT_GT(all.height(), frame.height() * 0.75);
}

TEST_P(SvgPicture, DrawsInDarkBlueOnWhiteOnly) {
  const QImage image = Testing::renderSvg(GetParam().svg(), 8);
  const QColor blue = QColor::fromRgb(kDarkBlue);
  int inked = 0, offColour = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      // Anti-aliased edges blend white into dark blue: green and blue follow red on that line.
      const double t = (255 - qRed(p)) / 255.0;
      offColour += std::abs(qGreen(p) - (255 - t * (255 - blue.green()))) > 8 ||
                   std::abs(qBlue(p) - (255 - t * (255 - blue.blue()))) > 8;
      inked += t > 0.95;
    }
  EXPECT_EQ(offColour, 0);
  EXPECT_GT(inked, image.width() * image.height() / 50);
}

TEST_P(SvgPicture, LooksTheSameWhateverThePainterDrewBefore) {
  // A report draws bold labels, red text and filled boxes before the picture. The picture
  // states every text property SVG can state, so none of that leaks into its text. (Underline,
  // kerning and hinting have no SVG property here; whoever renders must reset them.)
  const TPictureCase &c = GetParam();
  const QImage clean = Testing::renderSvg(c.svg(), 8);
  const QImage afterOthers = Testing::renderSvg(c.svg(), 8, [](QPainter &painter) {
    QFont font(QStringLiteral("Times New Roman"), 30, QFont::Bold, true);
    font.setPixelSize(75);
    font.setCapitalization(QFont::SmallCaps);
    painter.setFont(font);
    painter.setPen(QPen(Qt::red, 3));
    painter.setBrush(Qt::green);
  });
  EXPECT_EQ(clean, afterOthers);
}

INSTANTIATE_TEST_SUITE_P(BpaySlip, SvgPicture, ::testing::ValuesIn(kPictures),
                         [](const auto &info) {
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

TEST(SvgInstructions, HeadingIsBoldWithSmallerPayAndASmallRegisteredMark) {
  for (const auto svg : {bpayInstructionsSvg, bpayInstructionsCcSvg}) {
    const std::vector<TSvgText> texts = readSvgTexts(svg());
    ASSERT_EQ(texts.size(), 5u);
    const auto &heading = texts[0].runs;
    ASSERT_EQ(heading.size(), 2u);
    EXPECT_EQ(heading[0].text, "Telephone & Internet Banking - B");
    EXPECT_EQ(heading[1].text, "PAY");
    EXPECT_TRUE(heading[0].bold && heading[1].bold);
    EXPECT_LT(heading[1].size, heading[0].size);
    // The mark sits after PAY, smaller still, raised to the top of the capitals.
    const auto &mark = texts[1].runs.at(0);
    EXPECT_LT(mark.size, heading[1].size);
    const QRectF headingInk = inkBox(texts[0]);
    const QRectF markInk = inkBox(texts[1]);
    EXPECT_GT(markInk.left(), headingInk.right());
    EXPECT_LT(markInk.bottom(), texts[0].origin.y());
    EXPECT_NEAR(markInk.top(), headingInk.top(), 0.5);
    // Three regular lines of one size, smaller than the heading, evenly spaced.
    for (int i = 2; i < 5; ++i) {
      ASSERT_EQ(texts[i].runs.size(), 1u);
      EXPECT_FALSE(texts[i].runs[0].bold);
      EXPECT_EQ(texts[i].runs[0].size, texts[2].runs[0].size);
      EXPECT_LT(texts[i].runs[0].size, heading[0].size);
    }
    EXPECT_NEAR(texts[4].origin.y() - texts[3].origin.y(),
                texts[3].origin.y() - texts[2].origin.y(), 1e-9);
  }
}

TEST(SvgTrademark, IsOneRegularLine) {
  const std::vector<TSvgText> texts = readSvgTexts(bpayTrademarkSvg());
  ASSERT_EQ(texts.size(), 1u);
  ASSERT_EQ(texts[0].runs.size(), 1u);
  EXPECT_FALSE(texts[0].runs[0].bold);
}

TEST(PictureByName, GivesEveryPictureTheLayoutsName) {
  for (const TPictureCase &c : kPictures) {
    const auto picture = pictureByName(QString::fromLatin1(c.name));
    ASSERT_TRUE(picture) << c.name;
    EXPECT_TRUE(picture->bitmap.isNull()) << c.name;
    EXPECT_EQ(picture->svg, c.svg()) << c.name;
  }
  const auto logo = pictureByName(QStringLiteral("bpay-logo"));
  ASSERT_TRUE(logo);
  EXPECT_EQ(logo->bitmap, bpayLogo());
  EXPECT_EQ(logo->svg, bpayLogoSvg());
}

TEST(PictureByName, KnowsNoOtherName) {
  for (const char *name : {"", "BPAY-LOGO", "bpay-logo ", "bpay", "bpay-instructions-CC", "logo"})
    EXPECT_FALSE(pictureByName(QString::fromLatin1(name))) << '"' << name << '"';
}

} // namespace
} // namespace TDInvoice::Artwork
