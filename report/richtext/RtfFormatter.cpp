#include "report/richtext/RtfFormatter.h"

#include "report/richtext/CodePageDecoder.h"
#include "report/richtext/RichTextLayout.h"
#include "report/richtext/RtfReader.h"

#include <algorithm>
#include <cmath>

namespace TDInvoice::Report {

namespace {

TRichAlign richAlign(TTextAlign align) {
  switch (align) {
  case TTextAlign::Right:
    return TRichAlign::Right;
  case TTextAlign::Center:
    return TRichAlign::Center;
  case TTextAlign::Left:
    break;
  }
  return TRichAlign::Left;
}

} // namespace

TRtfFormatter::TRtfFormatter() = default;
TRtfFormatter::~TRtfFormatter() = default;

void TRtfFormatter::setContent(const QByteArray &text, const TFontSpec &defaultFont,
                               TTextAlign defaultAlign) {
  // The printable hands its text over before every print; reading it again would drop the
  // measurements made for the previous piece.
  if (layout_ && text == content_ && defaultFont == contentFont_ && defaultAlign == contentAlign_)
    return;
  content_ = text;
  contentFont_ = defaultFont;
  contentAlign_ = defaultAlign;
  TRichCharFormat base;
  base.family = defaultFont.family;
  if (TRtfReader::isRtf(text)) {
    load(TRtfReader::read(text, base), defaultFont.color);
    return;
  }
  base.pointSize = defaultFont.pointSize;
  base.bold = defaultFont.bold;
  base.italic = defaultFont.italic;
  base.underline = defaultFont.underline;
  base.strikeOut = defaultFont.strikeOut;
  QString decoded;
  TCodePageDecoder().decode(text, 1252, decoded);
  load(TRichTextDocument::fromPlainText(decoded, base, richAlign(defaultAlign)), defaultFont.color);
}

void TRtfFormatter::setDocument(TRichTextDocument document, QRgb autoColor) {
  content_.clear();
  load(std::move(document), autoColor);
}

void TRtfFormatter::load(TRichTextDocument document, QRgb autoColor) {
  document_ = std::move(document);
  if (document_.formats.isEmpty())
    document_.formats.append(TRichCharFormat());
  starts_ = document_.paragraphStarts();
  length_ = document_.length();
  autoColor_ = autoColor;
  layout_ = std::make_unique<TRichTextLayout>(document_, autoColor_);
}

int TRtfFormatter::textLength() const { return length_; }

void TRtfFormatter::releaseCache() {
  if (layout_)
    layout_->clear();
}

int TRtfFormatter::format(TCanvas &canvas, const QRect &rect, int start, bool draw) {
  if (!layout_ || start >= length_)
    return length_;
  layout_->setCanvas(canvas);
  const int position = std::max(0, start);
  int paragraph = static_cast<int>(std::upper_bound(starts_.begin(), starts_.end(), position) -
                                   starts_.begin()) -
                  1;
  int offset = position - starts_[paragraph];
  const TFontSpec savedFont = canvas.Font;
  const TBrushSpec savedBrush = canvas.Brush;
  const int bottom = rect.top() + rect.height();
  int y = rect.top();
  int result = length_;
  while (paragraph < document_.paragraphs.size()) {
    const TRichParagraphFormat &f = document_.paragraphs[paragraph].format;
    const int before = offset == 0 ? layout_->twipsToY(f.spaceBefore) : 0;
    const TRichLine line = layout_->line(paragraph, offset, rect.width(), draw);
    const int top = y + before;
    if (top + line.height > bottom) {
      result = starts_[paragraph] + offset;
      break;
    }
    if (draw)
      drawLine(canvas, paragraph, line, rect.left(), top);
    y = top + line.height;
    if (line.endsParagraph) {
      y += layout_->twipsToY(f.spaceAfter);
      ++paragraph;
      offset = 0;
    } else {
      offset = line.end;
    }
  }
  canvas.Font = savedFont;
  canvas.Brush = savedBrush;
  return result;
}

void TRtfFormatter::drawLine(TCanvas &canvas, int paragraph, const TRichLine &line, int left,
                             int top) {
  const QString &text = document_.paragraphs[paragraph].text;
  for (const TRichLineFragment &fragment : line.fragments) {
    TRichTextStyle &st = layout_->style(fragment.format);
    const int x = left + static_cast<int>(std::lround(fragment.x));
    if (st.background()) {
      canvas.Brush = TBrushSpec{*st.background(), true};
      const int right = left + static_cast<int>(std::lround(fragment.x + fragment.width));
      canvas.fillRect(QRect(x, top, right - x, line.height));
    }
    canvas.Font = st.spec();
    canvas.textOut(x, top + line.baseline - st.rise() - st.ascent(),
                   text.mid(fragment.start, fragment.end - fragment.start));
  }
}

} // namespace TDInvoice::Report
