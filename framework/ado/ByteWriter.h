// Little-endian writing of persisted-recordset bytes.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace TDInvoice::Ado {

class ByteWriter {
public:
  void u8(std::uint8_t v) { m_bytes.append(char(v)); }
  void u16(std::uint16_t v) {
    u8(std::uint8_t(v));
    u8(std::uint8_t(v >> 8));
  }
  void u32(std::uint32_t v) {
    u16(std::uint16_t(v));
    u16(std::uint16_t(v >> 16));
  }
  void u64(std::uint64_t v) {
    u32(std::uint32_t(v));
    u32(std::uint32_t(v >> 32));
  }
  void f64(double v);
  void f32(float v);
  void bytes(const QByteArray &b) { m_bytes.append(b); }
  void utf16(const QString &text); // the units, no count
  // USHORT count of UTF-16 code units, then the units.
  void lengthPrefixedString(const QString &text);
  // Overwrites a USHORT written earlier at position.
  void patchU16(qsizetype position, std::uint16_t v);
  qsizetype size() const { return m_bytes.size(); }
  const QByteArray &data() const { return m_bytes; }

private:
  QByteArray m_bytes;
};

} // namespace TDInvoice::Ado
