#include "intake/RawInflater.h"

#include "TDInvoice/Exceptions.h"
#include "host/testhost/PacketEncoder.h"
#include "tests/intake/ThrownMessage.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <QByteArray>
#include <random>

using TDInvoice::Exception;
using TDInvoice::Host::deflateRaw;
using TDInvoice::Host::deflateZlibWrapped;
using TDInvoice::Intake::inflateRaw;
using TDInvoice::Testing::thrownMessage;

namespace {

QByteArray randomBytes(int size, unsigned seed) {
  std::mt19937 random(seed);
  QByteArray bytes(size, Qt::Uninitialized);
  for (char &b : bytes)
    b = static_cast<char>(random() & 0xFF);
  return bytes;
}

QByteArray repetitiveText(int size) {
  QByteArray text;
  for (int i = 0; text.size() < size; ++i)
    text += "row " + QByteArray::number(i % 977) +
            ";Amount=" + QByteArray::number(i * 37 % 100000) + "\n";
  text.truncate(size);
  return text;
}

// A stream made only of fixed-Huffman blocks.
QByteArray deflateFixed(QByteArrayView bytes) {
  z_stream s{};
  deflateInit2(&s, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_FIXED);
  QByteArray out(static_cast<qsizetype>(deflateBound(&s, static_cast<uLong>(bytes.size()))), '\0');
  s.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data()));
  s.avail_in = static_cast<uInt>(bytes.size());
  s.next_out = reinterpret_cast<Bytef *>(out.data());
  s.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&s, Z_FINISH), Z_STREAM_END);
  out.truncate(static_cast<qsizetype>(s.total_out));
  deflateEnd(&s);
  return out;
}

struct Payload {
  const char *name;
  QByteArray bytes;
};

std::vector<Payload> payloads() {
  return {{"empty", {}},
          {"short text", "ADTG"},
          {"random 300 KiB (stored blocks)", randomBytes(300 * 1024, 1)},
          {"repetitive 1 MiB (long matches, many 32 KiB steps)", repetitiveText(1 << 20)},
          {"all byte values", randomBytes(4096, 2)}};
}

TEST(RawInflater, InflatesStoredFixedAndDynamicBlocks) {
  for (const Payload &p : payloads()) {
    for (int level : {0, 1, 9})
      EXPECT_EQ(inflateRaw(deflateRaw(p.bytes, level)), p.bytes) << p.name << " level " << level;
    EXPECT_EQ(inflateRaw(deflateFixed(p.bytes)), p.bytes) << p.name << " fixed codes";
  }
}

TEST(RawInflater, IgnoresBytesAfterTheFinalBlock) {
  const QByteArray data = repetitiveText(50000);
  // The zlib stream without its two header bytes is the raw stream plus an Adler-32 trailer.
  EXPECT_EQ(inflateRaw(deflateZlibWrapped(data).mid(2)), data);
  EXPECT_EQ(inflateRaw(deflateRaw(data) + randomBytes(100, 3)), data);
  EXPECT_EQ(inflateRaw(deflateRaw(data) + deflateRaw("second stream")), data);
}

TEST(RawInflater, EmptyInputGivesEmptyResult) { EXPECT_TRUE(inflateRaw({}).isEmpty()); }

TEST(RawInflater, RejectsZlibWrappedStreamsAtEveryLevel) {
  for (int level = 0; level <= 9; ++level) {
    const QByteArray wrapped = deflateZlibWrapped(repetitiveText(3000), level);
    EXPECT_NE(thrownMessage<Exception>([&] { inflateRaw(wrapped); }).find("zlib header"),
              std::string::npos)
        << "level " << level;
  }
}

TEST(RawInflater, RejectsStreamTruncatedAtEveryOffset) {
  for (const QByteArray &data :
       {QByteArray("short"), repetitiveText(20000), randomBytes(6000, 4)}) {
    const QByteArray stream = deflateRaw(data);
    for (qsizetype cut = 1; cut < stream.size(); ++cut) {
      const std::string message = thrownMessage<Exception>([&] { inflateRaw(stream.left(cut)); });
      ASSERT_EQ(message.rfind("Data packet: truncated DEFLATE stream", 0), 0u)
          << "cut at " << cut << " of " << stream.size() << ": " << message;
    }
  }
}

TEST(RawInflater, ReportsCorruptStreamsWithZlibsReason) {
  struct Bad {
    QByteArray bytes;
    const char *reason;
  };
  const Bad cases[] = {
      {QByteArray("\x07\x00", 2), "(invalid block type)"},
      // gzip's magic number reads as a final block of the reserved type.
      {QByteArray("\x1f\x8b\x08\x00", 4), "(invalid block type)"},
      // A stored block whose length and its complement disagree.
      {QByteArray("\x01\x05\x00\x00\x00", 5), "(invalid stored block lengths)"},
  };
  for (const Bad &c : cases) {
    const std::string message = thrownMessage<Exception>([&] { inflateRaw(c.bytes); });
    EXPECT_EQ(message, std::string("Data packet: corrupt DEFLATE stream ") + c.reason);
  }
}

} // namespace
