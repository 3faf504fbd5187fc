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

struct SimpleType {
  const char *dtType;
  std::uint16_t dbType;
};

const SimpleType kSimpleTypes[] = {{"i1", DbI1},        {"ui1", DbUi1},     {"i2", DbI2},
                                   {"ui2", DbUi2},      {"int", DbI4},      {"i4", DbI4},
                                   {"ui4", DbUi4},      {"i8", DbI8},       {"ui8", DbUi8},
                                   {"r4", DbR4},        {"float", DbR8},    {"r8", DbR8},
                                   {"boolean", DbBool}, {"uuid", DbGuid},   {"bin.hex", DbBytes},
                                   {"date", DbDbDate},  {"time", DbDbTime}, {"fixed.14.4", DbCy}};

struct QualifiedType {
  const char *dtType;
  const char *dbType; // nullptr: the dt:type's default
  std::uint16_t storage;
};

const QualifiedType kQualifiedTypes[] = {{"number", "currency", DbCy},
                                         {"number", "decimal", DbDecimal},
                                         {"number", "numeric", DbNumeric},
                                         {"number", "varnumeric", DbVarNumeric},
                                         {"number", nullptr, DbNumeric},
                                         {"dateTime", "variantdate", DbDate},
                                         {"dateTime", "timestamp", DbDbTimeStamp},
                                         {"dateTime", "dbtimestamp", DbDbTimeStamp},
                                         {"dateTime", "filetime", DbFileTime},
                                         {"dateTime", nullptr, DbDbTimeStamp},
                                         {"string", "str", DbStr},
                                         {"string", nullptr, DbWStr}};

bool same(const QString &a, const char *b) {
  return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

std::optional<int> digitsAt(QStringView t, qsizetype &pos, int count) {
  if (pos + count > t.size())
    return std::nullopt;
  int value = 0;
  for (int i = 0; i < count; ++i) {
    const QChar c = t[pos + i];
    if (c < u'0' || c > u'9')
      return std::nullopt;
    value = value * 10 + (c.unicode() - '0');
  }
  pos += count;
  return value;
}

bool expect(QStringView t, qsizetype &pos, char16_t c) {
  if (pos >= t.size() || t[pos] != QChar(c))
    return false;
  ++pos;
  return true;
}

bool parseDatePart(QStringView t, qsizetype &pos, DateParts &p) {
  const auto year = digitsAt(t, pos, 4);
  if (!year || !expect(t, pos, u'-'))
    return false;
  const auto month = digitsAt(t, pos, 2);
  if (!month || !expect(t, pos, u'-'))
    return false;
  const auto day = digitsAt(t, pos, 2);
  if (!day)
    return false;
  p.year = *year;
  p.month = *month;
  p.day = *day;
  return isValidDate(p.year, p.month, p.day);
}

bool parseTimePart(QStringView t, qsizetype &pos, DateParts &p) {
  const auto hour = digitsAt(t, pos, 2);
  if (!hour || !expect(t, pos, u':'))
    return false;
  const auto minute = digitsAt(t, pos, 2);
  if (!minute || !expect(t, pos, u':'))
    return false;
  const auto second = digitsAt(t, pos, 2);
  if (!second)
    return false;
  p.hour = *hour;
  p.minute = *minute;
  p.second = *second;
  if (expect(t, pos, u'.')) {
    std::uint32_t fraction = 0;
    int digits = 0;
    while (pos < t.size() && t[pos] >= u'0' && t[pos] <= u'9') {
      if (digits == 9)
        return false;
      fraction = fraction * 10 + std::uint32_t(t[pos].unicode() - '0');
      ++digits;
      ++pos;
    }
    if (digits == 0)
      return false;
    for (; digits < 9; ++digits)
      fraction *= 10;
    p.nanosecond = fraction;
  }
  return isValidTime(p.hour, p.minute, p.second, p.nanosecond);
}

std::optional<double> parseDateTime(QStringView t, bool dateOnly, bool timeOnly) {
  DateParts p;
  qsizetype pos = 0;
  if (!timeOnly) {
    if (!parseDatePart(t, pos, p))
      return std::nullopt;
    if (dateOnly)
      return pos == t.size() ? std::optional<double>(oleDateOf(p)) : std::nullopt;
    if (pos == t.size())
      return oleDateOf(p);
    if (!expect(t, pos, u'T'))
      return std::nullopt;
  }
  if (!parseTimePart(t, pos, p) || pos != t.size())
    return std::nullopt;
  return timeOnly ? oleDateOf(0, ((std::int64_t(p.hour) * 60 + p.minute) * 60 + p.second) *
                                         1000000000LL +
                                     p.nanosecond)
                  : oleDateOf(p);
}

std::optional<Variant> integerValue(std::uint16_t dbType, QStringView text) {
  struct Range {
    std::uint16_t dbType;
    VarType type;
    std::int64_t min;
    std::int64_t max;
  };
  static const Range kRanges[] = {{DbI1, VarType::ShortInt, -128, 127},
                                  {DbUi1, VarType::Byte, 0, 255},
                                  {DbI2, VarType::SmallInt, -32768, 32767},
                                  {DbUi2, VarType::Word, 0, 65535},
                                  {DbI4, VarType::Integer, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max()},
                                  {DbUi4, VarType::LongWord, 0, 0xFFFFFFFFLL},
                                  {DbI8, VarType::Int64, std::numeric_limits<std::int64_t>::min(),
                                   std::numeric_limits<std::int64_t>::max()}};
  if (dbType == DbUi8) {
    const auto v = parseUInt64(text);
    return v ? std::optional<Variant>(Variant::fromUInt64(*v)) : std::nullopt;
  }
  for (const Range &r : kRanges) {
    if (r.dbType != dbType)
      continue;
    const auto v = parseInt64(text);
    if (!v || *v < r.min || *v > r.max)
      return std::nullopt;
    return Variant::fromInt(*v, r.type);
  }
  return std::nullopt;
}

std::optional<Variant> binaryValue(QStringView text) {
  if (text.size() % 2 != 0)
    return std::nullopt;
  for (QChar c : text)
    if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
      return std::nullopt;
  return Variant::fromBytes(QByteArray::fromHex(text.toLatin1()));
}

std::optional<Variant> booleanValue(QStringView text) {
  if (text.compare(u"true", Qt::CaseInsensitive) == 0 || text == u"1" || text == u"-1")
    return Variant(true);
  if (text.compare(u"false", Qt::CaseInsensitive) == 0 || text == u"0")
    return Variant(false);
  return std::nullopt;
}

template <typename T>
std::optional<Variant> asVariant(const std::optional<T> &v, Variant (*make)(T)) {
  return v ? std::optional<Variant>(make(*v)) : std::nullopt;
}

Variant makeDouble(double v) { return Variant(v); }
Variant makeDate(double v) { return Variant::fromDate(v); }
Variant makeDecimal(Decimal v) { return Variant::fromDecimal(v); }

} // namespace

std::uint16_t dbTypeOfXml(const QString &dtType, const QString &dbType) {
  for (const SimpleType &t : kSimpleTypes)
    if (same(dtType, t.dtType))
      return t.dbType;
  for (const QualifiedType &t : kQualifiedTypes)
    if (same(dtType, t.dtType) && (t.dbType == nullptr || same(dbType, t.dbType)))
      return t.storage;
  return DbWStr;
}

XmlTypeName xmlTypeOf(const ColumnLayout &column) {
  for (const SimpleType &t : kSimpleTypes) {
    if (t.dbType == column.dbType && t.dbType != DbCy) {
      const int width = fixedWidth(t.dbType);
      return {QLatin1String(t.dtType), QString(),
              QString::number(width ? std::uint32_t(width) : column.maxLength)};
    }
  }
  for (const QualifiedType &t : kQualifiedTypes) {
    if (t.storage != column.dbType || t.dbType == nullptr)
      continue;
    const bool dateLike = column.dbType == DbDate || column.dbType == DbFileTime;
    const int width = dateLike ? 16 : fixedWidth(column.dbType);
    return {QLatin1String(t.dtType), QLatin1String(t.dbType),
            QString::number(width ? std::uint32_t(width) : column.maxLength)};
  }
  if (column.dbType == DbWStr)
    return {QStringLiteral("string"), QString(), QString::number(column.maxLength)};
  throw EOleException("Field '" + column.name.toStdString() + "' of storage type " +
                      std::to_string(column.dbType) + " cannot be saved as XML");
}

std::optional<Variant> parseXmlValue(const ColumnLayout &column, QStringView text) {
  switch (column.dbType) {
  case DbI1:
  case DbUi1:
  case DbI2:
  case DbUi2:
  case DbI4:
  case DbUi4:
  case DbI8:
  case DbUi8:
    return integerValue(column.dbType, text);
  case DbR4: {
    const auto v = parseFloat(text, u'.');
    return v ? std::optional<Variant>(Variant::fromSingle(*v)) : std::nullopt;
  }
  case DbR8:
    return asVariant(parseDouble(text, u'.'), makeDouble);
  case DbCy: {
    const auto v = parseCurrency(text, u'.');
    return v ? std::optional<Variant>(Variant::fromCurrency(*v)) : std::nullopt;
  }
  case DbDecimal:
  case DbNumeric:
  case DbVarNumeric:
    return asVariant(parseDecimal(text, u'.'), makeDecimal);
  case DbBool:
    return booleanValue(text);
  case DbDate:
  case DbDbTimeStamp:
  case DbFileTime:
    return asVariant(parseDateTime(text, false, false), makeDate);
  case DbDbDate:
    return asVariant(parseDateTime(text, true, false), makeDate);
  case DbDbTime:
    return asVariant(parseDateTime(text, false, true), makeDate);
  case DbGuid: {
    const auto bytes = parseGuid(text);
    return bytes ? std::optional<Variant>(Variant(guidText(*bytes))) : std::nullopt;
  }
  case DbBytes:
    return binaryValue(text);
  default:
    return Variant(text.toString());
  }
}

} // namespace TDInvoice::Ado
