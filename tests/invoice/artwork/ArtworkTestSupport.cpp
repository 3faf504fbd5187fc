#include "ArtworkTestSupport.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>

namespace TDInvoice::Artwork::Testing {

QImage renderSvg(const QByteArray &svg, qreal pixelsPerUnit,
                 const std::function<void(QPainter &)> &prepare) {
  QSvgRenderer renderer(svg);
  const QSize size = (renderer.viewBoxF().size() * pixelsPerUnit).toSize();
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  if (prepare)
    prepare(painter);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
  return image;
}

double midToneShare(const QImage &image) {
  // Measured on the red channel (or grey): 255 on white, lowest on the ink, whichever ink that is.
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  std::vector<int> reds;
  reds.reserve(std::size_t(rgb.width()) * rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x)
      reds.push_back(qRed(line[x]));
  }
  if (reds.empty())
    return 0;
  const int ink = *std::min_element(reds.begin(), reds.end());
  const auto fringe = std::count_if(reds.begin(), reds.end(),
                                    [ink](int red) { return red > ink + 24 && red < 231; });
  return double(fringe) / double(reds.size());
}

QString TSvgText::text() const {
  QString all;
  for (const TSvgRun &run : runs)
    all += run.text;
  return all;
}

namespace {

// The presentation attributes a text inherits; each element may override some.
struct TStyle {
  QString family;
  QString fill = QStringLiteral("#000000");
  qreal size = 0;
  bool bold = false;
  bool italic = false;
};

TStyle styled(TStyle style, const QXmlStreamAttributes &attributes) {
  if (attributes.hasAttribute(QLatin1String("font-family")))
    style.family = attributes.value(QLatin1String("font-family")).toString();
  if (attributes.hasAttribute(QLatin1String("fill")))
    style.fill = attributes.value(QLatin1String("fill")).toString().toLower();
  if (attributes.hasAttribute(QLatin1String("font-size")))
    style.size = attributes.value(QLatin1String("font-size")).toDouble();
  if (attributes.hasAttribute(QLatin1String("font-weight")))
    style.bold = attributes.value(QLatin1String("font-weight")) == QLatin1String("bold");
  if (attributes.hasAttribute(QLatin1String("font-style")))
    style.italic = attributes.value(QLatin1String("font-style")) == QLatin1String("italic");
  return style;
}

QFont fontOf(const TSvgRun &run, qreal &scale) {
  // Measured at a large size and scaled, so the outlines' own proportions count.
  constexpr int reference = 1000;
  QFont font(run.family);
  font.setPixelSize(reference);
  font.setBold(run.bold);
  font.setItalic(run.italic);
  font.setHintingPreference(QFont::PreferNoHinting);
  scale = run.size / reference;
  return font;
}

} // namespace

std::vector<TSvgText> readSvgTexts(const QByteArray &svg) {
  std::vector<TSvgText> texts;
  std::vector<TStyle> styles{TStyle()};
  QXmlStreamReader xml(svg);
  int textDepth = 0;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      styles.push_back(styled(styles.back(), xml.attributes()));
      if (xml.name() == QLatin1String("text")) {
        ++textDepth;
        const auto attributes = xml.attributes();
        texts.push_back({QPointF(attributes.value(QLatin1String("x")).toDouble(),
                                 attributes.value(QLatin1String("y")).toDouble()),
                         {}});
      } else if (xml.name() == QLatin1String("tspan")) {
        ++textDepth;
      }
    } else if (xml.isEndElement()) {
      styles.pop_back();
      if (xml.name() == QLatin1String("text") || xml.name() == QLatin1String("tspan"))
        --textDepth;
    } else if (xml.isCharacters() && textDepth > 0 && !xml.isWhitespace()) {
      const TStyle &style = styles.back();
      texts.back().runs.push_back(
          {xml.text().toString(), style.family, style.fill, style.size, style.bold, style.italic});
    }
  }
  return xml.hasError() ? std::vector<TSvgText>() : texts;
}

QStringList svgElementNames(const QByteArray &svg) {
  QStringList names;
  QXmlStreamReader xml(svg);
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement)
      names << xml.name().toString();
  return names;
}

QRectF inkBox(const TSvgText &text) {
  QRectF ink;
  qreal x = text.origin.x();
  for (const TSvgRun &run : text.runs) {
    qreal scale = 1;
    const QFontMetricsF metrics(fontOf(run, scale));
    const QRectF glyphs = metrics.tightBoundingRect(run.text);
    ink |= QRectF(x + glyphs.left() * scale, text.origin.y() + glyphs.top() * scale,
                  glyphs.width() * scale, glyphs.height() * scale);
    x += metrics.horizontalAdvance(run.text) * scale;
  }
  return ink;
}

std::optional<QByteArray> runTool(const QString &program, const QStringList &arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0)
    return std::nullopt;
  return process.readAllStandardOutput();
}

void writePdf(const QString &path, const QSizeF &boxMm,
              const std::function<void(QPainter &, const QRectF &)> &draw) {
  constexpr qreal marginMm = 5;
  constexpr int dpi = 600;
  QPdfWriter writer(path);
  writer.setResolution(dpi);
  writer.setPageSize(QPageSize(boxMm + QSizeF(2 * marginMm, 2 * marginMm), QPageSize::Millimeter));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter(&writer);
  const qreal dots = dpi / 25.4;
  draw(painter,
       QRectF(marginMm * dots, marginMm * dots, boxMm.width() * dots, boxMm.height() * dots));
}

QImage rasterisePdf(const QString &path, int dpi) {
  const QString prefix = QFileInfo(path).path() + QStringLiteral("/page-%1").arg(dpi);
  if (!runTool(QStringLiteral("pdftoppm"),
               {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                QStringLiteral("-singlefile"), path, prefix}))
    return {};
  return QImage(prefix + QStringLiteral(".png"));
}

} // namespace TDInvoice::Artwork::Testing
