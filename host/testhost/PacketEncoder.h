// The host's side of the data packet: persisted recordset bytes are deflated raw,
// Base64-encoded and split into short-string lines.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace TDInvoice::Host {

// A raw DEFLATE stream (no zlib wrapper) of `bytes` at zlib's compression `level`.
QByteArray deflateRaw(QByteArrayView bytes, int level = 6);

// The same data with a zlib (RFC 1950) header and Adler-32 trailer, which a packet must not
// carry; kept for tests of the receiving side.
QByteArray deflateZlibWrapped(QByteArrayView bytes, int level = 6);

// Base64 text of the raw DEFLATE stream of `persisted`, without line breaks.
QByteArray encodePacketText(QByteArrayView persisted, int level = 6);

// Splits the text into lines of `lineLength` characters (the last one may be shorter).
// lineLength must be 1 to 255, the range of a short string.
QList<QByteArray> splitPacketLines(QByteArrayView text, int lineLength);

} // namespace TDInvoice::Host

namespace TDInvoice {
class TShortStringList;
}

namespace TDInvoice::Host {

// A new packet list (from the shared allocator; the receiver destroys it) holding the Base64
// text of the raw DEFLATE stream of `persisted`, in lines of `lineLength` characters.
TShortStringList *makePacket(QByteArrayView persisted, int lineLength, int level = 6);

} // namespace TDInvoice::Host
