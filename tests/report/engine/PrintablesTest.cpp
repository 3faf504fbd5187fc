// What each printable draws on the recorded page, in device units at 96 dpi.
#include "EngineTestSupport.h"

#include "report/engine/PlainTextFormatter.h"
#include "report/output/RecordingCanvas.h"

#include <cmath>

namespace TDInvoice::Testing {
namespace {

// One detail band at the top margin (y 100) of a one-record report; printables are placed
// on it at band offsets (x 150).
class PrintablesTest : public EngineTest {
protected:
  PrintablesTest() {
    report->setDataSet(data);
    detail = addBand(*report, {.name = "D", .type = TReportBandType::rbDetail, .height = 400});
    fillInvoices({1});
  }
  TMetaPage onlyPage() {
    printer = record();
    EXPECT_EQ(printer->availablePages(), 1);
    auto page = printer->getPage(1);
    return page ? *page : TMetaPage();
  }
  // A box at band offsets, in device units.
  static QRect box(double left, double top, double width, double height) {
    const double x = 150 + left;
    const double y = 100 + top;
    return QRect(dev(x), dev(y), dev(x + width) - dev(x), dev(y + height) - dev(y));
  }

  TReportBand *detail;
  std::unique_ptr<TReportPrinter> printer;
};

TEST_F(PrintablesTest, BandFillsItsRectangleWithItsColour) {
  detail->setColor(qRgb(0, 0, 255));
  const auto fills = elementsOf<TMetaFillRect>(onlyPage());
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills[0].brush.color, qRgb(0, 0, 255));
  EXPECT_EQ(fills[0].rect.top(), dev(100));
  EXPECT_EQ(fills[0].rect.left(), dev(150));
  EXPECT_EQ(fills[0].rect.height(), dev(500) - dev(100));
}

TEST_F(PrintablesTest, DashedBandFramePrintsAsASolidStripOfOnePoint) {
  detail->setFrame(
      makeFrame(TFrameSide::Top | TFrameSide::Bottom, 1, Qt::DashLine, qRgb(255, 0, 0)));
  std::vector<QRect> strips;
  for (const TMetaFillRect &fill : elementsOf<TMetaFillRect>(onlyPage()))
    if (fill.brush.color == qRgb(255, 0, 0)) {
      EXPECT_TRUE(fill.brush.solid);
      strips.push_back(fill.rect);
    }
  ASSERT_EQ(strips.size(), 2u);
  const int right = dev(150 + detail->width());
  EXPECT_EQ(strips[0], QRect(dev(150), dev(100), right - dev(150), 1));
  // The frame's rectangle reaches one native unit below the band.
  EXPECT_EQ(strips[1], QRect(dev(150), dev(100 + 400 + 1) - 1, right - dev(150), 1));
}

struct TShapeCase {
  TReportShapeType shape;
  std::vector<std::pair<QPoint, QPoint>> lines; // in band-relative native units
  bool rectangle;
  bool ellipse;
};

TEST_F(PrintablesTest, ShapesDrawTheirOutlineInTheBox) {
  const double l = 100, t = 50, w = 200, h = 80;
  auto at = [](double x, double y) { return QPoint(dev(150 + x), dev(100 + y)); };
  const TShapeCase cases[] = {
      {TReportShapeType::stRectangle, {}, true, false},
      {TReportShapeType::stCircle, {}, false, true},
      {TReportShapeType::stVertLine, {{at(l + w / 2, t), at(l + w / 2, t + h)}}, false, false},
      {TReportShapeType::stHorLine, {{at(l, t + h / 2), at(l + w, t + h / 2)}}, false, false},
      {TReportShapeType::stTopAndBottom,
       {{at(l, t), at(l + w, t)}, {at(l, t + h), at(l + w, t + h)}},
       false,
       false},
      {TReportShapeType::stRightAndLeft,
       {{at(l, t), at(l, t + h)}, {at(l + w, t), at(l + w, t + h)}},
       false,
       false},
  };
  TReportShape *shape = addShape(*detail, {.name = "s",
                                           .box = {l, t, w, h},
                                           .pen = {qRgb(1, 2, 3), 2, Qt::SolidLine},
                                           .brush = {qRgb(192, 192, 192), true}});
  for (const TShapeCase &c : cases) {
    shape->setShape(c.shape);
    const TMetaPage page = onlyPage();
    const auto lines = elementsOf<TMetaLine>(page);
    ASSERT_EQ(lines.size(), c.lines.size()) << int(c.shape);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].from, c.lines[i].first) << int(c.shape);
      EXPECT_EQ(lines[i].to, c.lines[i].second) << int(c.shape);
      EXPECT_EQ(lines[i].pen.width, 2); // device units, not scaled
    }
    const auto rectangles = elementsOf<TMetaRectangle>(page);
    ASSERT_EQ(rectangles.size(), c.rectangle ? 1u : 0u);
    if (c.rectangle) {
      EXPECT_EQ(rectangles[0].rect, box(l, t, w, h));
      EXPECT_EQ(rectangles[0].brush.color, qRgb(192, 192, 192));
    }
    ASSERT_EQ(elementsOf<TMetaEllipse>(page).size(), c.ellipse ? 1u : 0u);
    if (c.ellipse) {
      EXPECT_EQ(elementsOf<TMetaEllipse>(page)[0].rect, box(l, t, w, h));
    }
  }
}

TEST_F(PrintablesTest, NewShapeIsSixtyFivePixelsSquare) {
  TReportShape shape;
  EXPECT_EQ(shape.Width(), 65);
  EXPECT_EQ(shape.Height(), 65);
}

TEST_F(PrintablesTest, OpaqueLabelFillsItsBoxTransparentShowsWhatIsBehind) {
  addShape(*detail,
           {.name = "silver", .box = {0, 0, 300, 60}, .brush = {qRgb(192, 192, 192), true}});
  TReportLabel *label = addLabel(*detail, {.name = "l",
                                           .box = {10, 5, 200, 45},
                                           .options = TLabelOption::Transparent,
                                           .caption = "To:"});
  for (bool transparent : {true, false}) {
    label->setTransparent(transparent);
    const TMetaPage page = onlyPage();
    // Elements in drawing order: the band fill, the silver box, then the label.
    const auto &elements = page.elements();
    auto text = std::find_if(elements.begin(), elements.end(), [](const TMetaElement &e) {
      return std::holds_alternative<TMetaText>(e);
    });
    ASSERT_NE(text, elements.end());
    const auto *before = std::get_if<TMetaFillRect>(&*(text - 1));
    if (transparent) {
      EXPECT_EQ(before, nullptr);
      EXPECT_TRUE(std::holds_alternative<TMetaRectangle>(*(text - 1)));
    } else {
      ASSERT_NE(before, nullptr);
      EXPECT_EQ(before->rect, box(10, 5, label->nativeWidth(), 45));
      EXPECT_EQ(before->brush.color, qRgb(255, 255, 255));
    }
  }
}

struct TAnchorCase {
  TAlignment alignment;
  TTextAlign drawn;
  double anchor; // band-relative native x for a label at 100 wide 300
};

TEST_F(PrintablesTest, TextIsAnchoredByItsAlignment) {
  const TAnchorCase cases[] = {{TAlignment::taLeftJustify, TTextAlign::Left, 100},
                               {TAlignment::taRightJustify, TTextAlign::Right, 400},
                               {TAlignment::taCenter, TTextAlign::Center, 250}};
  TReportLabel *label =
      addLabel(*detail, {.name = "l",
                         .box = {100, 20, 300, 45},
                         .font = makeFont("Arial", 10, TFontStyle::Bold, qRgb(9, 8, 7)),
                         .caption = "Anchored"});
  for (const TAnchorCase &c : cases) {
    label->setAlignment(c.alignment);
    const auto texts = elementsOf<TMetaText>(onlyPage());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].anchor, QPoint(dev(150 + c.anchor), dev(120)));
    EXPECT_EQ(texts[0].align, c.drawn);
    EXPECT_TRUE(texts[0].font.bold);
    EXPECT_EQ(texts[0].font.color, qRgb(9, 8, 7));
  }
}

TEST_F(PrintablesTest, TopAndLeftFrameLinesMoveTheTextClear) {
  addLabel(*detail, {.name = "l",
                     .box = {100, 20, 300, 45},
                     .caption = "Framed",
                     .frame = makeFrame(TFrameSide::Top | TFrameSide::Left, 1, Qt::SolidLine,
                                        qRgb(0, 128, 0))});
  const TMetaPage page = onlyPage();
  const auto texts = elementsOf<TMetaText>(page);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].anchor, QPoint(dev(150 + 100 + 4), dev(100 + 20 + 4)));
  int green = 0;
  for (const TMetaFillRect &fill : elementsOf<TMetaFillRect>(page))
    green += fill.brush.color == qRgb(0, 128, 0) ? 1 : 0;
  EXPECT_EQ(green, 2);
}

TEST_F(PrintablesTest, DisabledPrintableDrawsNothing) {
  TReportLabel *label = addLabel(*detail, {.name = "l", .caption = "hidden"});
  label->setEnabled(false);
  EXPECT_TRUE(elementsOf<TMetaText>(onlyPage()).empty());
}

TEST_F(PrintablesTest, MemoPrintsItsLinesOnePerLine) {
  addMemo(*detail, {.name = "m",
                    .box = {0, 0, 600, 200},
                    .options = TLabelOption::WordWrap,
                    .lines = {"first", "second", "third"}});
  const auto texts = elementsOf<TMetaText>(onlyPage());
  ASSERT_EQ(texts.size(), 3u);
  const double line = cellHeight("Arial", 13) * 254.0 / 96.0;
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(texts[static_cast<std::size_t>(i)].anchor.y(), dev(100 + i * line));
  EXPECT_EQ(texts[2].text, QStringLiteral("third"));
}

TEST_F(PrintablesTest, StretchedBitmapFillsItsBox) {
  QImage image(10, 20, QImage::Format_RGB32);
  image.fill(Qt::red);
  addImage(
      *detail,
      {.name = "i", .box = {40, 30, 300, 100}, .options = TImageOption::Stretch, .bitmap = image});
  const TMetaPage page = onlyPage();
  const auto images = elementsOf<TMetaImage>(page);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].rect, box(40, 30, 300, 100));
  EXPECT_TRUE(elementsOf<TMetaClip>(page).empty());
}

TEST_F(PrintablesTest, UnstretchedPictureKeepsItsSizeClippedAndCentred) {
  QImage image(40, 20, QImage::Format_RGB32);
  image.fill(Qt::blue);
  addImage(
      *detail,
      {.name = "i", .box = {0, 0, 300, 200}, .options = TImageOption::Center, .bitmap = image});
  const TMetaPage page = onlyPage();
  const QRect target = box(0, 0, 300, 200);
  const auto clips = elementsOf<TMetaClip>(page);
  ASSERT_EQ(clips.size(), 2u);
  EXPECT_TRUE(clips[0].on);
  EXPECT_EQ(clips[0].rect, target);
  EXPECT_FALSE(clips[1].on);
  const auto images = elementsOf<TMetaImage>(page);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].rect.size(), QSize(40, 20)); // 96 ppi pixels at 96 dpi
  EXPECT_EQ(images[0].rect.topLeft(),
            target.topLeft() + QPoint((target.width() - 40) / 2, (target.height() - 20) / 2));
}

TEST_F(PrintablesTest, VectorPictureIsRecordedAsAPicture) {
  const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='30' height='10'>"
                         "<rect width='30' height='10' fill='black'/></svg>";
  TReportImage *image =
      addImage(*detail, {.name = "i",
                         .box = {0, 0, 100, 100},
                         .options = TImageOption::Stretch | TImageOption::AutoSize,
                         .svg = svg});
  EXPECT_EQ(image->Width(), 30);
  EXPECT_EQ(image->Height(), 10);
  const auto pictures = elementsOf<TMetaPicture>(onlyPage());
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].svg, svg);
}

// Rich text through the plain formatter: one paragraph per line.
class RichTextTest : public PrintablesTest {
protected:
  RichTextTest() {
    detail->Size().setNativeValue(TReportBandSize::LengthIndex, 100);
    after = addBand(*report, {.name = "A", .type = TReportBandType::rbSummary, .height = 50});
    marker(*after);
    rich = addRichText(*detail,
                       {.name = "r",
                        .box = {0, 0, 1000, line() * 1.5},
                        .frame = makeFrame(TFrameSide::Top, 1, Qt::SolidLine, qRgb(200, 0, 0))});
  }
  static double line() { return cellHeight("Arial", 13) * 254.0 / 96.0; }
  static QByteArray paragraphs(int count) {
    QStringList parts;
    for (int i = 1; i <= count; ++i)
      parts << QStringLiteral("Paragraph %1").arg(i);
    return parts.join(QStringLiteral("\r\n")).toLatin1();
  }
  int frames(const TMetaPage &page) const {
    int count = 0;
    for (const TMetaFillRect &fill : elementsOf<TMetaFillRect>(page))
      count += fill.brush.color == qRgb(200, 0, 0) ? 1 : 0;
    return count;
  }
  TReportBand *after;
  TReportRichText *rich;
};

TEST_F(RichTextTest, WithoutStretchPrintsWhatFitsAndItsFrame) {
  rich->setLines(paragraphs(3));
  const TMetaPage page = onlyPage();
  const auto texts = elementsOf<TMetaText>(page);
  ASSERT_EQ(texts.size(), 2u); // one paragraph and the next band's marker
  EXPECT_EQ(texts[0].text, QStringLiteral("Paragraph 1"));
  EXPECT_EQ(frames(page), 1);
}

TEST_F(RichTextTest, StretchGrowsTheBandInStepsOfFiveMillimetres) {
  rich->setAutoStretch(true);
  rich->setLines(paragraphs(4));
  const TMetaPage page = onlyPage();
  int printed = 0;
  for (const TMetaText &text : elementsOf<TMetaText>(page))
    printed += text.text.startsWith(QStringLiteral("Paragraph")) ? 1 : 0;
  EXPECT_EQ(printed, 4); // each once
  // Enough 50-unit steps for four lines in the box.
  const int steps = static_cast<int>(std::ceil((4 * line() - line() * 1.5) / 50));
  const auto marker = findOne(*printer, "A");
  ASSERT_TRUE(marker);
  EXPECT_EQ(marker->text.anchor.y(), dev(100 + 100 + steps * 50));
  EXPECT_EQ(frames(page), 0); // no frame once it stretched
}

TEST_F(RichTextTest, StretchContinuesOnTheNextPageFromTheFirstCharacterNotPrinted) {
  detail->Size().setNativeValue(TReportBandSize::LengthIndex, 2600);
  rich->Size().setNativeValue(TReportPrintableSize::TopIndex, 2500);
  rich->setAutoStretch(true);
  rich->setLines(paragraphs(20));
  auto recorded = record();
  ASSERT_GE(recorded->availablePages(), 2);
  std::vector<int> pageOf;
  for (int i = 1; i <= 20; ++i) {
    const auto found = findOne(*recorded, QStringLiteral("Paragraph %1").arg(i));
    ASSERT_TRUE(found) << i;
    pageOf.push_back(found->page);
  }
  // In order, each page going on where the last stopped, at the control's own top.
  EXPECT_TRUE(std::is_sorted(pageOf.begin(), pageOf.end()));
  EXPECT_EQ(pageOf.front(), 1);
  EXPECT_GE(pageOf.back(), 2);
  for (int i = 1; i < 20; ++i) {
    if (pageOf[static_cast<std::size_t>(i)] != pageOf[static_cast<std::size_t>(i - 1)]) {
      EXPECT_EQ(findOne(*recorded, QStringLiteral("Paragraph %1").arg(i + 1))->text.anchor.y(),
                dev(100 + 2500))
          << i + 1;
    }
  }
}

TEST(PlainTextFormatter, ReportsTheFirstCharacterThatDidNotFit) {
  TRecordingCanvas canvas(QSize(800, 1000), 96, 96);
  TPlainTextFormatter formatter;
  const QByteArray text = "one\r\ntwo\r\nthree";
  formatter.setContent(text, makeFont("Arial", 10), TTextAlign::Left);
  EXPECT_EQ(formatter.textLength(), text.size());
  const int cell = cellHeight("Arial", 13);
  EXPECT_EQ(formatter.format(canvas, QRect(0, 0, 500, cell * 2), 0, false), 10); // "three"
  EXPECT_EQ(formatter.format(canvas, QRect(0, 0, 500, cell * 2), 10, false), text.size());
  EXPECT_EQ(formatter.format(canvas, QRect(0, 0, 500, cell - 1), 0, false), 0);
  EXPECT_TRUE(canvas.page().elements().empty());
  formatter.format(canvas, QRect(0, 0, 500, cell * 3), 6, true); // from inside "two"
  const auto texts = elementsOf<TMetaText>(canvas.page());
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, QStringLiteral("wo"));
  EXPECT_EQ(texts[1].anchor.y(), cell);
}

} // namespace
} // namespace TDInvoice::Testing
