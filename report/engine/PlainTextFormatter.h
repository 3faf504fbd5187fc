// The rich-text formatter used until a real one is registered: lays content out as plain
// text in one font, wrapping at spaces, one paragraph per line break.
#pragma once

#include "report/RichTextFormatter.h"

#include <QString>

namespace TDInvoice::Report {

class TPlainTextFormatter : public TRichTextFormatter {
public:
  void setContent(const QByteArray &text, const TFontSpec &defaultFont,
                  TTextAlign defaultAlign) override;
  int textLength() const override { return static_cast<int>(m_text.size()); }
  int format(TCanvas &canvas, const QRect &rect, int start, bool draw) override;
  void releaseCache() override {}

private:
  // The end of the line that starts at start and fits maxWidth: after the last space that
  // fits, or at the paragraph's end; at least one character.
  int lineEnd(int start, int paragraphEnd, int maxWidth, const class QFontMetrics &metrics) const;

  QString m_text;
  TFontSpec m_font;
  TTextAlign m_align = TTextAlign::Left;
};

} // namespace TDInvoice::Report
