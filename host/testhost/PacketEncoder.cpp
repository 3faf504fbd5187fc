#include "host/testhost/PacketEncoder.h"

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/ShortStringList.h"

#include <zlib.h>

#include <algorithm>
#include <memory>
#include <string_view>

namespace TDInvoice::Host {
namespace {

// One encoder per thread, reset between packets: setting one up allocates and clears a few
// hundred kilobytes, more than most packets take to encode.
class TDeflater {
public:
  ~TDeflater() { end(); }
  z_stream &stream(int level, int windowBits) {
    if (m_ready && level == m_level && windowBits == m_windowBits) {
      if (deflateReset(&m_stream) != Z_OK)
        throw Exception("Cannot reset the DEFLATE encoder");
      return m_stream;
    }
    end();
    m_stream = z_stream{};
    if (deflateInit2(&m_stream, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw Exception("Cannot start the DEFLATE encoder");
    m_ready = true;
    m_level = level;
    m_windowBits = windowBits;
    return m_stream;
  }

private:
  void end() {
    if (m_ready)
      deflateEnd(&m_stream);
    m_ready = false;
  }
  z_stream m_stream{};
  bool m_ready = false;
  int m_level = 0, m_windowBits = 0;
};

QByteArray deflateWith(QByteArrayView bytes, int level, int windowBits) {
  thread_local TDeflater deflater;
  z_stream &stream = deflater.stream(level, windowBits);
  QByteArray out;
  out.resize(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(bytes.size()))));
  stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef *>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&stream, Z_FINISH);
  const auto produced = static_cast<qsizetype>(stream.total_out);
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
