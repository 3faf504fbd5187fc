// A readable dump of a recorded page, lengths in millimetres rounded to hundredths.
#include "report/output/MetaPage.h"

#include <QJsonArray>
#include <QJsonObject>
#include <cmath>

namespace TDInvoice::Report {

namespace {

double roundMM(double mm) { return std::round(mm * 100.0) / 100.0; }

QString colourName(QRgb rgb) { return QColor::fromRgb(rgb).name(); }

QString alignName(TTextAlign align) {
  switch (align) {
  case TTextAlign::Right:
    return QStringLiteral("right");
  case TTextAlign::Center:
    return QStringLiteral("center");
  case TTextAlign::Left:
    break;
  }
  return QStringLiteral("left");
}

class Dumper {
public:
  explicit Dumper(const TMetaPage &page) : m_page(page) {}

  QJsonObject operator()(const TMetaFillRect &e) const {
    QJsonObject o = rect(QStringLiteral("fillRect"), e.rect);
    o[QStringLiteral("colour")] = e.brush.solid ? colourName(e.brush.color) : QString();
    return o;
  }
  QJsonObject operator()(const TMetaRectangle &e) const {
    return shape(QStringLiteral("rectangle"), e.rect, e.pen, e.brush);
  }
  QJsonObject operator()(const TMetaEllipse &e) const {
    return shape(QStringLiteral("ellipse"), e.rect, e.pen, e.brush);
  }
  QJsonObject operator()(const TMetaLine &e) const {
    QJsonObject o{{QStringLiteral("kind"), QStringLiteral("line")},
                  {QStringLiteral("x"), mmX(e.from.x())},
                  {QStringLiteral("y"), mmY(e.from.y())},
                  {QStringLiteral("x2"), mmX(e.to.x())},
                  {QStringLiteral("y2"), mmY(e.to.y())}};
    addPen(o, e.pen);
    return o;
  }
  QJsonObject operator()(const TMetaText &e) const {
    return {{QStringLiteral("kind"), QStringLiteral("text")},
            {QStringLiteral("x"), mmX(e.anchor.x())},
            {QStringLiteral("y"), mmY(e.anchor.y())},
            {QStringLiteral("align"), alignName(e.align)},
            {QStringLiteral("text"), e.text},
            {QStringLiteral("font"), font(e.font)},
            {QStringLiteral("colour"), colourName(e.font.color)}};
  }
  QJsonObject operator()(const TMetaImage &e) const {
    QJsonObject o = rect(QStringLiteral("image"), e.rect);
    o[QStringLiteral("pixels")] = QJsonArray{e.image.width(), e.image.height()};
    return o;
  }
  QJsonObject operator()(const TMetaPicture &e) const {
    QJsonObject o = rect(QStringLiteral("picture"), e.rect);
    o[QStringLiteral("bytes")] = static_cast<qint64>(e.svg.size());
    return o;
  }
  QJsonObject operator()(const TMetaClip &e) const {
    if (!e.on)
      return {{QStringLiteral("kind"), QStringLiteral("clipOff")}};
    return rect(QStringLiteral("clip"), e.rect);
  }

private:
  double mmX(double v) const { return roundMM(v * 25.4 / m_page.dpiX()); }
  double mmY(double v) const { return roundMM(v * 25.4 / m_page.dpiY()); }

  QJsonObject rect(const QString &kind, const QRect &r) const {
    return {{QStringLiteral("kind"), kind},
            {QStringLiteral("x"), mmX(r.x())},
            {QStringLiteral("y"), mmY(r.y())},
            {QStringLiteral("width"), mmX(r.width())},
            {QStringLiteral("height"), mmY(r.height())}};
  }
  QJsonObject shape(const QString &kind, const QRect &r, const TPenSpec &pen,
                    const TBrushSpec &brush) const {
    QJsonObject o = rect(kind, r);
    addPen(o, pen);
    o[QStringLiteral("fill")] = brush.solid ? colourName(brush.color) : QString();
    return o;
  }
  static void addPen(QJsonObject &o, const TPenSpec &pen) {
    o[QStringLiteral("colour")] = colourName(pen.color);
    o[QStringLiteral("penWidth")] = pen.width;
    o[QStringLiteral("penStyle")] = static_cast<int>(pen.style);
  }
  static QJsonObject font(const TFontSpec &f) {
    return {{QStringLiteral("family"), f.family},       {QStringLiteral("size"), f.pointSize},
            {QStringLiteral("bold"), f.bold},           {QStringLiteral("italic"), f.italic},
            {QStringLiteral("underline"), f.underline}, {QStringLiteral("strikeOut"), f.strikeOut}};
  }

  const TMetaPage &m_page;
};

} // namespace

QJsonDocument pageToJson(const TMetaPage &page) {
  const QSizeF mm = page.sizeMM();
  QJsonArray elements;
  const Dumper dumper(page);
  for (const auto &element : page.elements())
    elements.append(std::visit(dumper, element));
  return QJsonDocument(QJsonObject{
      {QStringLiteral("width"), roundMM(mm.width())},
      {QStringLiteral("height"), roundMM(mm.height())},
      {QStringLiteral("dpi"), QJsonArray{page.dpiX(), page.dpiY()}},
      {QStringLiteral("elements"), elements},
  });
}

} // namespace TDInvoice::Report
