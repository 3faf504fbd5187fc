// Splits RTF bytes into tokens. RTF is tokenised as bytes, not decoded text: \binN counts
// raw bytes, and \'hh bytes are decoded later by the font's code page.
#pragma once

#include <QByteArrayView>

namespace TDInvoice::Report {

struct TRtfToken {
  enum Kind { End, GroupOpen, GroupClose, ControlWord, ControlSymbol, HexByte, Text, Binary };
  Kind kind = End;
  // ControlWord: the word's letters; Text: a run of text bytes; Binary: the \bin data.
  QByteArrayView bytes;
  bool hasParameter = false;
  int parameter = 0;
  char symbol = 0;         // ControlSymbol
  unsigned char value = 0; // HexByte
};

class TRtfTokenizer {
public:
  explicit TRtfTokenizer(QByteArrayView input) : input_(input) {}

  // The next token; End at the end of the input. Raw CR, LF, NUL and other control bytes
  // except TAB are dropped, a backslash before CR or LF is the word "par", and the space
  // that ends a control word is consumed. After "\binN" the N bytes that follow come as
  // one Binary token (fewer when the input ends first).
  TRtfToken next();

private:
  TRtfToken controlWord();
  TRtfToken hexByte();
  TRtfToken text();

  QByteArrayView input_;
  qsizetype pos_ = 0;
};

} // namespace TDInvoice::Report
