#include "intake/RawInflater.h"

#include "TDInvoice/Exceptions.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace TDInvoice::Intake {
namespace {

// The inflater is handed at most this much output room per call.
constexpr qsizetype kStep = 32768;
// The recordset stream takes a byte array with 32-bit bounds.
constexpr qsizetype kMaxResult = std::numeric_limits<std::int32_t>::max();
constexpr qsizetype kFirstGuessMax = qsizetype(64) << 20;

// Releases the inflater's state on every path out.
class InflateStream {
public:
  InflateStream() {
    if (inflateInit2(&m_stream, -MAX_WBITS) != Z_OK)
      throw Exception("Data packet: cannot start the DEFLATE decoder");
  }
  ~InflateStream() { inflateEnd(&m_stream); }
  InflateStream(const InflateStream &) = delete;
  InflateStream &operator=(const InflateStream &) = delete;
  z_stream *get() { return &m_stream; }

private:
  z_stream m_stream{};
};

// Two bytes that form a valid RFC 1950 header (deflate method, window at most 32 KiB,
// check bits right). Raw inflate would take them for a stored block and often, though not
// always, reject its length; a real compressor never starts a raw stream this way, since it
// zero-fills the padding bits of a stored block header.
bool startsWithZlibHeader(QByteArrayView bytes) {
  if (bytes.size() < 2)
    return false;
  const auto cmf = static_cast<unsigned char>(bytes[0]);
  const auto flg = static_cast<unsigned char>(bytes[1]);
  return (cmf & 0x0F) == Z_DEFLATED && (cmf >> 4) <= 7 && (cmf * 256 + flg) % 31 == 0;
}

[[noreturn]] void throwCorrupt(const z_stream &stream) {
  std::string detail = stream.msg ? stream.msg : "unknown error";
  throw Exception("Data packet: corrupt DEFLATE stream (" + detail + ")");
}

} // namespace

QByteArray inflateRaw(QByteArrayView compressed) {
  if (compressed.isEmpty())
    return {};
  if (startsWithZlibHeader(compressed))
    throw Exception("Data packet: the DEFLATE stream has a zlib header; raw DEFLATE data is "
                    "expected");
  if (compressed.size() > static_cast<qsizetype>(std::numeric_limits<uInt>::max()))
    throw Exception("Data packet: compressed data too large");

  InflateStream inflater;
  z_stream *stream = inflater.get();
  stream->next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.data()));
  stream->avail_in = static_cast<uInt>(compressed.size());

  QByteArray result;
  // Recordsets typically compress four to six to one: room for eight saves growing the
  // buffer while zlib writes into it (the unused room is given back at the end). Beyond a
  // first guess of kFirstGuessMax, the buffer doubles as needed.
  result.resize(std::clamp<qsizetype>(compressed.size() * 8, kStep, kFirstGuessMax));
  qsizetype used = 0;
  for (;;) {
    if (used == result.size()) {
      if (used == kMaxResult)
        throw Exception("Data packet: the inflated recordset exceeds 2 GiB");
      result.resize(std::min<qsizetype>(used * 2, kMaxResult));
    }
    const qsizetype room = std::min(kStep, result.size() - used);
    stream->next_out = reinterpret_cast<Bytef *>(result.data() + used);
    stream->avail_out = static_cast<uInt>(room);
    const int status = inflate(stream, Z_NO_FLUSH);
    used += room - static_cast<qsizetype>(stream->avail_out);
    if (status == Z_STREAM_END)
      break;
    if (status == Z_MEM_ERROR)
      throw Exception("Data packet: out of memory while inflating");
    if (status != Z_OK && status != Z_BUF_ERROR)
      throwCorrupt(*stream);
    // Z_BUF_ERROR with input left means only that the output was full.
    if (stream->avail_in == 0 && stream->avail_out != 0)
      throw Exception("Data packet: truncated DEFLATE stream (the data ends before the final "
                      "block)");
  }
  result.truncate(used);
  result.squeeze(); // the recordset may keep these bytes for as long as it is open
  return result;
}

} // namespace TDInvoice::Intake
