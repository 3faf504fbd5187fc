#include "invoice/InvoiceFormats.h"

#include "framework/ado/Locale.h"
#include "invoice/layout/InvoiceStrings.h"

#include <QDate>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace TDInvoice::InvoiceFormats {
namespace {

// One section of a number picture: literals around a run of digit places.
struct TNumberSection {
  QString prefix;
  QString suffix;
  bool grouped = false;
  int minIntegerDigits = 0;
  int decimals = 0;         // '0' places after the point
  int optionalDecimals = 0; // '#' places after the point
};

bool isPlace(char c) { return c == '#' || c == '0' || c == ',' || c == '.'; }

TNumberSection parseSection(std::string_view text) {
  TNumberSection section;
  std::size_t at = 0;
  while (at < text.size() && !isPlace(text[at]))
    section.prefix += QChar::fromLatin1(text[at++]);
  bool afterPoint = false;
  for (; at < text.size() && isPlace(text[at]); ++at) {
    const char c = text[at];
    if (c == '.')
      afterPoint = true;
    else if (c == ',')
      section.grouped = section.grouped || !afterPoint;
    else if (afterPoint)
      (c == '0' ? section.decimals : section.optionalDecimals) += 1;
    else if (c == '0')
      ++section.minIntegerDigits;
  }
  for (; at < text.size(); ++at)
    section.suffix += QChar::fromLatin1(text[at]);
  return section;
}

QString groupedDigits(std::uint64_t value, int minDigits, bool grouped, const QLocale &locale) {
  QString digits = QString::number(value);
  if (value == 0 && minDigits == 0)
    digits.clear();
  while (digits.size() < minDigits)
    digits.prepend(QLatin1Char('0'));
  if (!grouped)
    return digits;
  const QString separator = locale.groupSeparator();
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
    digits.insert(at, separator);
  return digits;
}

std::uint64_t powerOfTen(int exponent) {
  std::uint64_t value = 1;
  while (exponent-- > 0)
    value *= 10;
  return value;
}

// |amount| in units of 10^-places, rounded half away from zero.
std::uint64_t scaledMagnitude(TCurrency amount, int places) {
  // The magnitude of the most negative amount still fits the unsigned type.
  const std::uint64_t magnitude =
      amount < 0 ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
  if (places >= 4)
    return magnitude * powerOfTen(places - 4);
  const std::uint64_t divisor = powerOfTen(4 - places);
  return magnitude / divisor + (magnitude % divisor * 2 >= divisor ? 1 : 0);
}

QString formatSection(std::uint64_t scaled, const TNumberSection &section, const QLocale &locale) {
  const int places = section.decimals + section.optionalDecimals;
  const std::uint64_t unit = powerOfTen(places);
  QString text = section.prefix +
                 groupedDigits(scaled / unit, section.minIntegerDigits, section.grouped, locale);
  if (places > 0) {
    QString fraction = QString::number(scaled % unit).rightJustified(places, QLatin1Char('0'));
    while (fraction.size() > section.decimals && fraction.endsWith(QLatin1Char('0')))
      fraction.chop(1);
    if (!fraction.isEmpty())
      text += locale.decimalPoint() + fraction;
  }
  return text + section.suffix;
}

// The five significant digits of value (rounded) and the decimal exponent of the first.
struct TSignificant {
  bool negative = false;
  std::int64_t digits = 0; // 10000..99999, or 0 for a zero value
  int exponent = 0;
};

TSignificant significantDigits(double value) {
  TSignificant result;
  if (value == 0 || !std::isfinite(value))
    return result;
  char text[64];
  std::snprintf(text, sizeof text, "%.4e", value);
  const char *at = text;
  if (*at == '-') {
    result.negative = true;
    ++at;
  }
  for (; *at && *at != 'e'; ++at)
    if (*at >= '0' && *at <= '9')
      result.digits = result.digits * 10 + (*at - '0');
  if (*at == 'e')
    result.exponent = std::atoi(at + 1);
  return result;
}

QString nonFiniteText(double value) {
  return std::isnan(value) ? QStringLiteral("NAN")
                           : (value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF"));
}

// The currency style of a locale: its positive form with "%1" for the number.
QString currencyPattern(const QLocale &locale) {
  static QString cachedName;
  static QString cachedPattern;
  const QString name = locale.bcp47Name();
  if (name != cachedName || cachedPattern.isEmpty()) {
    const QString sample = locale.toString(1.0, 'f', 2);
    QString pattern = locale.toCurrencyString(1.0, locale.currencySymbol(), 2);
    const qsizetype at = pattern.indexOf(sample);
    pattern = at < 0 ? locale.currencySymbol() + QStringLiteral("%1")
                     : pattern.replace(at, sample.size(), QStringLiteral("%1"));
    cachedName = name;
    cachedPattern = pattern;
  }
  return cachedPattern;
}

} // namespace

QLocale invoiceLocale() { return Ado::processLocale(); }

QString formatAmount(TCurrency amount, std::string_view picture, const QLocale &locale) {
  const std::size_t split = picture.find(';');
  const TNumberSection positive = parseSection(picture.substr(0, split));
  const bool hasNegative = split != std::string_view::npos;
  const TNumberSection negative =
      hasNegative
          ? parseSection(picture.substr(split + 1, picture.find(';', split + 1) - split - 1))
          : positive;
  const TNumberSection &section = amount < 0 ? negative : positive;
  const std::uint64_t scaled = scaledMagnitude(amount, section.decimals + section.optionalDecimals);
  if (scaled == 0)
    return formatSection(0, positive, locale);
  if (amount < 0 && !hasNegative)
    return locale.negativeSign() + formatSection(scaled, positive, locale);
  return formatSection(scaled, section, locale);
}

QString formatMoney(TCurrency amount, const QLocale &locale) {
  return formatAmount(amount, InvoiceStrings::FMT_Money, locale);
}

QString formatCurrency(TCurrency amount, const QLocale &locale) {
  TNumberSection number;
  number.grouped = true;
  number.minIntegerDigits = 1;
  number.decimals = 2;
  const std::uint64_t scaled = scaledMagnitude(amount, 2);
  const QString text = currencyPattern(locale).arg(formatSection(scaled, number, locale));
  // Windows shows a negative amount as its positive form after a minus sign ("-$40.00"),
  // where the locale data would use the accounting form "($40.00)".
  return amount < 0 && scaled != 0 ? locale.negativeSign() + text : text;
}

QString formatHours(double value, const QLocale &locale) {
  if (!std::isfinite(value))
    return nonFiniteText(value);
  const TSignificant s = significantDigits(value);
  if (s.digits == 0)
    return QStringLiteral("0");
  QString digits = QString::number(s.digits);
  while (digits.endsWith(QLatin1Char('0')))
    digits.chop(1);
  const QString sign = s.negative ? locale.negativeSign() : QString();
  // Fixed notation while the whole part has at most five digits and the value is not tiny.
  if (s.exponent >= 5 || s.exponent < -5) {
    const QString mantissa =
        digits.size() > 1 ? digits.left(1) + locale.decimalPoint() + digits.mid(1) : digits;
    return sign + mantissa +
           QStringLiteral("E%1%2")
               .arg(s.exponent < 0 ? QLatin1Char('-') : QLatin1Char('+'))
               .arg(std::abs(s.exponent));
  }
  if (s.exponent < 0)
    return sign + QStringLiteral("0") + locale.decimalPoint() +
           QString(-s.exponent - 1, QLatin1Char('0')) + digits;
  const int wholeDigits = s.exponent + 1;
  if (digits.size() <= wholeDigits)
    return sign + digits + QString(wholeDigits - digits.size(), QLatin1Char('0'));
  return sign + digits.left(wholeDigits) + locale.decimalPoint() + digits.mid(wholeDigits);
}

QString formatFactor(double value, const QLocale &locale) {
  if (!std::isfinite(value))
    return nonFiniteText(value);
  const TSignificant s = significantDigits(value);
  // The five digits stand for digits x 10^(exponent - 4); in hundredths that is
  // digits x 10^(exponent - 2), rounded half away from zero when the shift is downwards.
  std::uint64_t hundredths = 0;
  const int shift = s.exponent - 2;
  if (s.digits != 0 && shift >= 0)
    hundredths = static_cast<std::uint64_t>(s.digits) * powerOfTen(std::min(shift, 14));
  else if (s.digits != 0 && shift > -6) {
    const std::uint64_t divisor = powerOfTen(-shift);
    hundredths = (static_cast<std::uint64_t>(s.digits) + divisor / 2) / divisor;
  }
  TNumberSection number;
  number.minIntegerDigits = 1;
  number.decimals = 2;
  const QString text = formatSection(hundredths, number, locale);
  return s.negative && hundredths != 0 ? locale.negativeSign() + text : text;
}

QString dateSeparator(const QLocale &locale) {
  const QString format = locale.dateFormat(QLocale::ShortFormat);
  for (const QChar c : format)
    if (!c.isLetter() && c != QLatin1Char('\'') && !c.isSpace())
      return QString(c);
  return QStringLiteral("/");
}

QString formatDate(int year, int month, int day, std::string_view picture, const QLocale &locale) {
  QString text;
  for (std::size_t at = 0; at < picture.size();) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(picture[at])));
    std::size_t run = 1;
    while (at + run < picture.size() &&
           std::tolower(static_cast<unsigned char>(picture[at + run])) == c)
      ++run;
    if (c == 'd') {
      text += run == 1 ? QString::number(day) : QString::number(day).rightJustified(2, u'0');
    } else if (c == 'm') {
      if (run >= 4)
        text += locale.standaloneMonthName(month, QLocale::LongFormat);
      else if (run == 3)
        // Windows' abbreviations are the three-letter standalone forms ("Sep", not "Sept").
        text += locale.standaloneMonthName(month, QLocale::ShortFormat);
      else
        text += run == 1 ? QString::number(month) : QString::number(month).rightJustified(2, u'0');
    } else if (c == 'y') {
      text += run <= 2 ? QString::number(year % 100).rightJustified(2, u'0')
                       : QString::number(year).rightJustified(4, u'0');
    } else if (c == '/') {
      for (std::size_t i = 0; i < run; ++i)
        text += dateSeparator(locale);
    } else {
      text += QString::fromLatin1(picture.data() + at, static_cast<qsizetype>(run));
    }
    at += run;
  }
  return text;
}

QString formatDateTime(double dateTime, std::string_view picture, const QLocale &locale) {
  if (!std::isfinite(dateTime))
    return {};
  const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(dateTime)));
  return formatDate(date.year(), date.month(), date.day(), picture, locale);
}

namespace {

template <class Text> Text fillInText(std::string_view format, std::initializer_list<Text> args) {
  Text text;
  auto next = args.begin();
  for (std::size_t at = 0; at < format.size(); ++at) {
    const char c = format[at];
    const char kind = at + 1 < format.size() ? format[at + 1] : '\0';
    if (c == '%' && (kind == 's' || kind == 'd' || kind == '%')) {
      if (kind == '%')
        text += '%';
      else if (next != args.end())
        text += *next++;
      ++at;
      continue;
    }
    text += c;
  }
  return text;
}

} // namespace

QString fillIn(std::string_view format, std::initializer_list<QString> args) {
  return fillInText<QString>(format, args);
}

QByteArray fillIn(std::string_view format, std::initializer_list<QByteArray> args) {
  return fillInText<QByteArray>(format, args);
}

} // namespace TDInvoice::InvoiceFormats
