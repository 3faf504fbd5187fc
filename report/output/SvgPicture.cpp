#include "report/output/SvgPicture.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <cmath>

namespace TDInvoice::Report {
namespace {

// Text is set at this many times its size and scaled back down, so that fractional font sizes
// keep their exact proportions (pixel sizes are whole numbers).
constexpr double kTextScale = 64;

struct TStyle {
  QString family;
  double size = 16;
  bool bold = false;
  bool italic = false;
  std::optional<QRgb> fill = qRgb(0, 0, 0);
  bool stroked = false;
  // Whether text below this element can be placed by us: no transform, opacity, CSS style,
  // clipping or other effect on the way down.
  bool plain = true;
};

std::optional<double> number(QStringView text) {
  QStringView t = text.trimmed();
  if (t.endsWith(u"px"))
    t.chop(2);
  bool ok = false;
  const double value = t.toDouble(&ok);
  return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// Applies the presentation attribute name=value; false when we cannot honour it.
bool applyStyle(TStyle &style, QStringView name, QStringView value) {
  const QStringView v = value.trimmed();
  if (name == u"font-family") {
    QString family = v.split(u',').front().trimmed().toString();
    if (family.size() >= 2 && (family.front() == u'\'' || family.front() == u'"'))
      family = family.mid(1, family.size() - 2);
    style.family = family;
    return !family.isEmpty();
  }
  if (name == u"font-size") {
    const auto size = number(v);
    if (!size || *size <= 0)
      return false;
    style.size = *size;
    return true;
  }
  if (name == u"font-weight") {
    if (v == u"bold" || v == u"bolder")
      style.bold = true;
    else if (v == u"normal" || v == u"lighter")
      style.bold = false;
    else if (const auto weight = number(v))
      style.bold = *weight >= 600;
    else
      return false;
    return true;
  }
  if (name == u"font-style") {
    if (v != u"normal" && v != u"italic" && v != u"oblique")
      return false;
    style.italic = v != u"normal";
    return true;
  }
  if (name == u"font-variant")
    return v == u"normal";
  if (name == u"fill") {
    if (v == u"none") {
      style.fill.reset();
      return true;
    }
    const QColor colour = QColor::fromString(v);
    if (!colour.isValid())
      return false;
    style.fill = colour.rgb();
    return true;
  }
  if (name == u"stroke") {
    style.stroked = v != u"none";
    return true;
  }
  return false;
}

bool isBookkeeping(QStringView name) {
  return name == u"id" || name == u"version" || name == u"baseProfile" ||
         name.startsWith(u"xmlns");
}

// The root's user space: its viewBox, else its width and height.
std::optional<QRectF> viewBoxOf(const QXmlStreamAttributes &attributes) {
  if (attributes.hasAttribute(QStringLiteral("viewBox"))) {
    QString text = attributes.value(QStringLiteral("viewBox")).toString();
    text.replace(u',', u' ');
    const QStringList parts = text.simplified().split(u' ');
    if (parts.size() != 4)
      return std::nullopt;
    double v[4];
    for (int i = 0; i < 4; ++i) {
      const auto n = number(parts[i]);
      if (!n)
        return std::nullopt;
      v[i] = *n;
    }
    if (v[2] <= 0 || v[3] <= 0)
      return std::nullopt;
    return QRectF(v[0], v[1], v[2], v[3]);
  }
  const auto width = number(attributes.value(QStringLiteral("width")));
  const auto height = number(attributes.value(QStringLiteral("height")));
  if (!width || !height || *width <= 0 || *height <= 0)
    return std::nullopt;
  return QRectF(0, 0, *width, *height);
}

// Default white-space handling of SVG text: line breaks dropped, tabs made blanks, blanks
// collapsed, none at either end of the element.
void normaliseSpaces(TSvgTextLine &line) {
  bool lastWasSpace = true;
  for (TSvgTextRun &run : line.runs) {
    QString out;
    out.reserve(run.text.size());
    for (QChar c : std::as_const(run.text)) {
      if (c == u'\n' || c == u'\r')
        continue;
      if (c == u'\t')
        c = u' ';
      if (c == u' ' && lastWasSpace)
        continue;
      out += c;
      lastWasSpace = c == u' ';
    }
    run.text = out;
  }
  for (auto run = line.runs.rbegin(); run != line.runs.rend(); ++run) {
    if (run->text.isEmpty())
      continue;
    if (run->text.endsWith(u' '))
      run->text.chop(1);
    break;
  }
  std::erase_if(line.runs, [](const TSvgTextRun &run) { return run.text.isEmpty(); });
}

void renderWhole(QPainter &painter, const QByteArray &svg, const QRectF &target) {
  QSvgRenderer renderer(svg);
  if (renderer.isValid())
    renderer.render(&painter, target);
}

} // namespace

std::optional<TSvgSplit> splitSvgText(const QByteArray &svg) {
  const QString source = QString::fromUtf8(svg);
  QXmlStreamReader xml(source);
  TSvgSplit split;
  std::vector<TStyle> styles;
  std::vector<std::pair<qint64, qint64>> textSpans;
  qint64 tokenStart = 0;
  qint64 textStart = 0;
  int textDepth = 0; // 1 inside a text element, more inside its tspans
  bool sawRoot = false;
  bool styleSheet = false;
  TSvgTextLine line;
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
      const QStringView name = xml.name();
      const QXmlStreamAttributes attributes = xml.attributes();
      TStyle style = styles.empty() ? TStyle{} : styles.back();
      if (!sawRoot) {
        if (name != u"svg")
          return std::nullopt;
        sawRoot = true;
        const auto box = viewBoxOf(attributes);
        if (!box)
          return std::nullopt;
        split.viewBox = *box;
      }
      if (name == u"style")
        styleSheet = true;
      if (textDepth == 0 && name != u"text") {
        const bool container = name == u"g" || (name == u"svg" && styles.empty());
        for (const QXmlStreamAttribute &a : attributes) {
          const QStringView n = a.qualifiedName();
          if (isBookkeeping(n) || (styles.empty() && (n == u"width" || n == u"height" ||
                                                        n == u"viewBox")))
            continue;
          if (!applyStyle(style, n, a.value()))
            style.plain = false;
        }
        if (!container)
          style.plain = false; // text in defs, links, switches, nested views: not ours to place
        styles.push_back(style);
      } else {
        if (textDepth == 0) {
          if (!style.plain)
            return std::nullopt;
          textStart = tokenStart;
          line = {};
        } else if (name != u"tspan") {
          return std::nullopt;
        }
        for (const QXmlStreamAttribute &a : attributes) {
          const QStringView n = a.qualifiedName();
          if (isBookkeeping(n))
            continue;
          if (textDepth == 0 && (n == u"x" || n == u"y")) {
            const auto v = number(a.value());
            if (!v)
              return std::nullopt;
            (n == u"x" ? line.origin.rx() : line.origin.ry()) = *v;
            continue;
          }
          if (!applyStyle(style, n, a.value()))
            return std::nullopt;
        }
        if (style.stroked || style.family.isEmpty())
          return std::nullopt;
        styles.push_back(style);
        ++textDepth;
      }
    } else if (token == QXmlStreamReader::Characters && textDepth > 0) {
      const TStyle &style = styles.back();
      line.runs.push_back({xml.text().toString(), style.family, style.size, style.bold,
                           style.italic, style.fill});
    } else if (token == QXmlStreamReader::EndElement) {
      if (!styles.empty())
        styles.pop_back();
      if (textDepth > 0 && --textDepth == 0) {
        textSpans.emplace_back(textStart, xml.characterOffset());
        normaliseSpaces(line);
        split.lines.push_back(std::move(line));
      }
    }
    tokenStart = xml.characterOffset();
  }
  if (xml.hasError() || !sawRoot)
    return std::nullopt;
  // CSS rules, wherever the sheet stands, could reach any text.
  if (styleSheet && !split.lines.empty())
    return std::nullopt;
  QString graphics;
  graphics.reserve(source.size());
  qint64 at = 0;
  for (const auto &[from, to] : textSpans) {
    graphics += QStringView(source).mid(at, from - at);
    at = to;
  }
  graphics += QStringView(source).mid(at);
  split.graphics = graphics.toUtf8();
  return split;
}

void drawSvgPicture(QPainter &painter, const QByteArray &svg, const QRectF &target) {
  const std::optional<TSvgSplit> split = splitSvgText(svg);
  if (!split || split->lines.empty()) {
    renderWhole(painter, svg, target);
    return;
  }
  if (target.isEmpty())
    return;
  painter.save();
  renderWhole(painter, split->graphics, target);
  const QRectF &box = split->viewBox;
  QTransform toTarget = QTransform::fromTranslate(target.left(), target.top());
  toTarget.scale(target.width() / box.width(), target.height() / box.height());
  toTarget.translate(-box.left(), -box.top());
  toTarget.scale(1 / kTextScale, 1 / kTextScale);
  painter.setTransform(toTarget, true);
  painter.setBrush(Qt::NoBrush);
  for (const TSvgTextLine &line : split->lines) {
    QPointF pen = line.origin * kTextScale;
    for (const TSvgTextRun &run : line.runs) {
      QFont font(run.family);
      font.setPixelSize(std::max(1, static_cast<int>(std::lround(run.size * kTextScale))));
      font.setBold(run.bold);
      font.setItalic(run.italic);
      painter.setFont(font);
      if (run.fill) {
        painter.setPen(QColor::fromRgb(*run.fill));
        painter.drawText(pen, run.text);
      }
      pen.rx() += QFontMetricsF(font, painter.device()).horizontalAdvance(run.text);
    }
  }
  painter.restore();
}

} // namespace TDInvoice::Report
