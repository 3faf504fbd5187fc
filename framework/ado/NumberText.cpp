#include "framework/ado/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace TDInvoice::Ado {

namespace {

const UInt128 kMantissaLimit = UInt128(1) << 96; // exclusive

template <typename T> QString shortestImpl(T value, QChar decimalPoint, ExponentStyle style) {
  if (std::isnan(value))
    return QStringLiteral("NAN");
  if (std::isinf(value))
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  std::string text(buffer, result.ptr);
  const bool negative = text.front() == '-';
  if (negative)
    text.erase(0, 1);
  const std::size_t e = text.find('e');
  const int exponent = std::stoi(text.substr(e + 1));
  std::string digits;
  for (char c : text.substr(0, e))
    if (c != '.')
      digits += c;
  while (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();
  if (digits == "0")
    return QStringLiteral("0");

  QString out;
  if (negative)
    out += QLatin1Char('-');
  const auto tail = [&](std::size_t from) { return QString::fromLatin1(digits.substr(from)); };
  if (exponent >= -4 && exponent < 15) {
    if (exponent >= 0) {
      const std::size_t intLength = std::size_t(exponent) + 1;
      if (digits.size() <= intLength) {
        out += QString::fromLatin1(digits) + QString(int(intLength - digits.size()), u'0');
      } else {
        out += QString::fromLatin1(digits.substr(0, intLength)) + decimalPoint + tail(intLength);
      }
    } else {
      out += QLatin1Char('0') + QString(decimalPoint) + QString(-exponent - 1, u'0') + tail(0);
    }
    return out;
  }
  out += QLatin1Char(digits[0]);
  if (digits.size() > 1)
    out += decimalPoint + tail(1);
  out += QLatin1Char('E');
  if (exponent < 0)
    out += QLatin1Char('-');
  else if (style == ExponentStyle::Xml)
    out += QLatin1Char('+');
  out += QString::number(std::abs(exponent));
  return out;
}

// ASCII copy of a number text with the decimal point made '.', or nullopt when the text holds
// anything else that is not ASCII (or a '.' that is not the decimal point).
std::optional<std::string> asciiNumber(QStringView text, QChar decimalPoint) {
  std::string out;
  out.reserve(std::size_t(text.size()));
  for (QChar c : text) {
    if (c == decimalPoint) {
      out += '.';
    } else if (c.unicode() >= 0x80 || c == u'.') {
      return std::nullopt;
    } else {
      out += char(c.unicode());
    }
  }
  if (!out.empty() && out.front() == '+')
    out.erase(0, 1);
  if (out.empty() || out.front() == '+' || out.front() == ' ')
    return std::nullopt;
  return out;
}

template <typename T> std::optional<T> parseReal(QStringView text, QChar decimalPoint) {
  const auto ascii = asciiNumber(text, decimalPoint);
  if (!ascii)
    return std::nullopt;
  // Digits, point, sign and exponent only: no "inf" or "nan" spellings.
  for (char c : *ascii)
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
      return std::nullopt;
  T value{};
  const char *end = ascii->data() + ascii->size();
  const auto result = std::from_chars(ascii->data(), end, value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != end)
    return std::nullopt;
  return value;
}

template <typename T> std::optional<T> parseInteger(QStringView text) {
  const auto ascii = asciiNumber(text, QChar(u'\x1'));
  if (!ascii)
    return std::nullopt;
  T value{};
  const char *end = ascii->data() + ascii->size();
  const auto result = std::from_chars(ascii->data(), end, value, 10);
  if (result.ec != std::errc() || result.ptr != end)
    return std::nullopt;
  return value;
}

UInt128 pow10(int n) {
  UInt128 p = 1;
  for (int i = 0; i < n; ++i)
    p *= 10;
  return p;
}

std::string digitsOf(UInt128 m) {
  if (m == 0)
    return "0";
  std::string out;
  while (m != 0) {
    out.insert(out.begin(), char('0' + int(m % 10)));
    m /= 10;
  }
  return out;
}

Decimal makeDecimal(bool negative, int scale, UInt128 mantissa) {
  Decimal d;
  d.negative = negative && mantissa != 0;
  d.scale = std::uint8_t(scale);
  d.hi32 = std::uint32_t(mantissa >> 64);
  d.lo64 = std::uint64_t(mantissa);
  return d;
}

// Keeps the leading digits of `digits` (a value with `scale` fraction digits) so that the
// result fits a decimal, rounding the dropped ones half to even.
std::optional<Decimal> fitDigits(bool negative, const std::string &digits, int scale) {
  const int length = int(digits.size());
  int drop = std::max({0, scale - 28, length - 29});
  for (; drop <= scale; ++drop) {
    UInt128 kept = 0;
    for (int i = 0; i < length - drop; ++i)
      kept = kept * 10 + UInt128(digits[std::size_t(i)] - '0');
    if (drop > 0) {
      const char first = digits[std::size_t(length - drop)];
      bool restNonZero = false;
      for (int i = length - drop + 1; i < length; ++i)
        restNonZero = restNonZero || digits[std::size_t(i)] != '0';
      if (first > '5' || (first == '5' && (restNonZero || (kept & 1) != 0)))
        ++kept;
    }
    if (kept < kMantissaLimit)
      return makeDecimal(negative, scale - drop, kept);
  }
  return std::nullopt;
}

} // namespace

QString shortestText(double value, QChar decimalPoint, ExponentStyle style) {
  return shortestImpl(value, decimalPoint, style);
}

QString shortestText(float value, QChar decimalPoint, ExponentStyle style) {
  return shortestImpl(value, decimalPoint, style);
}

std::optional<double> parseDouble(QStringView text, QChar decimalPoint) {
  return parseReal<double>(text, decimalPoint);
}

std::optional<float> parseFloat(QStringView text, QChar decimalPoint) {
  return parseReal<float>(text, decimalPoint);
}

std::optional<std::int64_t> parseInt64(QStringView text) {
  return parseInteger<std::int64_t>(text);
}

std::optional<std::uint64_t> parseUInt64(QStringView text) {
  if (text.startsWith(u'-'))
    return std::nullopt;
  return parseInteger<std::uint64_t>(text);
}

std::optional<Decimal> parseDecimal(QStringView text, QChar decimalPoint) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
    negative = text[i] == u'-';
    ++i;
  }
  std::string digits;
  int scale = 0;
  bool seenPoint = false;
  bool anyDigit = false;
  for (; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c >= u'0' && c <= u'9') {
      anyDigit = true;
      if (!(digits.empty() && c == u'0' && !seenPoint))
        digits += char(c.unicode());
      if (seenPoint)
        ++scale;
    } else if (c == decimalPoint && !seenPoint) {
      seenPoint = true;
    } else {
      return std::nullopt;
    }
  }
  if (!anyDigit)
    return std::nullopt;
  const std::size_t firstNonZero = digits.find_first_not_of('0');
  digits = firstNonZero == std::string::npos ? std::string() : digits.substr(firstNonZero);
  if (digits.empty())
    return makeDecimal(false, std::min(scale, 28), 0);
  return fitDigits(negative, digits, scale);
}

QString decimalText(const Decimal &value, QChar decimalPoint, bool trimZeros) {
  const UInt128 m = mantissaOf(value);
  std::string digits = digitsOf(m);
  const std::size_t scale = value.scale;
  if (digits.size() < scale + 1)
    digits.insert(0, scale + 1 - digits.size(), '0');
  std::string fraction = digits.substr(digits.size() - scale);
  const std::string whole = digits.substr(0, digits.size() - scale);
  if (trimZeros)
    while (!fraction.empty() && fraction.back() == '0')
      fraction.pop_back();
  QString out;
  if (value.negative && m != 0)
    out += QLatin1Char('-');
  out += QString::fromLatin1(whole);
  if (!fraction.empty())
    out += decimalPoint + QString::fromLatin1(fraction);
  return out;
}

UInt128 mantissaOf(const Decimal &value) {
  return (UInt128(value.hi32) << 64) | UInt128(value.lo64);
}

Decimal canonicalDecimal(const Decimal &value) {
  UInt128 m = mantissaOf(value);
  int scale = value.scale;
  while (scale > 0 && m % 10 == 0) {
    m /= 10;
    --scale;
  }
  return makeDecimal(value.negative, m == 0 ? 0 : scale, m);
}

std::optional<Decimal> rescaleDecimal(const Decimal &value, int scale) {
  UInt128 m = mantissaOf(value);
  if (scale >= value.scale) {
    for (int i = value.scale; i < scale; ++i) {
      m *= 10;
      if (m >= kMantissaLimit)
        return std::nullopt;
    }
    return makeDecimal(value.negative, scale, m);
  }
  const UInt128 divisor = pow10(value.scale - scale);
  UInt128 quotient = m / divisor;
  const UInt128 remainder = m % divisor;
  if (remainder > divisor - remainder || (remainder == divisor - remainder && (quotient & 1)))
    ++quotient;
  if (quotient >= kMantissaLimit)
    return std::nullopt;
  return makeDecimal(value.negative, scale, quotient);
}

std::optional<std::int64_t> decimalToInt64(const Decimal &value) {
  const auto whole = rescaleDecimal(value, 0);
  if (!whole)
    return std::nullopt;
  const UInt128 m = mantissaOf(*whole);
  const UInt128 limit = UInt128(std::numeric_limits<std::int64_t>::max());
  if (whole->negative) {
    if (m > limit + 1)
      return std::nullopt;
    return m == limit + 1 ? std::numeric_limits<std::int64_t>::min() : -std::int64_t(m);
  }
  if (m > limit)
    return std::nullopt;
  return std::int64_t(m);
}

Decimal decimalFromInt64(std::int64_t mantissa, int scale) {
  const bool negative = mantissa < 0;
  const std::uint64_t magnitude =
      negative ? std::uint64_t(0) - std::uint64_t(mantissa) : std::uint64_t(mantissa);
  return makeDecimal(negative, scale, magnitude);
}

QString currencyText(std::int64_t scaled, QChar decimalPoint) {
  return decimalText(decimalFromInt64(scaled, 4), decimalPoint, true);
}

std::optional<std::int64_t> parseCurrency(QStringView text, QChar decimalPoint) {
  const auto value = parseDecimal(text, decimalPoint);
  if (!value)
    return std::nullopt;
  const auto scaled = rescaleDecimal(*value, 4);
  if (!scaled)
    return std::nullopt;
  Decimal whole = *scaled;
  whole.scale = 0;
  return decimalToInt64(whole);
}

std::optional<std::int64_t> roundHalfEven(double value, double min, double max) {
  if (std::isnan(value))
    return std::nullopt;
  const double rounded = std::nearbyint(value);
  if (rounded < min || rounded > max || rounded < -9223372036854775808.0 ||
      rounded >= 9223372036854775808.0)
    return std::nullopt;
  return std::int64_t(rounded);
}

} // namespace TDInvoice::Ado
