// Breaking a label's text into printable lines, by the measured width of each candidate line
// against the label's width in screen pixels.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace TDInvoice::Report {

// Width of a text in pixels as a label measures it (text width + 1, at the zoom).
using TTextWidthFunction = std::function<int(const QString &)>;

struct TLabelFormat {
  bool autoSize = true;
  bool wordWrap = true;
  int width = 0; // pixels
};

// Words of a piece: each runs up to and including the first separator (CR, space, hyphen).
QStringList splitWords(const QString &piece);

// One piece of text (no line breaks) as lines. With autoSize it is one line, unbroken.
QStringList formatPiece(const QString &piece, const TLabelFormat &format,
                        const TTextWidthFunction &width);

// A text as lines: line feeds are dropped and each carriage return starts a piece.
QStringList formatLabelText(const QString &text, const TLabelFormat &format,
                            const TTextWidthFunction &width);

} // namespace TDInvoice::Report
