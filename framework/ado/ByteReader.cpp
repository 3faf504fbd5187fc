#include "framework/ado/ByteReader.h"

#include "TDInvoice/Exceptions.h"

#include <QtGlobal>

#include <cstring>
#include <string>

namespace TDInvoice::Ado {

void ByteReader::failTruncated(std::size_t count, const char *what) const {
  fail(std::string("truncated ") + what + ": " + std::to_string(count) + " bytes needed, " +
       std::to_string(remaining()) + " left");
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
