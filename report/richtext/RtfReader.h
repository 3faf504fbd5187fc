// Reads the RTF that Windows rich-edit controls write into a TRichTextDocument.
//
// Malformed input never fails: unknown control words are ignored, unknown starred
// destinations skipped, a missing closing brace keeps the text read so far, and bytes after
// the document's closing brace are ignored. As rich edit does, the break of the document's
// last \par is dropped.
#pragma once

#include "report/richtext/RichTextDocument.h"

#include <QByteArrayView>

namespace TDInvoice::Report {

class TRtfReader {
public:
  // True when text starts with "{\rtf".
  static bool isRtf(QByteArrayView text);

  // defaults gives the family of text whose font the document does not name and the
  // colour of "auto" text (kept as an empty colour); the other character properties start
  // as RTF defines them (12 point, no effects).
  static TRichTextDocument read(QByteArrayView rtf, const TRichCharFormat &defaults);
};

} // namespace TDInvoice::Report
