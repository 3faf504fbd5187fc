#include "report/richtext/RichTextLayout.h"

#include <algorithm>
#include <cmath>

namespace TDInvoice::Report {

namespace {

constexpr double kEpsilon = 1e-6;

bool isCjk(char16_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

// Closing punctuation that never starts a line, opening punctuation that never ends one.
bool noBreakBefore(char16_t c) {
  static constexpr char16_t closing[] = {
      u'、', u'。', u'，', u'．', u'）', u'」', u'』', u'】', u'〕', u'〉', u'》', u'！', u'？',
      u'：', u'；', u'ー', u'］', u'｝', u')',  u',',  u'.',  u'!',  u'?',  u':',  u';'};
  return std::find(std::begin(closing), std::end(closing), c) != std::end(closing);
}
bool noBreakAfter(char16_t c) {
  static constexpr char16_t opening[] = {u'「', u'『', u'【', u'（', u'〈', u'《',
                                         u'〔', u'［', u'｛', u'(',  u'['};
  return std::find(std::begin(opening), std::end(opening), c) != std::end(opening);
}

// Scripts whose glyphs change with their neighbours: measured a word at a time.
bool isShapedScript(char16_t c) {
  return (c >= 0x0590 && c <= 0x08FF) || (c >= 0x0900 && c <= 0x109F) ||
         (c >= 0x1780 && c <= 0x18AF) || (c >= 0xFB1D && c <= 0xFDFF) ||
         (c >= 0xFE70 && c <= 0xFEFF);
}

// True when c cannot start a cluster: it joins the character before it.
bool joinsPrevious(char16_t c) {
  return c >= 0x0300 && (QChar::isLowSurrogate(c) || QChar::isMark(c) || c == 0x200D);
}

bool isSpace(char16_t c) { return c == u' ' || c == 0x3000; }
bool isHyphen(char16_t c) { return c == u'-' || c == 0x2010 || c == 0x2013 || c == 0x2014; }

} // namespace

TRichTextLayout::TRichTextLayout(const TRichTextDocument &document, QRgb autoColor)
    : document_(document), autoColor_(autoColor) {}

void TRichTextLayout::setCanvas(TCanvas &canvas) {
  canvas_ = &canvas;
  const QPaintDevice *device = canvas.measureDevice();
  if (device == device_ && canvas.dpiX() == dpiX_ && canvas.dpiY() == dpiY_)
    return;
  clear();
  device_ = device;
  dpiX_ = canvas.dpiX();
  dpiY_ = canvas.dpiY();
}

void TRichTextLayout::clear() {
  measured_.clear();
  styles_.clear();
  device_ = nullptr;
  dpiX_ = dpiY_ = 0;
}

int TRichTextLayout::twipsToX(double twips) const {
  return static_cast<int>(std::lround(twips * dpiX_ / 1440.0));
}
int TRichTextLayout::twipsToY(double twips) const {
  return static_cast<int>(std::lround(twips * dpiY_ / 1440.0));
}

TRichTextStyle &TRichTextLayout::style(int format) {
  if (styles_.empty())
    styles_.resize(document_.formats.size());
  std::optional<TRichTextStyle> &slot = styles_[format];
  if (!slot)
    slot.emplace(document_.formats[format], autoColor_, *canvas_);
  return *slot;
}

const TRichTextLayout::Measured &TRichTextLayout::measured(int paragraph) {
  if (measured_.empty())
    measured_.resize(document_.paragraphs.size());
  Measured &m = measured_[paragraph];
  if (m.ready)
    return m;
  const TRichParagraph &p = document_.paragraphs[paragraph];
  m.prefix.assign(p.text.size() + 1, 0.0);
  m.flags.assign(p.text.size(), 0);
  for (const TRichRun &run : p.runs)
    measureRun(p.text, run, m);
  for (qsizetype i = 0; i < p.text.size(); ++i)
    m.prefix[i + 1] += m.prefix[i];
  markBreaks(p.text, m);
  m.ready = true;
  return m;
}

// Stores each cluster's advance at prefix[first unit + 1] (summed up afterwards).
void TRichTextLayout::measureRun(const QString &text, const TRichRun &run, Measured &m) {
  TRichTextStyle &st = style(run.format);
  const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
  const int end = run.start + run.length;
  for (int i = run.start; i < end;) {
    const char16_t c = units[i];
    if (st.hidden()) {
      m.flags[i++] = Invisible;
      continue;
    }
    if (c == u'\t' || c == 0x2028 || c == 0x00AD) {
      m.flags[i++] = c == u'\t' ? Tab : c == 0x2028 ? LineBreak : Invisible;
      continue;
    }
    int j = i + 1;
    if (isShapedScript(c)) {
      while (j < end && (isShapedScript(units[j]) || joinsPrevious(units[j]) || units[j] == 0x200C))
        ++j;
    } else {
      while (j < end && joinsPrevious(units[j]))
        ++j;
    }
    m.prefix[i + 1] = j == i + 1 ? st.advance(c) : st.width(QStringView(units + i, j - i));
    if (isSpace(c))
      m.flags[i] |= Space;
    for (int k = i + 1; k < j; ++k)
      m.flags[k] |= Continues;
    i = j;
  }
}

void TRichTextLayout::markBreaks(const QString &text, Measured &m) const {
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = text[i].unicode();
    const char16_t next = i + 1 < n ? text[i + 1].unicode() : 0;
    if (i + 1 < n && (m.flags[i + 1] & Continues))
      continue;
    bool allowed = false;
    if ((m.flags[i] & (Space | Tab)) || c == 0x00AD)
      allowed = true;
    else if (isHyphen(c))
      allowed = i > 0 && text[i - 1].isLetterOrNumber() && QChar(next).isLetter();
    else if (isCjk(c) || isCjk(next))
      allowed = next != 0 && !noBreakAfter(c) && !noBreakBefore(next) && !isSpace(next);
    if (allowed)
      m.flags[i] |= BreakAfter;
  }
}

TRichTextLayout::TabStop TRichTextLayout::nextTabStop(const TRichParagraph &paragraph, double x,
                                                      bool firstLine) const {
  const TRichParagraphFormat &f = paragraph.format;
  std::optional<TabStop> best;
  for (const TRichTabStop &tab : f.tabs) {
    const double position = tab.position * dpiX_ / 1440.0;
    if (position > x + kEpsilon) {
      best = TabStop{position, tab.kind};
      break;
    }
  }
  // A hanging first line jumps to the paragraph's indent first.
  if (firstLine && f.firstIndent < 0) {
    const double indent = f.leftIndent * dpiX_ / 1440.0;
    if (indent > x + kEpsilon && (!best || indent < best->position))
      best = TabStop{indent, TRichTabKind::Left};
  }
  if (best)
    return *best;
  const double step = std::max(1.0, document_.defaultTab * dpiX_ / 1440.0);
  return {(std::floor(x / step + kEpsilon) + 1) * step, TRichTabKind::Left};
}

} // namespace TDInvoice::Report
