#include "report/engine/LabelFormatter.h"

namespace TDInvoice::Report {

namespace {

bool isSeparator(QChar c) {
  return c == QLatin1Char('\r') || c == QLatin1Char(' ') || c == QLatin1Char('-');
}

// The longest start of word that keeps the line narrower than the label; the rest of the
// word is lost.
QString cutToWidth(const QString &word, const TLabelFormat &format,
                   const TTextWidthFunction &width) {
  QString line;
  for (QChar c : word) {
    if (width(line + c) >= format.width)
      break;
    line += c;
  }
  return line;
}

// A word alone wider than the label, shortened from its end until it fits.
QString shortenToFit(QString word, const TLabelFormat &format, const TTextWidthFunction &width) {
  while (!word.isEmpty() && (format.width <= 0 || width(word) > format.width))
    word.chop(1);
  return word;
}

} // namespace

QStringList splitWords(const QString &piece) {
  QStringList words;
  QString word;
  for (QChar c : piece) {
    word += c;
    if (isSeparator(c)) {
      words.append(word);
      word.clear();
    }
  }
  if (!word.isEmpty())
    words.append(word);
  return words;
}

QStringList formatPiece(const QString &piece, const TLabelFormat &format,
                        const TTextWidthFunction &width) {
  if (format.autoSize)
    return {piece};
  QStringList lines;
  QString line;
  bool stopped = false;
  for (const QString &word : splitWords(piece)) {
    if (width(line + word) <= format.width) {
      line += word;
      continue;
    }
    if (line.isEmpty()) {
      lines.append(cutToWidth(word, format, width));
      continue;
    }
    lines.append(line);
    line.clear();
    if (width(word) > format.width) {
      lines.append(shortenToFit(word, format, width));
      continue;
    }
    if (format.wordWrap)
      line = word;
    else
      stopped = true; // the word is dropped; what follows only prints if it overflows
  }
  // An empty piece still gives its one (empty) line; an empty rest after a closed line
  // is no line of its own.
  if (!stopped && (!line.isEmpty() || lines.isEmpty()))
    lines.append(line);
  return lines;
}

QStringList formatLabelText(const QString &text, const TLabelFormat &format,
                            const TTextWidthFunction &width) {
  QString cleaned = text;
  cleaned.remove(QLatin1Char('\n'));
  QStringList lines;
  for (const QString &piece : cleaned.split(QLatin1Char('\r')))
    lines.append(formatPiece(piece, format, width));
  return lines;
}

} // namespace TDInvoice::Report
