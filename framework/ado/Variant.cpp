#include "framework/ado/Variant.h"

#include "TDInvoice/Exceptions.h"

namespace TDInvoice::Ado {

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
  Variant r;
  r.m_type = t;
  r.m_int = v;
  return r;
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
  r.m_real = v;
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
  Variant r;
  r.m_type = VarType::Decimal;
  r.m_decimal = value;
  return r;
}

// Conversions are filled in by the next commit; until then they refuse.
QString Variant::toString() const { throw EVariantError("conversion not available"); }
std::int32_t Variant::toInt() const { throw EVariantError("conversion not available"); }
std::int64_t Variant::toInt64() const { throw EVariantError("conversion not available"); }
double Variant::toDouble() const { throw EVariantError("conversion not available"); }
std::int64_t Variant::toCurrency() const { throw EVariantError("conversion not available"); }
double Variant::toDateTime() const { throw EVariantError("conversion not available"); }
bool Variant::toBool() const { throw EVariantError("conversion not available"); }
QByteArray Variant::toBytes() const { throw EVariantError("conversion not available"); }
Decimal Variant::toDecimal() const { throw EVariantError("conversion not available"); }
bool Variant::operator==(const Variant &other) const { return m_type == other.m_type; }
QString Variant::typeName(VarType) { return QString(); }

} // namespace TDInvoice::Ado
