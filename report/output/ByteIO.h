// Little-endian writing and bounds-checked reading of the page formats' fields.
#pragma once

#include "TDInvoice/Exceptions.h"

#include <QByteArray>
#include <QString>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

namespace TDInvoice::Report {

class TByteWriter {
public:
  explicit TByteWriter(QByteArray &out) : m_out(out) {}
  void u8(std::uint8_t v) { m_out.append(static_cast<char>(v)); }
  void u16(std::uint16_t v) { raw(&v, 2); }
  void u32(std::uint32_t v) { raw(&v, 4); }
  void i32(std::int32_t v) { raw(&v, 4); }
  void f64(double v) { raw(&v, 8); }
  void bytes(const QByteArray &b) {
    u32(static_cast<std::uint32_t>(b.size()));
    m_out.append(b);
  }
  void string(const QString &s) { bytes(s.toUtf8()); }

private:
  // The formats are little-endian, as the hosts are; the raw copies rely on that.
  static_assert(std::endian::native == std::endian::little);
  void raw(const void *p, int n) { m_out.append(static_cast<const char *>(p), n); }
  QByteArray &m_out;
};

// Reads fields from a byte range, raising EReportError (prefixed by what) when a field would
// run past the end.
class TByteReader {
public:
  TByteReader(const char *data, qint64 size, const char *what)
      : m_data(data), m_size(size), m_what(what) {}
  qint64 position() const { return m_pos; }
  qint64 remaining() const { return m_size - m_pos; }
  std::uint8_t u8() { return static_cast<std::uint8_t>(*take(1)); }
  std::uint16_t u16() { return load<std::uint16_t>(); }
  std::uint32_t u32() { return load<std::uint32_t>(); }
  std::int32_t i32() { return load<std::int32_t>(); }
  double f64() { return load<double>(); }
  QByteArray bytes() {
    const std::uint32_t n = u32();
    if (n > static_cast<std::uint64_t>(remaining()))
      fail("length runs past the end");
    const char *p = take(n);
    return QByteArray(p, n);
  }
  QString string() { return QString::fromUtf8(bytes()); }
  [[noreturn]] void fail(const char *detail) const {
    throw EReportError(std::string(m_what) + ": " + detail);
  }

private:
  template <typename T> T load() {
    T v;
    std::memcpy(&v, take(sizeof(T)), sizeof(T));
    return v;
  }
  const char *take(qint64 n) {
    if (n > remaining())
      fail("unexpected end of data");
    const char *p = m_data + m_pos;
    m_pos += n;
    return p;
  }
  const char *m_data;
  qint64 m_size;
  qint64 m_pos = 0;
  const char *m_what;
};

// A short read (a truncated store) is a damaged page, never a read past the buffer. The bytes
// are assembled one by one: GCC's bounds analysis cannot see that the size check rules out an
// empty array's shared one-byte buffer and rejects a wider copy from it.
template <typename T> T readLittleEndian(const QByteArray &b, qint64 at) {
  static_assert(std::is_unsigned_v<T>);
  if (at < 0 || b.size() < at + qint64(sizeof(T)))
    throw EReportError("Invalid report page: unexpected end of data");
  T v = 0;
  for (int i = int(sizeof(T)) - 1; i >= 0; --i)
    v = T(v << 8) | static_cast<unsigned char>(b.at(at + i));
  return v;
}

inline std::uint16_t readU16(const QByteArray &b, qint64 at) {
  return readLittleEndian<std::uint16_t>(b, at);
}

inline std::uint32_t readU32(const QByteArray &b, qint64 at) {
  return readLittleEndian<std::uint32_t>(b, at);
}

} // namespace TDInvoice::Report
