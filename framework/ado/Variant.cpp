#include "framework/ado/Variant.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/NumberText.h"

#include <limits>
#include <new>

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

static_assert(sizeof(Variant) == 32, "a variant stays small: rows hold many of them");

Variant::Variant(const char *utf8) : m_type(VarType::String), m_text(QString::fromUtf8(utf8)) {}

Variant::Variant(const Variant &other) : m_int(0) { copyFrom(other); }

Variant::Variant(Variant &&other) noexcept : m_int(0) { moveFrom(std::move(other)); }

Variant &Variant::operator=(const Variant &other) {
  if (this != &other) {
    if (holdsContainer())
      releaseContainer();
    copyFrom(other); // sharing a Qt container does not throw
  }
  return *this;
}

Variant &Variant::operator=(Variant &&other) noexcept {
  if (this != &other) {
    if (holdsContainer())
      releaseContainer();
    moveFrom(std::move(other));
  }
  return *this;
}

// Only called while this variant holds no container.
void Variant::copyFrom(const Variant &other) {
  if (other.m_type == VarType::String)
    new (&m_text) QString(other.m_text);
  else if (other.m_type == VarType::Bytes)
    new (&m_bytes) QByteArray(other.m_bytes);
  else
    m_uint = other.m_uint;
  m_type = other.m_type;
  m_negative = other.m_negative;
  m_scale = other.m_scale;
  m_hi32 = other.m_hi32;
}

// Only called while this variant holds no container; the other one is left Empty.
void Variant::moveFrom(Variant &&other) noexcept {
  if (other.m_type == VarType::String) {
    new (&m_text) QString(std::move(other.m_text));
    other.m_text.~QString();
  } else if (other.m_type == VarType::Bytes) {
    new (&m_bytes) QByteArray(std::move(other.m_bytes));
    other.m_bytes.~QByteArray();
  } else {
    m_uint = other.m_uint;
  }
  m_type = other.m_type;
  m_negative = other.m_negative;
  m_scale = other.m_scale;
  m_hi32 = other.m_hi32;
  other.m_type = VarType::Empty;
  other.m_negative = false;
  other.m_scale = 0;
  other.m_hi32 = 0;
  other.m_uint = 0;
}

void Variant::releaseContainer() noexcept {
  if (m_type == VarType::String)
    m_text.~QString();
  else
    m_bytes.~QByteArray();
  m_type = VarType::Empty;
  m_uint = 0;
}

Variant Variant::fromInt(std::int64_t v, VarType t) {
  if (t == VarType::UInt64)
    return fromUInt64(std::uint64_t(v));
  for (const IntegerRange &range : kIntegerRanges) {
    if (range.type != t)
      continue;
    if (v < range.min || v > range.max)
      throw EVariantError("Arithmetic overflow converting variant of type (Int64) into type (" +
                          typeName(t).toStdString() + ")");
    return Variant(t, v);
  }
  throw EVariantError("Invalid variant type (" + typeName(t).toStdString() +
                      ") for an integer value");
}

Variant Variant::fromBytes(const QByteArray &bytes) {
  Variant r;
  new (&r.m_bytes) QByteArray(bytes);
  r.m_type = VarType::Bytes;
  return r;
}

Variant Variant::fromDecimal(const Decimal &value) {
  if (value.scale > 28)
    throw EVariantError("Decimal scale " + std::to_string(value.scale) + " is above 28");
  Variant r;
  r.m_type = VarType::Decimal;
  r.m_negative = value.negative && (value.hi32 != 0 || value.lo64 != 0);
  r.m_scale = value.scale;
  r.m_hi32 = value.hi32;
  r.m_uint = value.lo64;
  return r;
}

Decimal Variant::decimal() const {
  Decimal d;
  d.negative = m_negative;
  d.scale = m_scale;
  d.hi32 = m_hi32;
  d.lo64 = m_uint;
  return d;
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
    const Decimal a = canonicalDecimal(decimal());
    const Decimal b = canonicalDecimal(other.decimal());
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
