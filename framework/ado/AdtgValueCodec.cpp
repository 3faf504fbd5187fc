#include "framework/ado/AdtgValueCodec.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/CodePage.h"
#include "framework/ado/GuidText.h"
#include "framework/ado/NumberText.h"
#include "framework/ado/OleDate.h"

#include <QByteArrayView>

#include <cmath>
#include <limits>
#include <string>

namespace TDInvoice::Ado {

namespace {

// ---- decoding ----

Variant decodeDecimal(ByteReader &r) {
  r.u16("decimal reserved word");
  Decimal d;
  d.scale = r.u8("decimal scale");
  d.negative = (r.u8("decimal sign") & 0x80) != 0;
  d.hi32 = r.u32("decimal mantissa");
  d.lo64 = r.u64("decimal mantissa");
  if (d.scale > 28)
    r.fail("decimal scale " + std::to_string(d.scale) + " is above 28");
  return Variant::fromDecimal(d);
}

// DB_NUMERIC and VARNUMERIC magnitudes: little-endian bytes; sign byte 1 is positive.
Variant numericValue(ByteReader &r, int scale, std::uint8_t sign, const QByteArray &magnitude) {
  UInt128 m = 0;
  for (qsizetype i = magnitude.size(); i-- > 0;) {
    if (m >> 120)
      r.fail("numeric value does not fit a decimal");
    m = (m << 8) | static_cast<unsigned char>(magnitude[i]);
  }
  for (; scale < 0; ++scale)
    m *= 10;
  if ((m >> 96) != 0 || scale > 28)
    r.fail("numeric value does not fit a decimal");
  Decimal d;
  d.negative = sign == 0;
  d.scale = std::uint8_t(scale);
  d.hi32 = std::uint32_t(m >> 64);
  d.lo64 = std::uint64_t(m);
  return Variant::fromDecimal(d);
}

Variant decodeNumeric(ByteReader &r) {
  r.u8("numeric precision");
  const int scale = r.u8("numeric scale");
  const std::uint8_t sign = r.u8("numeric sign");
  return numericValue(r, scale, sign, r.bytes(16, "numeric magnitude"));
}

Variant decodeVarNumeric(ByteReader &r, const QByteArray &payload) {
  ByteReader p(payload.constData(), std::size_t(payload.size()), r.offset());
  p.u8("varnumeric precision");
  const int scale = static_cast<std::int8_t>(p.u8("varnumeric scale"));
  const std::uint8_t sign = p.u8("varnumeric sign");
  if (scale < -28)
    p.fail("varnumeric scale is out of range");
  return numericValue(p, scale, sign, p.bytes(p.remaining(), "varnumeric magnitude"));
}

Variant dateValue(ByteReader &r, const DateParts &p) {
  if (!isValidDate(p.year, p.month, p.day) ||
      !isValidTime(p.hour, p.minute, p.second, p.nanosecond))
    r.fail("invalid date or time value");
  return Variant::fromDate(oleDateOf(p));
}

Variant decodeDbDate(ByteReader &r) {
  DateParts p;
  p.year = std::int16_t(r.u16("date year"));
  p.month = r.u16("date month");
  p.day = r.u16("date day");
  return dateValue(r, p);
}

Variant decodeDbTime(ByteReader &r) {
  DateParts p;
  p.hour = r.u16("time hour");
  p.minute = r.u16("time minute");
  p.second = r.u16("time second");
  return dateValue(r, p);
}

Variant decodeDbTimeStamp(ByteReader &r) {
  DateParts p;
  p.year = std::int16_t(r.u16("timestamp year"));
  p.month = r.u16("timestamp month");
  p.day = r.u16("timestamp day");
  p.hour = r.u16("timestamp hour");
  p.minute = r.u16("timestamp minute");
  p.second = r.u16("timestamp second");
  p.nanosecond = r.u32("timestamp fraction");
  return dateValue(r, p);
}

Variant decodeFileTime(ByteReader &r) {
  const auto date = oleDateOfFileTime(r.u64("file time"));
  if (!date)
    r.fail("file time out of range");
  return Variant::fromDate(*date);
}

// A VARIANT column: VARTYPE at 0, the value at 8; a DECIMAL fills all 16 bytes.
Variant decodeVariant(ByteReader &r) {
  ByteReader v = r.sub(16, "variant value");
  const std::uint16_t vt = v.u16("variant type");
  if (vt == 14) {
    Decimal d;
    d.scale = v.u8("decimal scale");
    d.negative = (v.u8("decimal sign") & 0x80) != 0;
    d.hi32 = v.u32("decimal mantissa");
    d.lo64 = v.u64("decimal mantissa");
    if (d.scale > 28)
      v.fail("decimal scale is above 28");
    return Variant::fromDecimal(d);
  }
  v.skip(6, "variant reserved words");
  switch (vt) {
  case 0:
    return Variant();
  case 1:
    return Variant::null();
  case 2:
    return Variant::fromInt(std::int16_t(v.u16("variant value")), VarType::SmallInt);
  case 3:
  case 22:
    return Variant::fromInt(v.i32("variant value"), VarType::Integer);
  case 4:
    return Variant::fromSingle(v.f32("variant value"));
  case 5:
    return Variant(v.f64("variant value"));
  case 6:
    return Variant::fromCurrency(std::int64_t(v.u64("variant value")));
  case 7:
    return Variant::fromDate(v.f64("variant value"));
  case 11:
    return Variant(v.u16("variant value") != 0);
  case 16:
    return Variant::fromInt(std::int8_t(v.u8("variant value")), VarType::ShortInt);
  case 17:
    return Variant::fromInt(v.u8("variant value"), VarType::Byte);
  case 18:
    return Variant::fromInt(v.u16("variant value"), VarType::Word);
  case 19:
  case 23:
    return Variant::fromInt(v.u32("variant value"), VarType::LongWord);
  case 20:
    return Variant::fromInt(std::int64_t(v.u64("variant value")), VarType::Int64);
  case 21:
    return Variant::fromUInt64(v.u64("variant value"));
  default:
    v.fail("variant of type " + std::to_string(vt) + " is not supported");
  }
}

// The stored bytes of a variable-length value, in place.
QByteArrayView variableValue(ByteReader &r, const ColumnLayout &column) {
  std::size_t size = 0;
  switch (lengthPrefixOf(column)) {
  case LengthPrefix::None:
    size = std::size_t(capacityOf(column));
    return QByteArrayView(r.take(size, "fixed-length value"), qsizetype(size));
  case LengthPrefix::OneByte:
    size = r.u8("value length");
    break;
  case LengthPrefix::FourByte:
    size = r.u32("value length");
    break;
  }
  return QByteArrayView(r.take(size, "value"), qsizetype(size));
}

QByteArray variableBytes(ByteReader &r, const ColumnLayout &column) {
  return variableValue(r, column).toByteArray();
}

} // namespace

Variant decodeAdtgValue(ByteReader &r, const ColumnLayout &column, int ansiCodePage) {
  switch (column.dbType) {
  case DbI1:
    return Variant::fromInt(std::int8_t(r.u8("value")), VarType::ShortInt);
  case DbUi1:
    return Variant::fromInt(r.u8("value"), VarType::Byte);
  case DbI2:
    return Variant::fromInt(std::int16_t(r.u16("value")), VarType::SmallInt);
  case DbUi2:
    return Variant::fromInt(r.u16("value"), VarType::Word);
  case DbI4:
    return Variant::fromInt(r.i32("value"), VarType::Integer);
  case DbUi4:
    return Variant::fromInt(r.u32("value"), VarType::LongWord);
  case DbI8:
    return Variant::fromInt(std::int64_t(r.u64("value")), VarType::Int64);
  case DbUi8:
    return Variant::fromUInt64(r.u64("value"));
  case DbR4:
    return Variant::fromSingle(r.f32("value"));
  case DbR8:
    return Variant(r.f64("value"));
  case DbCy:
    return Variant::fromCurrency(std::int64_t(r.u64("value")));
  case DbDate:
    return Variant::fromDate(r.f64("value"));
  case DbBool:
    return Variant(r.u16("value") != 0);
  case DbDecimal:
    return decodeDecimal(r);
  case DbNumeric:
    return decodeNumeric(r);
  case DbFileTime:
    return decodeFileTime(r);
  case DbGuid:
    return Variant(guidText(r.bytes(16, "GUID")));
  case DbDbDate:
    return decodeDbDate(r);
  case DbDbTime:
    return decodeDbTime(r);
  case DbDbTimeStamp:
    return decodeDbTimeStamp(r);
  case DbVariant:
    return decodeVariant(r);
  case DbVarNumeric:
    return decodeVarNumeric(r, variableBytes(r, column));
  case DbBytes:
    return Variant::fromBytes(variableBytes(r, column));
  case DbStr:
    return Variant(decodeAnsi(variableBytes(r, column), ansiCodePage));
  case DbWStr: {
    const QByteArrayView bytes = variableValue(r, column);
    if (bytes.size() % 2 != 0)
      r.fail("Unicode text of odd length");
    return Variant(utf16LeText(bytes.data(), std::size_t(bytes.size())));
  }
  default:
    r.fail("column type " + std::to_string(column.dbType) + " is not supported");
  }
}

} // namespace TDInvoice::Ado
