#include "host/testhost/PacketEncoder.h"

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/ShortStringList.h"

#include <zlib.h>

#include <algorithm>
#include <memory>
#include <string_view>

namespace TDInvoice::Host {
namespace {

QByteArray deflateWith(QByteArrayView bytes, int level, int windowBits) {
  z_stream stream{};
  if (deflateInit2(&stream, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw Exception("Cannot start the DEFLATE encoder");
  QByteArray out;
  out.resize(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(bytes.size()))));
  stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef *>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&stream, Z_FINISH);
  const auto produced = static_cast<qsizetype>(stream.total_out);
  deflateEnd(&stream);
  if (status != Z_STREAM_END)
    throw Exception("DEFLATE encoding failed");
  out.truncate(produced);
  return out;
}

} // namespace

QByteArray deflateRaw(QByteArrayView bytes, int level) {
  return deflateWith(bytes, level, -MAX_WBITS);
}

QByteArray deflateZlibWrapped(QByteArrayView bytes, int level) {
  return deflateWith(bytes, level, MAX_WBITS);
}

QByteArray encodePacketText(QByteArrayView persisted, int level) {
  return deflateRaw(persisted, level).toBase64();
}

QList<QByteArray> splitPacketLines(QByteArrayView text, int lineLength) {
  if (lineLength < 1 || lineLength > 255)
    throw Exception("Packet line length must be 1 to 255");
  QList<QByteArray> lines;
  lines.reserve(text.size() / lineLength + 1);
  for (qsizetype at = 0; at < text.size(); at += lineLength)
    lines.append(text.sliced(at, std::min<qsizetype>(lineLength, text.size() - at)).toByteArray());
  return lines;
}

TShortStringList *makePacket(QByteArrayView persisted, int lineLength, int level) {
  const QList<QByteArray> lines = splitPacketLines(encodePacketText(persisted, level), lineLength);
  auto packet = std::make_unique<TShortStringList>();
  for (const QByteArray &line : lines)
    packet->Add(std::string_view(line.constData(), static_cast<std::size_t>(line.size())));
  return packet.release();
}

} // namespace TDInvoice::Host
