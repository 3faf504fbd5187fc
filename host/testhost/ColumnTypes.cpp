#include "host/testhost/ColumnTypes.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace TDInvoice::Host {

std::optional<Ado::DataTypeEnum> adoTypeForDeclaration(const QString &declared) {
  const QString t = declared.trimmed().toUpper();
  if (t.isEmpty())
    return std::nullopt;
  const auto has = [&](const char *word) { return t.contains(QLatin1String(word)); };
  if (has("CURRENCY") || has("MONEY"))
    return Ado::adCurrency;
  if (has("DATE") || has("TIMESTAMP"))
    return Ado::adDate;
  if (has("BOOL") || t == "BIT" || has("YESNO"))
    return Ado::adBoolean;
  if (has("TINYINT") || t == "BYTE")
    return Ado::adUnsignedTinyInt;
  if (has("SMALLINT"))
    return Ado::adSmallInt;
  if (has("BIGINT"))
    return Ado::adBigInt;
  if (has("INT"))
    return Ado::adInteger;
  if (has("SINGLE"))
    return Ado::adSingle;
  if (has("REAL") || has("DOUBLE") || has("FLOAT") || has("NUMERIC") || has("DECIMAL"))
    return Ado::adDouble;
  if (has("MEMO") || has("LONGTEXT") || has("NTEXT"))
    return Ado::adLongVarWChar;
  if (has("BLOB") || has("BINARY"))
    return Ado::adVarBinary;
  return Ado::adVarWChar;
}

std::int32_t declaredLength(const QString &declared) {
  static const QRegularExpression length(QStringLiteral("\\(\\s*(\\d{1,9})\\s*\\)"));
  const QRegularExpressionMatch match = length.match(declared);
  return match.hasMatch() ? match.captured(1).toInt() : 0;
}

std::optional<std::int64_t> currencyFromText(const QString &text) {
  static const QRegularExpression decimal(QStringLiteral("^\\s*([+-]?)(\\d*)(?:\\.(\\d*))?\\s*$"));
  const QRegularExpressionMatch m = decimal.match(text);
  if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty()))
    return std::nullopt;
  const QString whole = m.captured(2), fraction = m.captured(3);
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max();
  std::int64_t units = 0;
  for (const QChar c : whole) {
    const int digit = c.digitValue();
    if (units > (kLimit - digit) / 10)
      return std::nullopt;
    units = units * 10 + digit;
  }
  for (int i = 0; i < 4; ++i) {
    const int digit = i < fraction.size() ? fraction.at(i).digitValue() : 0;
    if (units > (kLimit - digit) / 10)
      return std::nullopt;
    units = units * 10 + digit;
  }
  // Half away from zero: the fifth decimal decides.
  if (fraction.size() > 4 && fraction.at(4).digitValue() >= 5) {
    if (units == kLimit)
      return std::nullopt;
    ++units;
  }
  return m.captured(1) == u"-" ? -units : units;
}

std::optional<std::int64_t> currencyFromDouble(double value) {
  if (!std::isfinite(value))
    return std::nullopt;
  return currencyFromText(QString::number(value, 'f', QLocale::FloatingPointShortest));
}

std::optional<double> oleDateFromIsoText(const QString &text) {
  static const QRegularExpression iso(
      QStringLiteral("^\\s*(\\d{4})-(\\d{2})-(\\d{2})(?:[ "
                     "T](\\d{2}):(\\d{2})(?::(\\d{2})(?:\\.(\\d{1,9}))?)?)?\\s*$"));
  const QRegularExpressionMatch m = iso.match(text);
  if (!m.hasMatch())
    return std::nullopt;
  const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
  const int hour = m.captured(4).toInt(), minute = m.captured(5).toInt();
  const int second = m.captured(6).toInt();
  if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
    return std::nullopt;
  const double fractionOfSecond =
      m.captured(7).isEmpty() ? 0.0
                              : QStringView(u"0.").toString().append(m.captured(7)).toDouble();
  const double time = (hour * 3600 + minute * 60 + second + fractionOfSecond) / 86400.0;
  const auto days = static_cast<double>(QDate(1899, 12, 30).daysTo(date));
  // Before 1899-12-30 the time still counts forward from midnight: -1.25 is 29 December
  // 1899, 06:00.
  return days >= 0 ? days + time : days - time;
}

} // namespace TDInvoice::Host
