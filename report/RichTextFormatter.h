// The rich-text formatter behind the rich-text printable: lays formatted text out into a
// rectangle of a canvas from a given character position.
#pragma once

#include "report/Canvas.h"

#include <QByteArray>
#include <memory>

namespace TDInvoice::Report {

class TRichTextFormatter {
public:
  virtual ~TRichTextFormatter() = default;

  // text is rich text when it starts with "{\rtf", otherwise plain text shown in
  // defaultFont (CR LF line breaks).
  virtual void setContent(const QByteArray &text, const TFontSpec &defaultFont,
                          TTextAlign defaultAlign) = 0;
  // Length of the content in the units of the character positions below.
  virtual int textLength() const = 0;
  // Lays the content out from character start into rect (device units of canvas), drawing
  // it when draw is set. Returns the position of the first character that did not fit
  // (textLength() when everything fitted).
  virtual int format(TCanvas &canvas, const QRect &rect, int start, bool draw) = 0;
  // Drops any layout cached by format.
  virtual void releaseCache() = 0;
};

using TRichTextFormatterFactory = std::unique_ptr<TRichTextFormatter> (*)();

// The factory the rich-text printable creates its formatter with. Without a registered
// factory it gets a plain-text formatter.
void setRichTextFormatterFactory(TRichTextFormatterFactory factory);
std::unique_ptr<TRichTextFormatter> createRichTextFormatter();

}  // namespace TDInvoice::Report
