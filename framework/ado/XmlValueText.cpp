// Lexical forms of values for the XML rowset writer.
#include "framework/ado/XmlLexical.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/GuidText.h"
#include "framework/ado/NumberText.h"
#include "framework/ado/OleDate.h"

#include <cmath>
#include <limits>
#include <string>

namespace TDInvoice::Ado {

namespace {

[[noreturn]] void unfit(const ColumnLayout &column, const std::string &why) {
  throw EOleException("Field '" + column.name.toStdString() + "': " + why);
}

QString twoDigits(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

QString dateText(const DateParts &p) {
  return QStringLiteral("%1-%2-%3")
      .arg(p.year, 4, 10, QLatin1Char('0'))
      .arg(twoDigits(p.month), twoDigits(p.day));
}

QString timeText(const DateParts &p, bool withFraction) {
  QString text = twoDigits(p.hour) + u':' + twoDigits(p.minute) + u':' + twoDigits(p.second);
  if (withFraction && p.nanosecond != 0)
    text += QStringLiteral(".%1").arg(p.nanosecond, 9, 10, QLatin1Char('0'));
  return text;
}

DateParts partsOf(const ColumnLayout &column, const Variant &value, bool clean) {
  const double date = value.toDateTime();
  const auto parts = clean ? cleanDatePartsOf(date) : datePartsOf(date, 1000000000U);
  if (!parts)
    unfit(column, "date out of range");
  return *parts;
}

QString integerText(const ColumnLayout &column, const Variant &value) {
  if (column.dbType == DbUi8) {
    if (value.type() == VarType::UInt64)
      return value.toString();
    const std::int64_t v = value.toInt64();
    if (v < 0)
      unfit(column, "value out of range");
    return QString::number(v);
  }
  struct Range {
    std::uint16_t dbType;
    std::int64_t min;
    std::int64_t max;
  };
  static const Range kRanges[] = {
      {DbI1, -128, 127},
      {DbUi1, 0, 255},
      {DbI2, -32768, 32767},
      {DbUi2, 0, 65535},
      {DbI4, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()},
      {DbUi4, 0, 0xFFFFFFFFLL},
      {DbI8, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()}};
  const std::int64_t v = value.toInt64();
  for (const Range &r : kRanges)
    if (r.dbType == column.dbType && (v < r.min || v > r.max))
      unfit(column, "value " + std::to_string(v) + " is out of range");
  return QString::number(v);
}

double finite(const ColumnLayout &column, double v) {
  if (!std::isfinite(v))
    unfit(column, "NaN and infinite values cannot be saved");
  return v;
}

QString textValue(const ColumnLayout &column, const Variant &value) {
  QString text = value.toString();
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
      ++i;
    else if (c.isSurrogate())
      unfit(column, "text holds an unpaired surrogate");
  }
  if (column.maxLength != 0xFFFFFFFFU && std::uint64_t(text.size()) > column.maxLength)
    unfit(column, "value is longer than the field's defined size");
  if (lengthPrefixOf(column) == LengthPrefix::None)
    text += QString(qsizetype(column.maxLength) - text.size(), u' ');
  return text;
}

} // namespace

QString xmlValueText(const ColumnLayout &column, const Variant &value) {
  try {
    switch (column.dbType) {
    case DbI1:
    case DbUi1:
    case DbI2:
    case DbUi2:
    case DbI4:
    case DbUi4:
    case DbI8:
    case DbUi8:
      return integerText(column, value);
    case DbR4:
      return shortestText(float(finite(column, value.toDouble())), u'.', ExponentStyle::Xml);
    case DbR8:
      return shortestText(finite(column, value.toDouble()), u'.', ExponentStyle::Xml);
    case DbCy:
      return currencyText(value.toCurrency(), u'.');
    case DbDecimal:
    case DbNumeric:
    case DbVarNumeric: {
      const auto d = decimalForColumn(column, value.toDecimal());
      if (!d)
        unfit(column, "numeric value out of range");
      return decimalText(*d, u'.', true);
    }
    case DbBool:
      return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case DbDate:
    case DbDbTimeStamp:
    case DbFileTime: {
      const DateParts p = partsOf(column, value, true);
      return dateText(p) + u'T' + timeText(p, true);
    }
    case DbDbDate: {
      // The day the value falls on: no rounding of its time into the next day.
      const auto parts = datePartsOf(std::trunc(value.toDateTime()), 1000000000U);
      if (!parts)
        unfit(column, "date out of range");
      return dateText(*parts);
    }
    case DbDbTime:
      return timeText(partsOf(column, value, false), false);
    case DbGuid: {
      const auto bytes = parseGuid(value.toString());
      if (!bytes)
        unfit(column, "value is not a GUID");
      return guidText(*bytes);
    }
    case DbBytes: {
      const QByteArray bytes = value.toBytes();
      if (column.maxLength != 0xFFFFFFFFU && std::uint64_t(bytes.size()) > column.maxLength)
        unfit(column, "value is longer than the field's defined size");
      QByteArray padded = bytes;
      if (lengthPrefixOf(column) == LengthPrefix::None)
        padded.append(QByteArray(qsizetype(column.maxLength) - bytes.size(), '\0'));
      return QString::fromLatin1(padded.toHex());
    }
    case DbStr:
    case DbWStr:
      return textValue(column, value);
    default:
      unfit(column, "cannot be saved as XML");
    }
  } catch (const EVariantError &error) {
    unfit(column, error.what());
  }
}

} // namespace TDInvoice::Ado
