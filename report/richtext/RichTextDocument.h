// The formatted text the rich-text printable lays out: paragraphs of text runs, each run
// pointing at a character format, each paragraph carrying its own paragraph format.
//
// Character positions are UTF-16 code units of the paragraph texts, plus one position for
// each paragraph mark between two paragraphs. The last paragraph's mark is not counted, so
// "a", "b" gives the positions a=0, mark=1, b=2 and a length of 3. A line break inside a
// paragraph is the character U+2028 and counts one position.
#pragma once

#include <QList>
#include <QRgb>
#include <QString>

#include <optional>

namespace TDInvoice::Report {

enum class TRichVerticalAlign { Normal, Superscript, Subscript };

struct TRichCharFormat {
  QString family;
  double pointSize = 12;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool hidden = false;            // kept in the positions, never drawn, takes no room
  std::optional<QRgb> color;      // empty: the control's text colour
  std::optional<QRgb> background; // empty: no highlight
  TRichVerticalAlign verticalAlign = TRichVerticalAlign::Normal;
  int baselineShift = 0; // half-points, positive raises the text
  bool operator==(const TRichCharFormat &) const = default;
};

enum class TRichAlign { Left, Center, Right, Justify };
enum class TRichTabKind { Left, Center, Right, Decimal };

struct TRichTabStop {
  int position = 0; // twips from the left edge of the text box (not from the indent)
  TRichTabKind kind = TRichTabKind::Left;
  bool operator==(const TRichTabStop &) const = default;
};

// Lengths in twips (1/1440 inch).
struct TRichParagraphFormat {
  TRichAlign align = TRichAlign::Left;
  int leftIndent = 0;
  int rightIndent = 0;
  int firstIndent = 0; // relative to leftIndent; negative for a hanging indent
  int spaceBefore = 0;
  int spaceAfter = 0;
  // 0: single spacing. With lineSpacingMultiple: lineSpacing / 240 lines. Otherwise a
  // positive value is a minimum height and a negative one an exact height.
  int lineSpacing = 0;
  bool lineSpacingMultiple = false;
  QList<TRichTabStop> tabs; // ascending by position
  bool operator==(const TRichParagraphFormat &) const = default;
};

struct TRichRun {
  int start = 0; // in the paragraph's text
  int length = 0;
  int format = 0; // index into TRichTextDocument::formats
  bool operator==(const TRichRun &) const = default;
};

struct TRichParagraph {
  QString text;
  QList<TRichRun> runs; // cover text without gaps, in order
  int markFormat = 0;   // format of the paragraph mark: the height of an empty paragraph
  TRichParagraphFormat format;
};

class TRichTextDocument {
public:
  QList<TRichParagraph> paragraphs;
  QList<TRichCharFormat> formats;
  int defaultTab = 720; // twips between default tab stops

  // Number of character positions (see the header comment).
  int length() const;
  // Position of the first character of each paragraph.
  QList<int> paragraphStarts() const;
  // The visible text: paragraphs joined with '\n'; hidden text left out.
  QString visibleText() const;
  // Format of the character at offset of paragraph; the mark format past its text.
  const TRichCharFormat &formatAt(int paragraph, int offset) const;

  // A document of plain text: lines end at CR LF, CR or LF, every character in format.
  static TRichTextDocument fromPlainText(const QString &text, const TRichCharFormat &format,
                                         TRichAlign align);
};

} // namespace TDInvoice::Report
