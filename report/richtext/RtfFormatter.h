// The rich-text formatter of the report engine: reads RTF (or plain text) and lays it out
// into a rectangle of a canvas, drawing each run of text with TCanvas::textOut so that
// recorded pages keep their text.
//
// Character positions are those of TRichTextDocument: UTF-16 units plus one per paragraph
// mark between paragraphs. format() places whole lines only; the position it returns is the
// first character of the first line that did not fit, and formatting again from there
// continues without losing or repeating a character.
#pragma once

#include "report/RichTextFormatter.h"
#include "report/richtext/RichTextDocument.h"

#include <memory>

namespace TDInvoice::Report {

class TRichTextLayout;
struct TRichLine;

class TRtfFormatter : public TRichTextFormatter {
public:
  TRtfFormatter();
  ~TRtfFormatter() override;

  // Text that is not RTF is read as Windows-1252 text in defaultFont, one paragraph per
  // line (CR LF, CR or LF), aligned by defaultAlign. RTF sets its own fonts and alignment;
  // defaultFont gives it the family for text in no named font and the colour of "auto"
  // text.
  void setContent(const QByteArray &text, const TFontSpec &defaultFont,
                  TTextAlign defaultAlign) override;
  void setDocument(TRichTextDocument document, QRgb autoColor);
  int textLength() const override;
  int format(TCanvas &canvas, const QRect &rect, int start, bool draw) override;
  void releaseCache() override;

  const TRichTextDocument &document() const { return document_; }

private:
  void load(TRichTextDocument document, QRgb autoColor);
  void drawLine(TCanvas &canvas, int paragraph, const TRichLine &line, int left, int top);

  QByteArray content_; // what setContent was last given: the same again keeps the layout
  TFontSpec contentFont_;
  TTextAlign contentAlign_ = TTextAlign::Left;
  TRichTextDocument document_;
  QList<int> starts_;
  int length_ = 0;
  QRgb autoColor_ = qRgb(0, 0, 0);
  std::unique_ptr<TRichTextLayout> layout_;
};

// Makes the report engine's rich-text printables use TRtfFormatter.
void registerRtfFormatter();

} // namespace TDInvoice::Report
