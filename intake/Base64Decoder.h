// The Base64 layer of a data packet: standard alphabet, "=" padding, tolerant of anything
// else in the text.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace TDInvoice::Intake {

// Decodes Base64 text, never failing. Characters outside the alphabet and "=" are ignored
// wherever they stand (line breaks may split a group). "=" shortens only its own group of
// four, so separately padded pieces decode to the concatenation of their bytes. A trailing
// group of two or three characters yields one or two bytes, a single character nothing; a
// group whose third character is "=" yields one byte whatever its fourth is. How the text
// is split into lines does not matter.
QByteArray decodeBase64(QByteArrayView text);
// The same, in the text's own buffer: the bytes replace the text, which is truncated to them.
// The decoder never writes ahead of what it has read, so no second buffer is needed.
void decodeBase64InPlace(QByteArray &text);

} // namespace TDInvoice::Intake
