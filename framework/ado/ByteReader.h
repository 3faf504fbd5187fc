// Bounds-checked little-endian reading of persisted-recordset bytes. Every read names what it
// reads so that a short or damaged file fails with a message saying where.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace TDInvoice::Ado {

class ByteReader {
public:
  ByteReader(const char *data, std::size_t size, std::size_t baseOffset = 0)
      : m_data(data), m_size(size), m_base(baseOffset) {}

  std::size_t remaining() const { return m_size - m_pos; }
  bool atEnd() const { return m_pos == m_size; }
  std::size_t offset() const { return m_base + m_pos; } // in the whole file

  std::uint8_t peekU8(const char *what) const;
  std::uint8_t u8(const char *what);
  std::uint16_t u16(const char *what);
  std::uint32_t u32(const char *what);
  std::uint64_t u64(const char *what);
  std::int32_t i32(const char *what) { return std::int32_t(u32(what)); }
  double f64(const char *what);
  float f32(const char *what);
  QByteArray bytes(std::size_t count, const char *what);
  void skip(std::size_t count, const char *what);
  // A reader over the next count bytes; this reader moves past them.
  ByteReader sub(std::size_t count, const char *what);
  // USHORT count of UTF-16 code units, then the units (little-endian).
  QString lengthPrefixedString(const char *what);

  [[noreturn]] void fail(const std::string &message) const;

private:
  const char *take(std::size_t count, const char *what);

  const char *m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
  std::size_t m_base;
};

// UTF-16LE bytes to text; an odd count is the caller's error.
QString utf16LeText(const char *data, std::size_t byteCount);

} // namespace TDInvoice::Ado
