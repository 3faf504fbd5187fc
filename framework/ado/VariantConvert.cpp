// Conversions of a Variant to the types callers read fields as.
#include "framework/ado/Variant.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/Locale.h"
#include "framework/ado/NumberText.h"
#include "framework/ado/OleDate.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <limits>

namespace TDInvoice::Ado {

namespace {

[[noreturn]] void cannotConvert(VarType from, const char *to) {
  throw EVariantError("Could not convert variant of type (" +
                      Variant::typeName(from).toStdString() + ") into type (" + to + ")");
}

[[noreturn]] void overflow(VarType from, const char *to) {
  throw EVariantError("Arithmetic overflow converting variant of type (" +
                      Variant::typeName(from).toStdString() + ") into type (" + to + ")");
}

QChar decimalPoint() {
  const QString point = processLocale().decimalPoint();
  return point.isEmpty() ? QChar(u'.') : point.front();
}

bool isEnglishAustralia(const QLocale &locale) {
  return locale.language() == QLocale::English && locale.territory() == QLocale::Australia;
}

// The short date and long time formats of the process locale, as the platform's date-to-text
// uses them. English (Australia) keeps the Windows formats; other locales use Qt's, without
// the time zone.
QString shortDateFormat(const QLocale &locale) {
  return isEnglishAustralia(locale) ? QStringLiteral("d/MM/yyyy")
                                    : locale.dateFormat(QLocale::ShortFormat);
}

QString longTimeFormat(const QLocale &locale) {
  if (isEnglishAustralia(locale))
    return QStringLiteral("h:mm:ss AP");
  QString format = locale.timeFormat(QLocale::LongFormat);
  format.remove(QLatin1Char('t'));
  return format.trimmed();
}

std::optional<bool> booleanText(const QString &text) {
  if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
    return true;
  if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
    return false;
  return std::nullopt;
}

std::optional<double> dateText(const QString &text) {
  const QLocale locale = processLocale();
  const QString date = shortDateFormat(locale);
  const QString times[] = {longTimeFormat(locale), QStringLiteral("h:mm AP"),
                           QStringLiteral("H:mm:ss"), QStringLiteral("H:mm")};
  for (const QString &time : times) {
    const QDateTime value = locale.toDateTime(text, date + QLatin1Char(' ') + time);
    if (value.isValid()) {
      const QTime t = value.time();
      return oleDateOf(DateParts{value.date().year(), value.date().month(), value.date().day(),
                                 t.hour(), t.minute(), t.second(),
                                 std::uint32_t(t.msec()) * 1000000U});
    }
  }
  const QDate day = locale.toDate(text, date);
  if (day.isValid() && isValidDate(day.year(), day.month(), day.day()))
    return double(dayNumberOf(day.year(), day.month(), day.day()));
  return std::nullopt;
}

QString dateToString(double oleDate) {
  const auto parts = datePartsOf(oleDate, 1000000);
  if (!parts)
    throw EVariantError("Invalid date value " + std::to_string(oleDate));
  const QLocale locale = processLocale();
  const QDate date(parts->year, parts->month, parts->day);
  QString text = locale.toString(date, shortDateFormat(locale));
  if (parts->hour != 0 || parts->minute != 0 || parts->second != 0 || parts->nanosecond != 0) {
    const QTime time(parts->hour, parts->minute, parts->second, int(parts->nanosecond / 1000000U));
    text += QLatin1Char(' ') + locale.toString(time, longTimeFormat(locale));
  }
  return text;
}

} // namespace

QString Variant::toString() const {
  const QChar point = decimalPoint();
  switch (m_type) {
  case VarType::Empty:
    return QString();
  case VarType::Null:
  case VarType::Bytes:
    cannotConvert(m_type, "String");
  case VarType::Single:
    return shortestText(float(m_real), point, ExponentStyle::Display);
  case VarType::Double:
    return shortestText(m_real, point, ExponentStyle::Display);
  case VarType::Currency:
    return currencyText(m_int, point);
  case VarType::Date:
    return dateToString(m_real);
  case VarType::String:
    return m_text;
  case VarType::Boolean:
    return m_int ? QStringLiteral("True") : QStringLiteral("False");
  case VarType::Decimal:
    return decimalText(decimal(), point, true);
  case VarType::UInt64:
    return QString::number(m_uint);
  default:
    return QString::number(m_int);
  }
}

std::int64_t Variant::toInt64() const {
  constexpr double kMin = -9223372036854775808.0;
  constexpr double kMax = 9223372036854775807.0;
  switch (m_type) {
  case VarType::Empty:
    return 0;
  case VarType::Null:
  case VarType::Bytes:
    cannotConvert(m_type, "Int64");
  case VarType::Single:
  case VarType::Double:
  case VarType::Date: {
    const auto rounded = roundHalfEven(m_real, kMin, kMax);
    if (!rounded)
      overflow(m_type, "Int64");
    return *rounded;
  }
  case VarType::Currency: {
    const auto rounded = decimalToInt64(decimalFromInt64(m_int, 4));
    return *rounded; // |currency| / 10000 always fits
  }
  case VarType::Boolean:
    return m_int ? -1 : 0;
  case VarType::Decimal: {
    const auto rounded = decimalToInt64(decimal());
    if (!rounded)
      overflow(m_type, "Int64");
    return *rounded;
  }
  case VarType::UInt64:
    if (m_uint > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
      overflow(m_type, "Int64");
    return std::int64_t(m_uint);
  case VarType::String: {
    const QString text = m_text.trimmed();
    if (const auto whole = parseInt64(text))
      return *whole;
    if (const auto real = parseDouble(text, decimalPoint())) {
      const auto rounded = roundHalfEven(*real, kMin, kMax);
      if (!rounded)
        overflow(m_type, "Int64");
      return *rounded;
    }
    if (const auto flag = booleanText(text))
      return *flag ? -1 : 0;
    cannotConvert(m_type, "Int64");
  }
  default:
    return m_int;
  }
}

std::int32_t Variant::toInt() const {
  std::int64_t value = 0;
  try {
    value = toInt64();
  } catch (const EVariantError &) {
    if (m_type == VarType::Null || m_type == VarType::Bytes ||
        (m_type == VarType::String && !parseDouble(m_text.trimmed(), decimalPoint()) &&
         !booleanText(m_text.trimmed())))
      cannotConvert(m_type, "Integer");
    overflow(m_type, "Integer");
  }
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    overflow(m_type, "Integer");
  return std::int32_t(value);
}

double Variant::toDouble() const {
  switch (m_type) {
  case VarType::Empty:
    return 0.0;
  case VarType::Null:
  case VarType::Bytes:
    cannotConvert(m_type, "Double");
  case VarType::Single:
  case VarType::Double:
  case VarType::Date:
    return m_real;
  case VarType::Currency:
    return double(m_int) / 10000.0;
  case VarType::Boolean:
    return m_int ? -1.0 : 0.0;
  case VarType::Decimal:
    return *parseDouble(decimalText(decimal(), u'.', false), u'.');
  case VarType::UInt64:
    return double(m_uint);
  case VarType::String: {
    const QString text = m_text.trimmed();
    if (const auto real = parseDouble(text, decimalPoint()))
      return *real;
    if (const auto flag = booleanText(text))
      return *flag ? -1.0 : 0.0;
    cannotConvert(m_type, "Double");
  }
  default:
    return double(m_int);
  }
}

std::int64_t Variant::toCurrency() const {
  constexpr double kMin = -9223372036854775808.0;
  constexpr double kMax = 9223372036854775807.0;
  switch (m_type) {
  case VarType::Empty:
    return 0;
  case VarType::Null:
  case VarType::Bytes:
    cannotConvert(m_type, "Currency");
  case VarType::Currency:
    return m_int;
  case VarType::Single:
  case VarType::Double:
  case VarType::Date: {
    const auto scaled = roundHalfEven(m_real * 10000.0, kMin, kMax);
    if (!scaled)
      overflow(m_type, "Currency");
    return *scaled;
  }
  case VarType::Boolean:
    return m_int ? -10000 : 0;
  case VarType::Decimal: {
    auto scaled = rescaleDecimal(decimal(), 4);
    if (scaled) {
      scaled->scale = 0;
      if (const auto value = decimalToInt64(*scaled))
        return *value;
    }
    overflow(m_type, "Currency");
  }
  case VarType::String: {
    const QString text = m_text.trimmed();
    if (const auto value = parseCurrency(text, decimalPoint()))
      return *value;
    if (const auto flag = booleanText(text))
      return *flag ? -10000 : 0;
    if (parseDecimal(text, decimalPoint()))
      overflow(m_type, "Currency");
    cannotConvert(m_type, "Currency");
  }
  case VarType::UInt64:
    if (m_uint > std::uint64_t(std::numeric_limits<std::int64_t>::max() / 10000))
      overflow(m_type, "Currency");
    return std::int64_t(m_uint) * 10000;
  default:
    if (m_int > std::numeric_limits<std::int64_t>::max() / 10000 ||
        m_int < std::numeric_limits<std::int64_t>::min() / 10000)
      overflow(m_type, "Currency");
    return m_int * 10000;
  }
}

double Variant::toDateTime() const {
  switch (m_type) {
  case VarType::Null:
  case VarType::Bytes:
    cannotConvert(m_type, "Date");
  case VarType::String: {
    const QString text = m_text.trimmed();
    if (const auto date = dateText(text))
      return *date;
    if (const auto real = parseDouble(text, decimalPoint()))
      return *real;
    cannotConvert(m_type, "Date");
  }
  default:
    return toDouble();
  }
}

bool Variant::toBool() const {
  switch (m_type) {
  case VarType::Null:
  case VarType::Bytes:
    cannotConvert(m_type, "Boolean");
  case VarType::String: {
    const QString text = m_text.trimmed();
    if (const auto flag = booleanText(text))
      return *flag;
    if (const auto real = parseDouble(text, decimalPoint()))
      return *real != 0.0;
    cannotConvert(m_type, "Boolean");
  }
  case VarType::Single:
  case VarType::Double:
  case VarType::Date:
    return m_real != 0.0;
  case VarType::Decimal:
    return m_hi32 != 0 || m_uint != 0;
  case VarType::UInt64:
    return m_uint != 0;
  default:
    return m_int != 0;
  }
}

QByteArray Variant::toBytes() const {
  if (m_type == VarType::Bytes)
    return m_bytes;
  if (m_type == VarType::Empty)
    return QByteArray();
  cannotConvert(m_type, "Array Byte");
}

Decimal Variant::toDecimal() const {
  switch (m_type) {
  case VarType::Empty:
    return Decimal();
  case VarType::Null:
  case VarType::Bytes:
    cannotConvert(m_type, "Decimal");
  case VarType::Decimal:
    return decimal();
  case VarType::Currency:
    return decimalFromInt64(m_int, 4);
  case VarType::Boolean:
    return decimalFromInt64(m_int ? -1 : 0);
  case VarType::UInt64: {
    Decimal d;
    d.lo64 = m_uint;
    return d;
  }
  case VarType::Single:
  case VarType::Double:
  case VarType::Date: {
    const QString text = m_type == VarType::Single
                             ? shortestText(float(m_real), u'.', ExponentStyle::Display)
                             : shortestText(m_real, u'.', ExponentStyle::Display);
    if (const auto value = parseDecimal(text, u'.'))
      return *value;
    overflow(m_type, "Decimal"); // scientific notation, NaN or out of range
  }
  case VarType::String: {
    if (const auto value = parseDecimal(m_text.trimmed(), decimalPoint()))
      return *value;
    cannotConvert(m_type, "Decimal");
  }
  default:
    return decimalFromInt64(m_int);
  }
}

} // namespace TDInvoice::Ado
