#include "framework/ado/ByteReader.h"

#include "TDInvoice/Exceptions.h"

#include <QtGlobal>

#include <cstring>
#include <string>

namespace TDInvoice::Ado {

const char *ByteReader::take(std::size_t count, const char *what) {
  if (count > remaining())
    fail(std::string("truncated ") + what + ": " + std::to_string(count) + " bytes needed, " +
         std::to_string(remaining()) + " left");
  const char *p = m_data + m_pos;
  m_pos += count;
  return p;
}

void ByteReader::fail(const std::string &message) const {
  throw EOleException("Recordset cannot be opened: " + message + " (offset " +
                      std::to_string(offset()) + ")");
}

std::uint8_t ByteReader::peekU8(const char *what) const {
  if (remaining() < 1)
    fail(std::string("truncated ") + what + ": 1 byte needed, 0 left");
  return static_cast<std::uint8_t>(m_data[m_pos]);
}

std::uint8_t ByteReader::u8(const char *what) { return static_cast<std::uint8_t>(*take(1, what)); }

std::uint16_t ByteReader::u16(const char *what) {
  const auto *p = reinterpret_cast<const unsigned char *>(take(2, what));
  return std::uint16_t(p[0] | (p[1] << 8));
}

std::uint32_t ByteReader::u32(const char *what) {
  const auto *p = reinterpret_cast<const unsigned char *>(take(4, what));
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

std::uint64_t ByteReader::u64(const char *what) {
  const std::uint64_t low = u32(what);
  const std::uint64_t high = u32(what);
  return low | (high << 32);
}

double ByteReader::f64(const char *what) {
  const std::uint64_t bits = u64(what);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

float ByteReader::f32(const char *what) {
  const std::uint32_t bits = u32(what);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

QByteArray ByteReader::bytes(std::size_t count, const char *what) {
  const char *p = take(count, what);
  return QByteArray(p, qsizetype(count));
}

void ByteReader::skip(std::size_t count, const char *what) { take(count, what); }

ByteReader ByteReader::sub(std::size_t count, const char *what) {
  const std::size_t start = offset();
  const char *p = take(count, what);
  return ByteReader(p, count, start);
}

QString ByteReader::lengthPrefixedString(const char *what) {
  const std::size_t units = u16(what);
  const char *p = take(units * 2, what);
  return utf16LeText(p, units * 2);
}

QString utf16LeText(const char *data, std::size_t byteCount) {
  const std::size_t units = byteCount / 2;
  QString text(qsizetype(units), Qt::Uninitialized);
  char16_t *out = reinterpret_cast<char16_t *>(text.data());
  if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
    if (units != 0)
      std::memcpy(out, data, units * 2);
  } else {
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    for (std::size_t i = 0; i < units; ++i)
      out[i] = char16_t(p[2 * i] | (p[2 * i + 1] << 8));
  }
  return text;
}

} // namespace TDInvoice::Ado
