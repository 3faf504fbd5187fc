// The platform variant: the value of a recordset field.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

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

// A value with value semantics. Conversions follow the platform's rules: a Null converts to
// nothing (EVariantError), an Empty converts to 0 / "" / false.
class Variant {
public:
  Variant(); // Empty
  static Variant null();
  Variant(std::int32_t value);   // Integer
  Variant(bool value);           // Boolean
  Variant(double value);         // Double
  Variant(const QString &value); // String
  Variant(const char *utf8);     // String (keeps literals from turning into Boolean)

  // An integer of the given subtype (ShortInt, Byte, SmallInt, Word, Integer, LongWord,
  // Int64, UInt64; for UInt64 the bits of v are taken as unsigned). Throws EVariantError
  // when v does not fit the subtype or t is not an integer subtype.
  static Variant fromInt(std::int64_t v, VarType t);
  static Variant fromUInt64(std::uint64_t v);
  static Variant fromSingle(float v);
  static Variant fromCurrency(std::int64_t scaled10000);
  static Variant fromDate(double oleDate); // days since 30 December 1899
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
  VarType m_type = VarType::Empty;
  std::int64_t m_int = 0; // integer subtypes, currency (scaled), boolean (0/1)
  std::uint64_t m_uint = 0;
  double m_real = 0.0; // Single, Double, Date
  QString m_text;
  QByteArray m_bytes;
  Decimal m_decimal;
};

} // namespace TDInvoice::Ado
