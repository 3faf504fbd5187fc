// Breaking a paragraph into lines and placing each line's text.
#include "report/richtext/RichTextLayout.h"

#include <algorithm>
#include <cmath>

namespace TDInvoice::Report {

namespace {

constexpr double kEpsilon = 1e-6;

// Where the text after a tab starts: left tabs start at the stop, right tabs end there,
// centre tabs centre on it and decimal tabs put the decimal point on it. Text never moves
// left of where the tab began.
double segmentStart(TRichTabKind kind, double tabStart, double stop, double width,
                    double beforePoint) {
  switch (kind) {
  case TRichTabKind::Left:
    return stop;
  case TRichTabKind::Right:
    return std::max(tabStart, stop - width);
  case TRichTabKind::Center:
    return std::max(tabStart, stop - width / 2);
  case TRichTabKind::Decimal:
    return std::max(tabStart, stop - beforePoint);
  }
  return stop;
}

} // namespace

TRichLine TRichTextLayout::line(int paragraph, int offset, int boxWidth, bool withFragments) {
  const TRichParagraph &p = document_.paragraphs[paragraph];
  const Measured &m = measured(paragraph);
  const TRichParagraphFormat &f = p.format;
  const int n = static_cast<int>(p.text.size());
  const bool firstLine = offset == 0;
  const double startX = std::max(0, twipsToX(f.leftIndent + (firstLine ? f.firstIndent : 0)));
  const double right = boxWidth - twipsToX(f.rightIndent);

  TRichLine line;
  line.start = offset;
  line.end = offset >= n ? n : findLineEnd(paragraph, offset, startX, right, firstLine);
  const bool brokenByLineBreak = line.end > offset && (m.flags[line.end - 1] & LineBreak);
  line.endsParagraph = line.end >= n && !brokenByLineBreak;

  int contentEnd = line.end - (brokenByLineBreak ? 1 : 0);
  while (contentEnd > offset && (m.flags[contentEnd - 1] & (Space | Invisible)))
    --contentEnd;
  const QList<Segment> segs = segments(paragraph, offset, contentEnd, startX, firstLine);
  const double free = right - segs.back().endX;
  double shift = 0, extra = 0;
  if (f.align == TRichAlign::Right)
    shift = std::max(0.0, free);
  else if (f.align == TRichAlign::Center)
    shift = std::max(0.0, free / 2);
  else if (f.align == TRichAlign::Justify && !line.endsParagraph && !brokenByLineBreak &&
           free > 0) {
    int spaces = 0;
    for (int i = segs.back().start; i < contentEnd; ++i)
      spaces += (m.flags[i] & Space) ? 1 : 0;
    extra = spaces > 0 ? free / spaces : 0;
  }
  applyVerticalMetrics(p, line);
  if (withFragments)
    placeFragments(paragraph, segs, shift, extra, segs.back().start, line);
  return line;
}

// End (exclusive) of the line starting at offset: after the last break opportunity that
// fits, past the spaces that hang over the right edge.
int TRichTextLayout::findLineEnd(int paragraph, int offset, double startX, double right,
                                 bool firstLine) {
  const TRichParagraph &p = document_.paragraphs[paragraph];
  const Measured &m = measured(paragraph);
  const int n = static_cast<int>(p.text.size());
  int segStart = offset, decimalAt = -1, lastBreak = -1;
  TRichTabKind kind = TRichTabKind::Left;
  double tabStart = startX, stop = startX;
  auto endXAt = [&](int i) { // x after unit i of the current segment
    const double width = m.prefix[i + 1] - m.prefix[segStart];
    const double before = decimalAt < 0 ? width : m.prefix[decimalAt] - m.prefix[segStart];
    return segmentStart(kind, tabStart, stop, width, before) + width;
  };
  for (int i = offset; i < n; ++i) {
    const std::uint8_t flags = m.flags[i];
    if (flags & LineBreak)
      return i + 1;
    if (flags & Tab) {
      const double x = i > segStart ? endXAt(i - 1) : segmentStart(kind, tabStart, stop, 0, 0);
      const TabStop next = nextTabStop(p, x, firstLine);
      segStart = i + 1;
      decimalAt = -1;
      kind = next.kind;
      tabStart = x;
      stop = next.position;
      lastBreak = i + 1;
      continue;
    }
    if (kind == TRichTabKind::Decimal && decimalAt < 0 && p.text[i] == QLatin1Char('.'))
      decimalAt = i;
    if (!(flags & (Space | Invisible)) && endXAt(i) > right + kEpsilon) {
      if (lastBreak > offset) {
        int end = lastBreak;
        while (end < n && (m.flags[end] & Space))
          ++end;
        return end < n && (m.flags[end] & LineBreak) ? end + 1 : end;
      }
      int end = i; // no break opportunity: cut the word between clusters
      while (end > offset && (m.flags[end] & Continues))
        --end;
      if (end > offset)
        return end;
      end = offset + 1;
      while (end < n && (m.flags[end] & Continues))
        ++end;
      return end;
    }
    if (flags & BreakAfter)
      lastBreak = i + 1;
  }
  return n;
}

QList<TRichTextLayout::Segment> TRichTextLayout::segments(int paragraph, int start, int end,
                                                          double startX, bool firstLine) {
  const TRichParagraph &p = document_.paragraphs[paragraph];
  const Measured &m = measured(paragraph);
  QList<Segment> segs;
  Segment current{start, end, TRichTabKind::Left, startX, startX, startX, startX};
  auto finish = [&](int segEnd) {
    current.end = segEnd;
    const double width = m.prefix[segEnd] - m.prefix[current.start];
    double before = width;
    if (current.kind == TRichTabKind::Decimal) {
      const qsizetype point = p.text.indexOf(QLatin1Char('.'), current.start);
      if (point >= 0 && point < segEnd)
        before = m.prefix[point] - m.prefix[current.start];
    }
    current.x = segmentStart(current.kind, current.tabStart, current.stop, width, before);
    current.endX = current.x + width;
    segs.append(current);
  };
  for (int i = start; i < end; ++i) {
    if (!(m.flags[i] & Tab))
      continue;
    finish(i);
    const TabStop next = nextTabStop(p, current.endX, firstLine);
    current = Segment{i + 1, end, next.kind, current.endX, next.position, 0, 0};
  }
  finish(end);
  return segs;
}

void TRichTextLayout::applyVerticalMetrics(const TRichParagraph &paragraph, TRichLine &line) {
  int ascent = 0, descent = 0;
  bool any = false;
  for (const TRichRun &run : paragraph.runs) {
    if (run.start >= line.end || run.start + run.length <= line.start)
      continue;
    const TRichTextStyle &st = style(run.format);
    if (st.hidden())
      continue;
    ascent = std::max(ascent, st.ascent() + st.rise());
    descent = std::max(descent, st.descent() - st.rise());
    any = true;
  }
  if (!any) {
    const TRichTextStyle &st = style(paragraph.markFormat);
    ascent = st.ascent();
    descent = st.descent();
  }
  const int natural = ascent + descent;
  const TRichParagraphFormat &f = paragraph.format;
  int height = natural;
  if (f.lineSpacing != 0 && f.lineSpacingMultiple)
    height = static_cast<int>(std::lround(natural * std::abs(f.lineSpacing) / 240.0));
  else if (f.lineSpacing > 0)
    height = std::max(natural, twipsToY(f.lineSpacing));
  else if (f.lineSpacing < 0)
    height = twipsToY(-f.lineSpacing);
  height = std::max(1, height);
  line.height = height;
  // Extra spacing goes below the text; a line squeezed below its natural height keeps its
  // descenders inside it.
  line.baseline = height >= natural ? ascent : height - descent;
}

void TRichTextLayout::placeFragments(int paragraph, const QList<Segment> &segs, double shift,
                                     double justifyExtra, int justifyFrom, TRichLine &line) {
  const TRichParagraph &p = document_.paragraphs[paragraph];
  const Measured &m = measured(paragraph);
  qsizetype run = 0;
  auto runEnd = [&](int i) {
    while (run < p.runs.size() && p.runs[run].start + p.runs[run].length <= i)
      ++run;
    return p.runs[run].start + p.runs[run].length;
  };
  auto skipped = [&](int i) {
    return (m.flags[i] & Invisible) ||
           (justifyExtra > 0 && i >= justifyFrom && (m.flags[i] & Space));
  };
  for (const Segment &seg : segs) {
    int spaces = 0;
    for (int i = seg.start; i < seg.end;) {
      if (skipped(i)) {
        spaces += (m.flags[i] & Space) ? 1 : 0;
        ++i;
        continue;
      }
      const int limit = std::min(seg.end, runEnd(i));
      int j = i + 1;
      while (j < limit && !skipped(j))
        ++j;
      const double x = seg.x + shift + m.prefix[i] - m.prefix[seg.start] + spaces * justifyExtra;
      line.fragments.append({i, j, p.runs[run].format, x, m.prefix[j] - m.prefix[i]});
      i = j;
    }
  }
}

} // namespace TDInvoice::Report
