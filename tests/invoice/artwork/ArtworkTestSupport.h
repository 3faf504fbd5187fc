// Helpers of the artwork tests: rendering, reading the texts an SVG picture holds, measuring
// them in the fonts they name, exporting to PDF and asking poppler's tools about the result.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace TDInvoice::Artwork::Testing {

// Renders an SVG at pixelsPerUnit of its viewBox on white, anti-aliased. prepare may change
// the painter first, as a report's earlier drawing would.
QImage renderSvg(const QByteArray &svg, qreal pixelsPerUnit,
                 const std::function<void(QPainter &)> &prepare = {});

// Share of pixels that are neither (nearly) ink nor (nearly) white: the fringes along edges.
double midToneShare(const QImage &image);

// One run of text with the style it inherits from its ancestors.
struct TSvgRun {
  QString text;
  QString family;
  QString fill;
  qreal size = 0;
  bool bold = false;
  bool italic = false;
};

// One <text> element: its origin on the baseline and its runs (tspans) in order.
struct TSvgText {
  QPointF origin;
  std::vector<TSvgRun> runs;
  QString text() const;
};

std::vector<TSvgText> readSvgTexts(const QByteArray &svg);
// Every element name the document uses, in document order, repeats included.
QStringList svgElementNames(const QByteArray &svg);

// Where a text's glyphs put ink, measured in the fonts it names (unhinted outlines).
QRectF inkBox(const TSvgText &text);

// Runs a command-line tool; its standard output, or nothing when it could not run or failed.
std::optional<QByteArray> runTool(const QString &program, const QStringList &arguments);

// Writes a one-page PDF at 600 dpi whose page is the box plus a 5 mm margin all round; draw
// paints into the box, given in device units.
void writePdf(const QString &path, const QSizeF &boxMm,
              const std::function<void(QPainter &, const QRectF &)> &draw);

// Renders a PDF's first page with poppler at dpi.
QImage rasterisePdf(const QString &path, int dpi);

} // namespace TDInvoice::Artwork::Testing
