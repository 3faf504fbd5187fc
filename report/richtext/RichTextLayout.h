// Line breaking and placement of a TRichTextDocument on a canvas, one line at a time.
//
// Widths come from the canvas's measuring device in its device units; twips (indents, tab
// stops, spacing) are converted at the canvas's resolution. Measurements are kept per
// paragraph until the canvas resolution changes or clear() is called.
#pragma once

#include "report/Canvas.h"
#include "report/richtext/RichTextDocument.h"
#include "report/richtext/RichTextStyle.h"

#include <QList>

#include <cstdint>
#include <optional>
#include <vector>

namespace TDInvoice::Report {

// A piece of a line drawn in one style: paragraph offsets [start, end) starting at x
// (device units from the box's left edge, before rounding).
struct TRichLineFragment {
  int start = 0;
  int end = 0;
  int format = 0;
  double x = 0;
  double width = 0;
};

struct TRichLine {
  int start = 0; // paragraph offsets; end is past trailing spaces and a line break
  int end = 0;
  bool endsParagraph = false;
  int height = 0;                     // device units, line spacing applied
  int baseline = 0;                   // from the line's top
  QList<TRichLineFragment> fragments; // visible text only; filled when asked for
};

class TRichTextLayout {
public:
  TRichTextLayout(const TRichTextDocument &document, QRgb autoColor);

  // Measures on canvas from now on; measurements made at another resolution are dropped.
  void setCanvas(TCanvas &canvas);
  void clear();

  // The line of paragraph that starts at offset (0 or the end of a previous line), for a
  // box boxWidth device units wide. A line holds at least one character cluster.
  TRichLine line(int paragraph, int offset, int boxWidth, bool withFragments);

  TRichTextStyle &style(int format);
  int twipsToX(double twips) const;
  int twipsToY(double twips) const;

private:
  enum Flag : std::uint8_t {
    Space = 1,
    Tab = 2,
    LineBreak = 4,
    BreakAfter = 8,
    Continues = 16, // not the first unit of a cluster: never break before it
    Invisible = 32  // hidden text and soft hyphens: no width, not drawn
  };
  struct Measured {
    bool ready = false;
    std::vector<double> prefix; // prefix[i]: width of text [0, i)
    std::vector<std::uint8_t> flags;
  };
  struct TabStop {
    double position = 0;
    TRichTabKind kind = TRichTabKind::Left;
  };
  struct Segment { // a stretch of a line between tabs
    int start = 0;
    int end = 0;
    TRichTabKind kind = TRichTabKind::Left;
    double tabStart = 0; // where the tab began (the previous segment's end)
    double stop = 0;     // the tab stop, or the line's start for the first segment
    double x = 0;        // resolved start
    double endX = 0;
  };

  const Measured &measured(int paragraph);
  void measureRun(const QString &text, const TRichRun &run, Measured &m);
  void markBreaks(const QString &text, Measured &m) const;
  TabStop nextTabStop(const TRichParagraph &paragraph, double x, bool firstLine) const;
  int findLineEnd(int paragraph, int offset, double startX, double right, bool firstLine);
  QList<Segment> segments(int paragraph, int start, int end, double startX, bool firstLine);
  void applyVerticalMetrics(const TRichParagraph &paragraph, TRichLine &line);
  void placeFragments(int paragraph, const QList<Segment> &segments, double shift,
                      double justifyExtra, int justifyFrom, TRichLine &line);

  const TRichTextDocument &document_;
  QRgb autoColor_;
  TCanvas *canvas_ = nullptr;
  const QPaintDevice *device_ = nullptr;
  int dpiX_ = 0;
  int dpiY_ = 0;
  std::vector<Measured> measured_;
  std::vector<std::optional<TRichTextStyle>> styles_;
};

} // namespace TDInvoice::Report
