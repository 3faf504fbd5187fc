#include "framework/ado/GuidText.h"

namespace TDInvoice::Ado {

namespace {

// Byte order of the text's hex pairs within the 16 bytes: Data1..Data3 are little-endian.
const int kByteOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};

int hexValue(QChar c) {
  const char16_t u = c.unicode();
  if (u >= '0' && u <= '9')
    return u - '0';
  if (u >= 'a' && u <= 'f')
    return u - 'a' + 10;
  if (u >= 'A' && u <= 'F')
    return u - 'A' + 10;
  return -1;
}

} // namespace

QString guidText(const QByteArray &bytes16) {
  static const char kHex[] = "0123456789ABCDEF";
  QString text = QStringLiteral("{");
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10)
      text += QLatin1Char('-');
    const auto b = static_cast<unsigned char>(bytes16[kByteOrder[i]]);
    text += QLatin1Char(kHex[b >> 4]);
    text += QLatin1Char(kHex[b & 15]);
  }
  return text + QLatin1Char('}');
}

std::optional<QByteArray> parseGuid(QStringView text) {
  if (text.size() == 38 && text.front() == u'{' && text.back() == u'}')
    text = text.mid(1, 36);
  if (text.size() != 36)
    return std::nullopt;
  QByteArray bytes(16, '\0');
  qsizetype pos = 0;
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) {
      if (text[pos] != u'-')
        return std::nullopt;
      ++pos;
    }
    const int high = hexValue(text[pos]);
    const int low = hexValue(text[pos + 1]);
    if (high < 0 || low < 0)
      return std::nullopt;
    bytes[kByteOrder[i]] = char(high * 16 + low);
    pos += 2;
  }
  return bytes;
}

} // namespace TDInvoice::Ado
