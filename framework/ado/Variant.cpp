#include "framework/ado/Variant.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/NumberText.h"

#include <limits>

namespace TDInvoice::Ado {

namespace {

struct IntegerRange {
  VarType type;
  std::int64_t min;
  std::int64_t max;
};

const IntegerRange kIntegerRanges[] = {
    {VarType::ShortInt, -128, 127},
    {VarType::Byte, 0, 255},
    {VarType::SmallInt, -32768, 32767},
    {VarType::Word, 0, 65535},
    {VarType::Integer, std::numeric_limits<std::int32_t>::min(),
     std::numeric_limits<std::int32_t>::max()},
    {VarType::LongWord, 0, std::numeric_limits<std::uint32_t>::max()},
    {VarType::Int64, std::numeric_limits<std::int64_t>::min(),
     std::numeric_limits<std::int64_t>::max()},
};

} // namespace

Variant::Variant() = default;

Variant Variant::null() {
  Variant v;
  v.m_type = VarType::Null;
  return v;
}

Variant::Variant(std::int32_t value) : m_type(VarType::Integer), m_int(value) {}
Variant::Variant(bool value) : m_type(VarType::Boolean), m_int(value ? 1 : 0) {}
Variant::Variant(double value) : m_type(VarType::Double), m_real(value) {}
Variant::Variant(const QString &value) : m_type(VarType::String), m_text(value) {}
Variant::Variant(const char *utf8) : m_type(VarType::String), m_text(QString::fromUtf8(utf8)) {}

Variant Variant::fromInt(std::int64_t v, VarType t) {
  if (t == VarType::UInt64)
    return fromUInt64(std::uint64_t(v));
  for (const IntegerRange &range : kIntegerRanges) {
    if (range.type != t)
      continue;
    if (v < range.min || v > range.max)
      throw EVariantError("Arithmetic overflow converting variant of type (Int64) into type (" +
                          typeName(t).toStdString() + ")");
    Variant r;
    r.m_type = t;
    r.m_int = v;
    return r;
  }
  throw EVariantError("Invalid variant type (" + typeName(t).toStdString() +
                      ") for an integer value");
}

Variant Variant::fromUInt64(std::uint64_t v) {
  Variant r;
  r.m_type = VarType::UInt64;
  r.m_uint = v;
  return r;
}

Variant Variant::fromSingle(float v) {
  Variant r;
  r.m_type = VarType::Single;
  r.m_real = double(v);
  return r;
}

Variant Variant::fromCurrency(std::int64_t scaled10000) {
  Variant r;
  r.m_type = VarType::Currency;
  r.m_int = scaled10000;
  return r;
}

Variant Variant::fromDate(double oleDate) {
  Variant r;
  r.m_type = VarType::Date;
  r.m_real = oleDate;
  return r;
}

Variant Variant::fromBytes(const QByteArray &bytes) {
  Variant r;
  r.m_type = VarType::Bytes;
  r.m_bytes = bytes;
  return r;
}

Variant Variant::fromDecimal(const Decimal &value) {
  if (value.scale > 28)
    throw EVariantError("Decimal scale " + std::to_string(value.scale) + " is above 28");
  Variant r;
  r.m_type = VarType::Decimal;
  r.m_decimal = value;
  r.m_decimal.negative = value.negative && (value.hi32 != 0 || value.lo64 != 0);
  return r;
}

bool Variant::operator==(const Variant &other) const {
  if (m_type != other.m_type)
    return false;
  switch (m_type) {
  case VarType::Empty:
  case VarType::Null:
    return true;
  case VarType::Single:
  case VarType::Double:
  case VarType::Date:
    return m_real == other.m_real;
  case VarType::UInt64:
    return m_uint == other.m_uint;
  case VarType::String:
    return m_text == other.m_text;
  case VarType::Bytes:
    return m_bytes == other.m_bytes;
  case VarType::Decimal: {
    const Decimal a = canonicalDecimal(m_decimal);
    const Decimal b = canonicalDecimal(other.m_decimal);
    return a.negative == b.negative && a.scale == b.scale && a.hi32 == b.hi32 && a.lo64 == b.lo64;
  }
  default:
    return m_int == other.m_int;
  }
}

QString Variant::typeName(VarType t) {
  switch (t) {
  case VarType::Empty:
    return QStringLiteral("Empty");
  case VarType::Null:
    return QStringLiteral("Null");
  case VarType::SmallInt:
    return QStringLiteral("Smallint");
  case VarType::Integer:
    return QStringLiteral("Integer");
  case VarType::Single:
    return QStringLiteral("Single");
  case VarType::Double:
    return QStringLiteral("Double");
  case VarType::Currency:
    return QStringLiteral("Currency");
  case VarType::Date:
    return QStringLiteral("Date");
  case VarType::String:
    return QStringLiteral("OleStr");
  case VarType::Boolean:
    return QStringLiteral("Boolean");
  case VarType::Decimal:
    return QStringLiteral("Decimal");
  case VarType::ShortInt:
    return QStringLiteral("ShortInt");
  case VarType::Byte:
    return QStringLiteral("Byte");
  case VarType::Word:
    return QStringLiteral("Word");
  case VarType::LongWord:
    return QStringLiteral("LongWord");
  case VarType::Int64:
    return QStringLiteral("Int64");
  case VarType::UInt64:
    return QStringLiteral("UInt64");
  case VarType::Bytes:
    return QStringLiteral("Array Byte");
  }
  return QStringLiteral("Unknown");
}

} // namespace TDInvoice::Ado
