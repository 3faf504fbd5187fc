#include "report/engine/PlainTextFormatter.h"

#include <QFontMetrics>
#include <algorithm>

namespace TDInvoice::Report {

namespace {

bool isBreak(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

// Past the line break at position (CR LF, CR or LF).
int skipBreak(const QString &text, int position) {
  if (position < text.size() && text[position] == QLatin1Char('\r'))
    ++position;
  if (position < text.size() && text[position] == QLatin1Char('\n'))
    ++position;
  return position;
}

} // namespace

void TPlainTextFormatter::setContent(const QByteArray &text, const TFontSpec &defaultFont,
                                     TTextAlign defaultAlign) {
  m_text = QString::fromLatin1(text);
  m_font = defaultFont;
  m_align = defaultAlign;
}

int TPlainTextFormatter::lineEnd(int start, int paragraphEnd, int maxWidth,
                                 const QFontMetrics &metrics) const {
  int end = start;
  int lastSpace = -1;
  while (end < paragraphEnd) {
    if (metrics.horizontalAdvance(m_text.mid(start, end - start + 1)) > maxWidth)
      break;
    if (m_text[end] == QLatin1Char(' '))
      lastSpace = end;
    ++end;
  }
  if (end == paragraphEnd)
    return end;
  if (lastSpace >= start)
    return lastSpace + 1;
  return std::max(end, start + 1);
}

int TPlainTextFormatter::format(TCanvas &canvas, const QRect &rect, int start, bool draw) {
  canvas.Font = m_font;
  const QFontMetrics metrics(canvas.qfont(m_font), canvas.measureDevice());
  const int lineHeight = metrics.height();
  int position = std::clamp(start, 0, static_cast<int>(m_text.size()));
  int y = rect.top();
  while (position < m_text.size()) {
    if (y + lineHeight > rect.top() + rect.height())
      return position;
    int paragraphEnd = position;
    while (paragraphEnd < m_text.size() && !isBreak(m_text[paragraphEnd]))
      ++paragraphEnd;
    const int end = paragraphEnd == position
                        ? position
                        : lineEnd(position, paragraphEnd, rect.width(), metrics);
    if (draw && end > position) {
      const QString line = m_text.mid(position, end - position);
      const int x = m_align == TTextAlign::Left    ? rect.left()
                    : m_align == TTextAlign::Right ? rect.left() + rect.width()
                                                   : rect.left() + rect.width() / 2;
      canvas.textOut(x, y, line, m_align);
    }
    position = end == paragraphEnd ? skipBreak(m_text, end) : end;
    y += lineHeight;
  }
  return static_cast<int>(m_text.size());
}

} // namespace TDInvoice::Report
