#include "invoice/artwork/BpayLogo.h"

#include <QPainter>
#include <QString>

#include <cmath>
#include <initializer_list>

namespace TDInvoice::Artwork {
namespace {

using Shapes = std::vector<TLogoShape>;

// Stroke weights of one letter: straight stems, horizontal bars, and the thickest part of a
// round stroke (slightly heavier than a stem, so curves do not look thinner than straights).
struct TWeights {
  qreal stem;
  qreal bar;
  qreal curve;
};

// The mark's grid, top to bottom: a margin, the large B, a rule, the word PAY, a margin.
constexpr qreal kCornerRadius = 12;
constexpr qreal kSideMargin = 17;
constexpr QRectF kLetterB{27.5, 18, 83, 104};
constexpr TWeights kWeightB{21, 16, 22};
constexpr QRectF kRule{kSideMargin, 136, 135 - 2 * kSideMargin, 4};
constexpr qreal kWordTop = 152;
constexpr qreal kCapHeight = 36;
constexpr TWeights kWeightPay{8.5, 7.5, 9};

void add(Shapes &shapes, const QPainterPath &path, QRgb colour) {
  shapes.push_back({path, colour});
}

QPainterPath rectangle(const QRectF &r) {
  QPainterPath path;
  path.addRect(r);
  return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points)));
  path.closeSubpath();
  return path;
}

// A bowl: straight on the left, its right end half an ellipse of horizontal radius rx.
QPainterPath bowl(const QRectF &r, qreal rx) {
  QPainterPath path;
  path.moveTo(r.topLeft());
  path.lineTo(r.right() - rx, r.top());
  path.arcTo(QRectF(r.right() - 2 * rx, r.top(), 2 * rx, r.height()), 90, -180);
  path.lineTo(r.bottomLeft());
  path.closeSubpath();
  return path;
}

// The counter inside a bowl: inset by the stem on the left, the bars above and below and the
// curve's weight on the right. Its end stays round even where the bowl is flat and low.
QPainterPath counter(const QRectF &outer, qreal outerRx, const TWeights &w, qreal topBar,
                     qreal bottomBar) {
  const QRectF inner(outer.left() + w.stem, outer.top() + topBar, outer.width() - w.stem - w.curve,
                     outer.height() - topBar - bottomBar);
  const qreal rx = std::min(std::max(outerRx - w.curve, inner.height() / 2), inner.width());
  return bowl(inner, rx);
}

// Horizontal width of a slanted stroke whose perpendicular weight is `weight`.
qreal slantedWidth(qreal weight, qreal dx, qreal dy) { return weight * std::hypot(dx, dy) / dy; }

// The large B: two bowls on a common stem, the lower one wider, sharing the middle bar.
void addB(Shapes &shapes, const QRectF &box, const TWeights &w) {
  const qreal middleBar = w.bar * 0.85;
  const qreal counters = box.height() - 2 * w.bar - middleBar;
  const qreal upperCounter = counters * 0.46;
  const QRectF upper(box.left(), box.top(), box.width() * 0.91, w.bar + upperCounter + middleBar);
  const QRectF lower(box.left(), upper.bottom() - middleBar, box.width(),
                     box.bottom() - upper.bottom() + middleBar);
  const qreal upperRx = upper.height() / 2;
  const qreal lowerRx = lower.height() / 2;
  add(shapes, bowl(upper, upperRx), kWhite);
  add(shapes, bowl(lower, lowerRx), kWhite);
  add(shapes, counter(upper, upperRx, w, w.bar, middleBar), kDarkBlue);
  add(shapes, counter(lower, lowerRx, w, middleBar, w.bar), kDarkBlue);
}

// P: a stem with a bowl over its upper 60 %. Returns the letter's width.
qreal addP(Shapes &shapes, QPointF at, qreal cap, const TWeights &w) {
  const qreal width = cap * 0.74;
  const QRectF bowlBox(at.x(), at.y(), width, cap * 0.61);
  const qreal rx = bowlBox.height() / 2;
  add(shapes, rectangle(QRectF(at.x(), at.y(), w.stem, cap)), kWhite);
  add(shapes, bowl(bowlBox, rx), kWhite);
  add(shapes, counter(bowlBox, rx, w, w.bar, w.bar * 0.9), kDarkBlue);
  return width;
}

// A: two legs meeting in a flat apex, a bar low across them. Returns the letter's width.
qreal addA(Shapes &shapes, QPointF at, qreal cap, const TWeights &w) {
  const qreal width = cap * 0.98;
  const qreal left = at.x(), right = left + width, top = at.y(), bottom = top + cap;
  const qreal centre = left + width / 2;
  const qreal apex = w.stem * 1.1;
  const qreal dx = centre - apex / 2 - left;
  const qreal leg = slantedWidth(w.stem, dx, cap);
  // Inner edges of the legs, parallel to the outer ones.
  const auto innerLeft = [&](qreal y) { return left + leg + (bottom - y) * dx / cap; };
  const auto innerRight = [&](qreal y) { return right - leg - (bottom - y) * dx / cap; };
  const qreal barBottom = top + cap * 0.76;
  const qreal barTop = barBottom - w.bar;
  const qreal innerApex = bottom - (centre - left - leg) * cap / dx;
  add(shapes,
      polygon({{left, bottom},
               {centre - apex / 2, top},
               {centre + apex / 2, top},
               {right, bottom},
               {right - leg, bottom},
               {innerRight(barBottom), barBottom},
               {innerLeft(barBottom), barBottom},
               {left + leg, bottom}}),
      kWhite);
  add(shapes,
      polygon({{innerLeft(barTop), barTop}, {innerRight(barTop), barTop}, {centre, innerApex}}),
      kDarkBlue);
  return width;
}

// Y: two arms meeting on a stem a little below half height. Returns the letter's width.
qreal addY(Shapes &shapes, QPointF at, qreal cap, const TWeights &w) {
  const qreal width = cap * 0.94;
  const qreal left = at.x(), right = left + width, top = at.y(), bottom = top + cap;
  const qreal centre = left + width / 2;
  const qreal stem = w.stem * 1.05;
  const qreal junction = top + cap * 0.52;
  const qreal dx = centre - stem / 2 - left;
  const qreal dy = junction - top;
  const qreal arm = slantedWidth(w.stem, dx, dy);
  const qreal crotch = top + (centre - left - arm) * dy / dx;
  add(shapes,
      polygon({{left, top},
               {left + arm, top},
               {centre, crotch},
               {right - arm, top},
               {right, top},
               {centre + stem / 2, junction},
               {centre + stem / 2, bottom},
               {centre - stem / 2, bottom},
               {centre - stem / 2, junction}}),
      kWhite);
  return width;
}

// The word PAY, centred under the B and spaced by eye: the open sides of A and Y need less
// room between them than the P's bowl and the A's leg.
void addWordPay(Shapes &shapes) {
  constexpr qreal pa = 2.5, ay = -2.0;
  Shapes word;
  qreal x = 0;
  x += addP(word, {x, kWordTop}, kCapHeight, kWeightPay) + pa;
  x += addA(word, {x, kWordTop}, kCapHeight, kWeightPay) + ay;
  x += addY(word, {x, kWordTop}, kCapHeight, kWeightPay);
  const qreal shift = kRule.center().x() - x / 2;
  for (TLogoShape &shape : word) {
    shape.path.translate(shift, 0);
    shapes.push_back(shape);
  }
}

Shapes design() {
  Shapes shapes;
  const QRectF grid(QPointF(0, 0), QSizeF(kBpayLogoSize));
  add(shapes, rectangle(grid), kWhite);
  QPainterPath tile;
  tile.addRoundedRect(grid, kCornerRadius, kCornerRadius);
  add(shapes, tile, kDarkBlue);
  addB(shapes, kLetterB, kWeightB);
  add(shapes, rectangle(kRule), kWhite);
  addWordPay(shapes);
  return shapes;
}

QString number(qreal value) {
  QString text = QString::number(value, 'f', 3);
  while (text.endsWith(QLatin1Char('0')))
    text.chop(1);
  if (text.endsWith(QLatin1Char('.')))
    text.chop(1);
  return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString point(const QPainterPath::Element &e) {
  return number(e.x) + QLatin1Char(' ') + number(e.y);
}

// SVG path data of a QPainterPath: moves, lines and cubic curves, each subpath closed.
QString pathData(const QPainterPath &path) {
  QString d;
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    switch (e.type) {
    case QPainterPath::MoveToElement:
      if (i > 0)
        d += QLatin1String("Z");
      d += QLatin1String("M") + point(e);
      break;
    case QPainterPath::LineToElement:
      d += QLatin1String("L") + point(e);
      break;
    case QPainterPath::CurveToElement:
      d += QLatin1String("C") + point(e) + QLatin1Char(' ') + point(path.elementAt(i + 1)) +
           QLatin1Char(' ') + point(path.elementAt(i + 2));
      i += 2;
      break;
    case QPainterPath::CurveToDataElement:
      break;
    }
  }
  return d + QLatin1String("Z");
}

QString hexColour(QRgb colour) { return QColor(colour).name(QColor::HexRgb); }

} // namespace

const std::vector<TLogoShape> &bpayLogoShapes() {
  static const Shapes shapes = design();
  return shapes;
}

void paintBpayLogo(QPainter &painter, const QRectF &target) {
  painter.save();
  painter.translate(target.topLeft());
  painter.scale(target.width() / kBpayLogoSize.width(), target.height() / kBpayLogoSize.height());
  painter.setPen(Qt::NoPen);
  for (const TLogoShape &shape : bpayLogoShapes())
    painter.fillPath(shape.path, QColor(shape.colour));
  painter.restore();
}

QImage renderBpayLogo(const QSize &size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(kWhite);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  paintBpayLogo(painter, QRectF(QPointF(0, 0), QSizeF(size)));
  return image;
}

QImage toTwoColours(const QImage &rendering) {
  const QImage source = rendering.convertToFormat(QImage::Format_RGB32);
  QImage bitmap(source.size(), QImage::Format_Mono);
  bitmap.setColorTable({kDarkBlue, kWhite});
  // Red runs from 0 (dark blue) to 255 (white), so it measures the white coverage directly.
  const int middle = (qRed(kDarkBlue) + qRed(kWhite)) / 2;
  for (int y = 0; y < source.height(); ++y) {
    const auto *line = reinterpret_cast<const QRgb *>(source.constScanLine(y));
    for (int x = 0; x < source.width(); ++x)
      bitmap.setPixel(x, y, qRed(line[x]) > middle ? 1 : 0);
  }
  return bitmap;
}

QByteArray bpayLogoSvg() {
  QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                               "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" "
                               "baseProfile=\"tiny\" width=\"%1\" height=\"%2\" "
                               "viewBox=\"0 0 %1 %2\">\n"
                               "<title>BPAY</title>\n")
                    .arg(kBpayLogoSize.width())
                    .arg(kBpayLogoSize.height());
  for (const TLogoShape &shape : bpayLogoShapes())
    svg += QStringLiteral("<path fill=\"%1\" d=\"%2\"/>\n")
               .arg(hexColour(shape.colour), pathData(shape.path));
  svg += QLatin1String("</svg>\n");
  return svg.toUtf8();
}

} // namespace TDInvoice::Artwork
