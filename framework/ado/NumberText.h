// Exact number texts: shortest round-trip floats, currency and decimals, and their parsing.
// Internal to the ADO layer.
#pragma once

#include "framework/ado/Variant.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace TDInvoice::Ado {

__extension__ typedef unsigned __int128 UInt128;

enum class ExponentStyle {
  Display, // 1E20, 1.5E-7 (the platform's float-to-text)
  Xml      // 1E+20, 1.5E-7 (what the XML rowset writer emits)
};

// Shortest text that reads back to the same value; fixed notation for decimal exponents -4 to
// 14, otherwise scientific. NaN and infinities as "NAN", "INF", "-INF".
QString shortestText(double value, QChar decimalPoint, ExponentStyle style);
QString shortestText(float value, QChar decimalPoint, ExponentStyle style);

// Whole-text parse of a decimal or scientific number with the given decimal point; no blanks,
// no grouping. Rounds correctly to the target type.
std::optional<double> parseDouble(QStringView text, QChar decimalPoint);
std::optional<float> parseFloat(QStringView text, QChar decimalPoint);
// Whole-text parse of an optionally signed decimal integer.
std::optional<std::int64_t> parseInt64(QStringView text);
std::optional<std::uint64_t> parseUInt64(QStringView text);

// Decimal texts: [sign] digits [point digits], ".5" and "5." accepted. Digits beyond what
// 96 bits and scale 28 hold are rounded half to even; an integer part that does not fit fails.
std::optional<Decimal> parseDecimal(QStringView text, QChar decimalPoint);
// "-12.5"; trailing fraction zeros dropped when trimZeros is set, a zero integer part kept.
QString decimalText(const Decimal &value, QChar decimalPoint, bool trimZeros);

UInt128 mantissaOf(const Decimal &value);
// The same value with trailing fraction zeros removed and a zero made positive.
Decimal canonicalDecimal(const Decimal &value);
// value rounded (half to even) or extended to the given scale; nullopt when the mantissa
// would not fit 96 bits.
std::optional<Decimal> rescaleDecimal(const Decimal &value, int scale);
// The value rounded half to even to an integer; nullopt when outside int64.
std::optional<std::int64_t> decimalToInt64(const Decimal &value);
// The decimal mantissa / 10^scale with the sign of mantissa (scale 0 to 28).
Decimal decimalFromInt64(std::int64_t mantissa, int scale = 0);

// Currency (amount x 10000) as text: no grouping, trailing fraction zeros dropped.
QString currencyText(std::int64_t scaled, QChar decimalPoint);
// Text to currency, rounding half to even beyond four decimals; nullopt when malformed or out
// of range.
std::optional<std::int64_t> parseCurrency(QStringView text, QChar decimalPoint);

// Rounds half to even; nullopt for NaN or results outside [min, max].
std::optional<std::int64_t> roundHalfEven(double value, double min, double max);

} // namespace TDInvoice::Ado
