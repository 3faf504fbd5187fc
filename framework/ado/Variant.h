// The platform variant: the value of a recordset field.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <utility>

namespace TDInvoice::Ado {

// Variant types, numbered as COM numbers them (VT_*); Bytes is a one-dimensional byte array.
enum class VarType : std::uint16_t {
  Empty = 0,
  Null = 1,
  SmallInt = 2,
  Integer = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Boolean = 11,
  Decimal = 14,
  ShortInt = 16,
  Byte = 17,
  Word = 18,
  LongWord = 19,
  Int64 = 20,
  UInt64 = 21,
  Bytes = 0x2011
};

// An OLE DECIMAL: value = (negative ? -1 : 1) * mantissa / 10^scale, mantissa 96 bits
// (hi32:lo64), scale 0..28.
struct Decimal {
  bool negative = false;
  std::uint8_t scale = 0;
  std::uint32_t hi32 = 0;
  std::uint64_t lo64 = 0;
};

// A value with value semantics, 32 bytes: scalars and decimals are held inline, text and
// byte arrays as implicitly shared Qt containers. Conversions follow the platform's rules: a
// Null converts to nothing (EVariantError), an Empty converts to 0 / "" / false.
class Variant {
public:
  Variant() noexcept : m_int(0) {} // Empty
  static Variant null() noexcept { return Variant(VarType::Null, std::int64_t(0)); }
  Variant(std::int32_t value) noexcept : m_type(VarType::Integer), m_int(value) {}
  Variant(bool value) noexcept : m_type(VarType::Boolean), m_int(value ? 1 : 0) {}
  Variant(double value) noexcept : m_type(VarType::Double), m_real(value) {}
  Variant(const QString &value) : m_type(VarType::String), m_text(value) {}
  Variant(QString &&value) noexcept : m_type(VarType::String), m_text(std::move(value)) {}
  Variant(const char *utf8); // String (keeps literals from turning into Boolean)

  Variant(const Variant &other);
  Variant(Variant &&other) noexcept;
  Variant &operator=(const Variant &other);
  Variant &operator=(Variant &&other) noexcept;
  ~Variant() {
    if (holdsContainer())
      releaseContainer();
  }

  // An integer of the given subtype (ShortInt, Byte, SmallInt, Word, Integer, LongWord,
  // Int64, UInt64; for UInt64 the bits of v are taken as unsigned). Throws EVariantError
  // when v does not fit the subtype or t is not an integer subtype.
  static Variant fromInt(std::int64_t v, VarType t);
  static Variant fromUInt64(std::uint64_t v) noexcept {
    Variant r;
    r.m_type = VarType::UInt64;
    r.m_uint = v;
    return r;
  }
  static Variant fromSingle(float v) noexcept { return Variant(VarType::Single, double(v)); }
  static Variant fromCurrency(std::int64_t scaled10000) noexcept {
    return Variant(VarType::Currency, scaled10000);
  }
  // days since 30 December 1899
  static Variant fromDate(double oleDate) noexcept { return Variant(VarType::Date, oleDate); }
  static Variant fromBytes(const QByteArray &bytes);
  // Throws EVariantError when the scale is above 28.
  static Variant fromDecimal(const Decimal &value);

  VarType type() const { return m_type; }
  bool isNull() const { return m_type == VarType::Null; }
  bool isEmpty() const { return m_type == VarType::Empty; }

  // Integers in decimal, floats as their shortest round-trip text, currency and decimals
  // with the process locale's decimal separator (no grouping, trailing zeros dropped), dates
  // as the short date plus the long time unless the time is midnight, booleans
  // "True"/"False". Null or a byte array throws EVariantError.
  QString toString() const;
  // Numbers are rounded to the nearest integer (half to even), text is parsed. Null, text
  // that is not a number and values out of range throw EVariantError.
  std::int32_t toInt() const;
  std::int64_t toInt64() const;
  double toDouble() const;
  std::int64_t toCurrency() const; // amount x 10000
  double toDateTime() const;       // days since 30 December 1899
  bool toBool() const;
  QByteArray toBytes() const; // only a byte array (or Empty: no bytes) converts
  Decimal toDecimal() const;  // numbers (a date as its day count), numeric text; Null, bytes throw

  // Same type and same value. Decimals compare by value (1.50 equals 1.5); doubles and
  // singles by their bits' value (NaN never equals).
  bool operator==(const Variant &other) const;
  bool operator!=(const Variant &other) const { return !(*this == other); }

  // The platform's name of a variant type, as its conversion errors spell it ("Null").
  static QString typeName(VarType t);

private:
  Variant(VarType type, std::int64_t value) noexcept : m_type(type), m_int(value) {}
  Variant(VarType type, double value) noexcept : m_type(type), m_real(value) {}

  bool holdsContainer() const { return m_type == VarType::String || m_type == VarType::Bytes; }
  void releaseContainer() noexcept;
  void copyFrom(const Variant &other);
  void moveFrom(Variant &&other) noexcept;
  Decimal decimal() const;

  VarType m_type = VarType::Empty;
  // A decimal's sign, scale and high mantissa word; its low word is m_uint.
  bool m_negative = false;
  std::uint8_t m_scale = 0;
  std::uint32_t m_hi32 = 0;
  union {
    std::int64_t m_int; // integer subtypes, currency (scaled), boolean (0/1)
    std::uint64_t m_uint;
    double m_real; // Single, Double, Date
    QString m_text;
    QByteArray m_bytes;
  };
};

} // namespace TDInvoice::Ado
