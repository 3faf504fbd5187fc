#include "AdoTestSupport.h"

#include <QDate>
#include <QFile>

#include <gtest/gtest.h>

#include <sstream>

namespace TDInvoice::Ado {
void PrintTo(const Variant &value, std::ostream *os) { *os << AdoTest::describe(value); }
} // namespace TDInvoice::Ado

namespace AdoTest {

QByteArray corpusFile(const std::string &name) {
  QFile file(QStringLiteral(TDI_SHARED_DIR "/corpus/adtg/") + QString::fromStdString(name));
  if (!file.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "cannot read corpus file " << name;
    return QByteArray();
  }
  return file.readAll();
}

QByteArray hex(const char *text) {
  QByteArray digits(text);
  digits.replace(' ', "");
  return QByteArray::fromHex(digits);
}

std::string describe(const Variant &value) {
  std::ostringstream out;
  out << Variant::typeName(value.type()).toStdString();
  switch (value.type()) {
  case VarType::Empty:
  case VarType::Null:
    break;
  case VarType::Bytes:
    out << "(" << value.toBytes().toHex().toStdString() << ")";
    break;
  case VarType::Single:
  case VarType::Double:
  case VarType::Date: {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value.toDouble());
    out << "(" << buffer << ")";
    break;
  }
  default:
    out << "(" << value.toString().toStdString() << ")";
  }
  return out.str();
}

double oleDate(int year, int month, int day, int hour, int minute, int second, int millisecond) {
  const qint64 days = QDate(year, month, day).toJulianDay() - QDate(1899, 12, 30).toJulianDay();
  const double fraction = (hour * 3600 + minute * 60 + second + millisecond / 1000.0) / 86400.0;
  return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

QByteArray le16(std::uint16_t v) {
  QByteArray b;
  b.append(char(v & 0xFF));
  b.append(char(v >> 8));
  return b;
}

QByteArray le32(std::uint32_t v) { return le16(std::uint16_t(v)) + le16(std::uint16_t(v >> 16)); }

QByteArray le64(std::uint64_t v) { return le32(std::uint32_t(v)) + le32(std::uint32_t(v >> 32)); }

QByteArray utf16(const QString &text) {
  QByteArray b;
  for (QChar c : text)
    b += le16(c.unicode());
  return b;
}

QByteArray adoPreamble(std::uint16_t columns, std::uint32_t rows) {
  QByteArray preamble = corpusFile("ivere27_tablegram__types_basic.adtg").left(0x10E);
  preamble.replace(0x3B, 2, le16(columns));
  preamble.replace(0x3D, 2, le16(columns));
  preamble.replace(0x45, 4, le32(rows));
  return preamble;
}

QByteArray columnDescriptor(std::uint16_t ordinal, const QString &name, std::uint16_t dbType,
                            std::uint32_t maxLength, std::uint32_t flags, std::uint32_t precision,
                            std::int32_t scale) {
  QByteArray body = hex("80 01 00") + le16(ordinal) + le16(std::uint16_t(name.size())) +
                    utf16(name) + le16(dbType) + le32(maxLength) + le32(precision) +
                    le32(std::uint32_t(scale)) + le32(flags) + hex("00 00 FF FF");
  return QByteArray(1, '\x06') + le16(std::uint16_t(body.size())) + body;
}

void expectSameRecordset(const RecordsetData &expected, const RecordsetData &actual,
                         const std::string &context) {
  ASSERT_EQ(expected.fields.size(), actual.fields.size()) << context;
  for (std::size_t i = 0; i < expected.fields.size(); ++i) {
    const FieldInfo &e = expected.fields[i];
    const FieldInfo &a = actual.fields[i];
    const std::string where = context + ", field " + e.name.toStdString();
    EXPECT_EQ(e.name, a.name) << where;
    EXPECT_EQ(e.type, a.type) << where;
    EXPECT_EQ(e.definedSize, a.definedSize) << where;
    EXPECT_EQ(e.attributes, a.attributes) << where;
    EXPECT_EQ(e.precision, a.precision) << where;
    EXPECT_EQ(e.numericScale, a.numericScale) << where;
  }
  ASSERT_EQ(expected.rows.size(), actual.rows.size()) << context;
  for (std::size_t r = 0; r < expected.rows.size(); ++r) {
    ASSERT_EQ(expected.rows[r].size(), actual.rows[r].size()) << context << ", row " << r;
    for (std::size_t c = 0; c < expected.rows[r].size(); ++c)
      EXPECT_EQ(expected.rows[r][c], actual.rows[r][c])
          << context << ", row " << r << ", field " << expected.fields[c].name.toStdString();
  }
}

} // namespace AdoTest
