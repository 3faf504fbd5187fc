#include "framework/ado/ByteWriter.h"

#include <cstring>

namespace TDInvoice::Ado {

void ByteWriter::f64(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  u64(bits);
}

void ByteWriter::f32(float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  u32(bits);
}

void ByteWriter::utf16(const QString &text) {
  for (QChar c : text)
    u16(c.unicode());
}

void ByteWriter::lengthPrefixedString(const QString &text) {
  u16(std::uint16_t(text.size()));
  utf16(text);
}

void ByteWriter::patchU16(qsizetype position, std::uint16_t v) {
  m_bytes[position] = char(v & 0xFF);
  m_bytes[position + 1] = char(v >> 8);
}

} // namespace TDInvoice::Ado
