// Encoding of one row value for the TableGram writer.
#include "framework/ado/AdtgValueCodec.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/CodePage.h"
#include "framework/ado/GuidText.h"
#include "framework/ado/NumberText.h"
#include "framework/ado/OleDate.h"

#include <cmath>
#include <limits>
#include <string>

namespace TDInvoice::Ado {

namespace {

[[noreturn]] void unfit(const ColumnLayout &column, const std::string &why) {
  throw EOleException("Field '" + column.name.toStdString() + "': " + why);
}

std::int64_t integerIn(const ColumnLayout &column, const Variant &value, std::int64_t min,
                       std::int64_t max) {
  const std::int64_t v = value.toInt64();
  if (v < min || v > max)
    unfit(column, "value " + std::to_string(v) + " is out of range");
  return v;
}

std::uint64_t unsigned64(const ColumnLayout &column, const Variant &value) {
  if (value.type() == VarType::UInt64)
    return std::uint64_t(value.toDecimal().lo64);
  const std::int64_t v = value.toInt64();
  if (v < 0)
    unfit(column, "value " + std::to_string(v) + " is out of range");
  return std::uint64_t(v);
}

double finite(const ColumnLayout &column, double v) {
  if (!std::isfinite(v))
    unfit(column, "NaN and infinite values cannot be saved");
  return v;
}

DateParts partsOf(const ColumnLayout &column, const Variant &value, std::uint32_t unit) {
  const double date = value.toDateTime();
  const auto parts = unit == 1 ? cleanDatePartsOf(date) : datePartsOf(date, unit);
  if (!parts)
    unfit(column, "date out of range");
  return *parts;
}

void writeDecimal(ByteWriter &w, const Decimal &d) {
  w.u16(0);
  w.u8(d.scale);
  w.u8(d.negative ? 0x80 : 0x00);
  w.u32(d.hi32);
  w.u64(d.lo64);
}

// DB_NUMERIC: precision, scale, sign (1 positive), 16-byte magnitude. The value is brought to
// the column's scale so that readers see the declared scale.
void writeNumeric(ByteWriter &w, const ColumnLayout &column, const Decimal &value) {
  const auto d = decimalForColumn(column, value);
  if (!d)
    unfit(column, "numeric value out of range");
  w.u8(std::uint8_t(column.precision));
  w.u8(d->scale);
  w.u8(d->negative ? 0 : 1);
  w.u64(d->lo64);
  w.u64(d->hi32);
}

void writeVariable(ByteWriter &w, const ColumnLayout &column, const QByteArray &payload,
                   qsizetype units, char pad) {
  if (column.maxLength != 0xFFFFFFFFU && std::uint64_t(units) > column.maxLength)
    unfit(column, "value is longer than the field's defined size");
  switch (lengthPrefixOf(column)) {
  case LengthPrefix::None: {
    QByteArray fixed = payload;
    const auto capacity = qsizetype(capacityOf(column));
    while (fixed.size() < capacity)
      fixed.append(pad);
    w.bytes(fixed);
    return;
  }
  case LengthPrefix::OneByte:
    w.u8(std::uint8_t(payload.size()));
    break;
  case LengthPrefix::FourByte:
    w.u32(std::uint32_t(payload.size()));
    break;
  }
  w.bytes(payload);
}

QByteArray utf16Bytes(const QString &text) {
  ByteWriter w;
  w.utf16(text);
  return w.data();
}

void writeVariantColumn(ByteWriter &w, const ColumnLayout &column, const Variant &value) {
  if (value.type() == VarType::Decimal) {
    const Decimal d = value.toDecimal();
    w.u16(14);
    w.u8(d.scale);
    w.u8(d.negative ? 0x80 : 0x00);
    w.u32(d.hi32);
    w.u64(d.lo64);
    return;
  }
  ByteWriter payload;
  switch (value.type()) {
  case VarType::Single:
    payload.f32(float(value.toDouble()));
    break;
  case VarType::Double:
  case VarType::Date:
    payload.f64(value.toDouble());
    break;
  case VarType::Currency:
    payload.u64(std::uint64_t(value.toCurrency()));
    break;
  case VarType::Boolean:
    payload.u16(value.toBool() ? 0xFFFF : 0);
    break;
  case VarType::UInt64:
    payload.u64(unsigned64(column, value));
    break;
  case VarType::ShortInt:
  case VarType::Byte:
  case VarType::SmallInt:
  case VarType::Word:
  case VarType::Integer:
  case VarType::LongWord:
  case VarType::Int64:
    payload.u64(std::uint64_t(value.toInt64()));
    break;
  default:
    unfit(column, "a variant field holds numbers, dates and booleans only");
  }
  w.u16(std::uint16_t(value.type()));
  w.u16(0);
  w.u16(0);
  w.u16(0);
  QByteArray bytes = payload.data();
  bytes.resize(8, '\0');
  w.bytes(bytes);
}

void encodeText(ByteWriter &w, const ColumnLayout &column, const Variant &value, int codePage) {
  QString text = value.toString();
  if (column.dbType == DbWStr) {
    // Fixed Unicode fields are padded with spaces, like fixed ANSI ones.
    if (lengthPrefixOf(column) == LengthPrefix::None &&
        std::uint64_t(text.size()) < column.maxLength)
      text += QString(qsizetype(column.maxLength) - text.size(), u' ');
    writeVariable(w, column, utf16Bytes(text), text.size(), '\0');
    return;
  }
  const auto bytes = encodeAnsi(text, codePage);
  if (!bytes)
    unfit(column, "text has characters outside code page " + std::to_string(codePage));
  writeVariable(w, column, *bytes, bytes->size(), ' ');
}

} // namespace

void encodeAdtgValue(ByteWriter &w, const ColumnLayout &column, const Variant &value,
                     int ansiCodePage) {
  try {
    switch (column.dbType) {
    case DbI1:
      w.u8(std::uint8_t(integerIn(column, value, -128, 127)));
      return;
    case DbUi1:
      w.u8(std::uint8_t(integerIn(column, value, 0, 255)));
      return;
    case DbI2:
      w.u16(std::uint16_t(integerIn(column, value, -32768, 32767)));
      return;
    case DbUi2:
      w.u16(std::uint16_t(integerIn(column, value, 0, 65535)));
      return;
    case DbI4:
      w.u32(std::uint32_t(integerIn(column, value, std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::int32_t>::max())));
      return;
    case DbUi4:
      w.u32(std::uint32_t(integerIn(column, value, 0, 0xFFFFFFFFLL)));
      return;
    case DbI8:
      w.u64(std::uint64_t(value.toInt64()));
      return;
    case DbUi8:
      w.u64(unsigned64(column, value));
      return;
    case DbR4:
      w.f32(float(finite(column, value.toDouble())));
      return;
    case DbR8:
      w.f64(finite(column, value.toDouble()));
      return;
    case DbCy:
      w.u64(std::uint64_t(value.toCurrency()));
      return;
    case DbDate:
      w.f64(finite(column, value.toDateTime()));
      return;
    case DbBool:
      w.u16(value.toBool() ? 0xFFFF : 0x0000);
      return;
    case DbDecimal:
      writeDecimal(w, value.toDecimal());
      return;
    case DbNumeric:
      writeNumeric(w, column, value.toDecimal());
      return;
    case DbGuid: {
      const auto bytes = parseGuid(value.toString());
      if (!bytes)
        unfit(column, "value is not a GUID");
      w.bytes(*bytes);
      return;
    }
    case DbFileTime: {
      const auto ticks = fileTimeOf(value.toDateTime());
      if (!ticks)
        unfit(column, "date out of range");
      w.u64(*ticks);
      return;
    }
    case DbDbDate: {
      // The day the value falls on: no rounding of its time into the next day.
      const DateParts p =
          partsOf(column, Variant::fromDate(std::trunc(value.toDateTime())), 1000000000U);
      w.u16(std::uint16_t(p.year));
      w.u16(std::uint16_t(p.month));
      w.u16(std::uint16_t(p.day));
      return;
    }
    case DbDbTime: {
      const DateParts p = partsOf(column, value, 1000000000U);
      w.u16(std::uint16_t(p.hour));
      w.u16(std::uint16_t(p.minute));
      w.u16(std::uint16_t(p.second));
      return;
    }
    case DbDbTimeStamp: {
      const DateParts p = partsOf(column, value, 1);
      for (int part : {p.year, p.month, p.day, p.hour, p.minute, p.second})
        w.u16(std::uint16_t(part));
      w.u32(p.nanosecond);
      return;
    }
    case DbVariant:
      writeVariantColumn(w, column, value);
      return;
    case DbBytes: {
      const QByteArray bytes = value.toBytes();
      writeVariable(w, column, bytes, bytes.size(), '\0');
      return;
    }
    case DbStr:
    case DbWStr:
      encodeText(w, column, value, ansiCodePage);
      return;
    default:
      unfit(column, "type " + std::to_string(column.dbType) + " cannot be written");
    }
  } catch (const EVariantError &error) {
    unfit(column, error.what());
  }
}

} // namespace TDInvoice::Ado
