// The DEFLATE layer of a data packet.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace TDInvoice::Intake {

// Inflates a raw DEFLATE stream (no zlib or gzip wrapper) that starts at the first byte of
// `compressed`. Decoding ends with the final block; bytes after it are ignored. Empty input
// gives an empty result. Throws Exception for a corrupt stream, for one that ends before its
// final block, for a stream that carries a zlib header and for a result beyond the 2 GiB a
// recordset stream can hold.
QByteArray inflateRaw(QByteArrayView compressed);

} // namespace TDInvoice::Intake
