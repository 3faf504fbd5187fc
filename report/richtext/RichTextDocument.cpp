#include "report/richtext/RichTextDocument.h"

namespace TDInvoice::Report {

int TRichTextDocument::length() const {
  if (paragraphs.isEmpty())
    return 0;
  qsizetype total = paragraphs.size() - 1;
  for (const TRichParagraph &paragraph : paragraphs)
    total += paragraph.text.size();
  return static_cast<int>(total);
}

QList<int> TRichTextDocument::paragraphStarts() const {
  QList<int> starts;
  starts.reserve(paragraphs.size());
  int position = 0;
  for (const TRichParagraph &paragraph : paragraphs) {
    starts.append(position);
    position += static_cast<int>(paragraph.text.size()) + 1;
  }
  return starts;
}

QString TRichTextDocument::visibleText() const {
  QString text;
  for (qsizetype p = 0; p < paragraphs.size(); ++p) {
    if (p > 0)
      text += QLatin1Char('\n');
    const TRichParagraph &paragraph = paragraphs[p];
    for (const TRichRun &run : paragraph.runs)
      if (!formats[run.format].hidden)
        text += QStringView(paragraph.text).mid(run.start, run.length);
  }
  return text;
}

const TRichCharFormat &TRichTextDocument::formatAt(int paragraph, int offset) const {
  const TRichParagraph &p = paragraphs[paragraph];
  for (const TRichRun &run : p.runs)
    if (offset >= run.start && offset < run.start + run.length)
      return formats[run.format];
  return formats[p.markFormat];
}

TRichTextDocument TRichTextDocument::fromPlainText(const QString &text,
                                                   const TRichCharFormat &format,
                                                   TRichAlign align) {
  TRichTextDocument document;
  document.formats.append(format);
  if (text.isEmpty())
    return document;
  TRichParagraph current;
  current.format.align = align;
  auto close = [&] {
    if (!current.text.isEmpty())
      current.runs.append({0, static_cast<int>(current.text.size()), 0});
    document.paragraphs.append(current);
    current.text.clear();
    current.runs.clear();
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char('\r')) {
      if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
        ++i;
      close();
    } else if (c == QLatin1Char('\n')) {
      close();
    } else {
      current.text += c;
    }
  }
  close();
  return document;
}

} // namespace TDInvoice::Report
