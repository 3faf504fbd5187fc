// Draws a vector picture (SVG) into a box. The picture's plain text lines are set as text in
// real fonts, so that a PDF keeps them as words: the SVG renderer we have would hand them to
// the paint engine as glyph outlines, which makes every page carrying the picture hundreds of
// kilobytes of curves, slow to write and impossible to search. Text the simple reader does not
// take (transforms, anchors, per-glyph positions, styles) leaves the whole picture to the SVG
// renderer.
#pragma once

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <QRgb>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

namespace TDInvoice::Report {

// One run of text with one font, in the picture's user units.
struct TSvgTextRun {
  QString text;
  QString family;
  double size = 16; // font size, user units
  bool bold = false;
  bool italic = false;
  std::optional<QRgb> fill; // none: the run takes its room but draws nothing
};

// A text element: its runs follow one another along one baseline starting at origin.
struct TSvgTextLine {
  QPointF origin;
  std::vector<TSvgTextRun> runs;
};

struct TSvgSplit {
  QRectF viewBox;
  QByteArray graphics; // the document without its text elements
  std::vector<TSvgTextLine> lines;
};

// The picture taken apart, or nothing when it is not well-formed SVG or holds text that only the
// SVG renderer can place.
std::optional<TSvgSplit> splitSvgText(const QByteArray &svg);

// Draws svg stretched into target (painter coordinates); an invalid picture draws nothing.
void drawSvgPicture(QPainter &painter, const QByteArray &svg, const QRectF &target);

} // namespace TDInvoice::Report
