// Bounds-checked little-endian reading of persisted-recordset bytes. Every read names what it
// reads so that a short or damaged file fails with a message saying where.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace TDInvoice::Ado {

class ByteReader {
public:
  ByteReader(const char *data, std::size_t size, std::size_t baseOffset = 0)
      : m_data(data), m_size(size), m_base(baseOffset) {}

  std::size_t remaining() const { return m_size - m_pos; }
  bool atEnd() const { return m_pos == m_size; }
  std::size_t offset() const { return m_base + m_pos; } // in the whole file
  const char *current() const { return m_data + m_pos; }

  std::uint8_t peekU8(const char *what) const;
  std::uint8_t u8(const char *what) { return static_cast<std::uint8_t>(*take(1, what)); }
  std::uint16_t u16(const char *what) {
    const auto *p = reinterpret_cast<const unsigned char *>(take(2, what));
    return std::uint16_t(p[0] | (p[1] << 8));
  }
  std::uint32_t u32(const char *what) {
    const auto *p = reinterpret_cast<const unsigned char *>(take(4, what));
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
  }
  std::uint64_t u64(const char *what) {
    const std::uint64_t low = u32(what);
    const std::uint64_t high = u32(what);
    return low | (high << 32);
  }
  std::int32_t i32(const char *what) { return std::int32_t(u32(what)); }
  double f64(const char *what) {
    const std::uint64_t bits = u64(what);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  float f32(const char *what) {
    const std::uint32_t bits = u32(what);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  QByteArray bytes(std::size_t count, const char *what) {
    const char *p = take(count, what);
    return QByteArray(p, qsizetype(count));
  }
  void skip(std::size_t count, const char *what) { take(count, what); }
  // The next count bytes, in place; this reader moves past them.
  const char *take(std::size_t count, const char *what) {
    if (count > remaining())
      failTruncated(count, what);
    const char *p = m_data + m_pos;
    m_pos += count;
    return p;
  }
  // A reader over the next count bytes; this reader moves past them.
  ByteReader sub(std::size_t count, const char *what);
  // USHORT count of UTF-16 code units, then the units (little-endian).
  QString lengthPrefixedString(const char *what);

  [[noreturn]] void fail(const std::string &message) const;

private:
  [[noreturn, gnu::cold]] void failTruncated(std::size_t count, const char *what) const;

  const char *m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
  std::size_t m_base;
};

// UTF-16LE bytes to text; an odd count is the caller's error.
QString utf16LeText(const char *data, std::size_t byteCount);

} // namespace TDInvoice::Ado
