#include "host/tools/RecordsetJson.h"

#include "framework/ado/Locale.h"

#include <QDateTime>

#include <cmath>
#include <cstdlib>
#include <utility>

namespace TDInvoice::Host {
namespace {

using namespace Ado;

const std::pair<DataTypeEnum, const char *> kTypeNames[] = {
    {adEmpty, "adEmpty"},
    {adTinyInt, "adTinyInt"},
    {adSmallInt, "adSmallInt"},
    {adInteger, "adInteger"},
    {adBigInt, "adBigInt"},
    {adUnsignedTinyInt, "adUnsignedTinyInt"},
    {adUnsignedSmallInt, "adUnsignedSmallInt"},
    {adUnsignedInt, "adUnsignedInt"},
    {adUnsignedBigInt, "adUnsignedBigInt"},
    {adSingle, "adSingle"},
    {adDouble, "adDouble"},
    {adCurrency, "adCurrency"},
    {adDecimal, "adDecimal"},
    {adNumeric, "adNumeric"},
    {adBoolean, "adBoolean"},
    {adError, "adError"},
    {adUserDefined, "adUserDefined"},
    {adVariant, "adVariant"},
    {adIDispatch, "adIDispatch"},
    {adIUnknown, "adIUnknown"},
    {adGUID, "adGUID"},
    {adDate, "adDate"},
    {adDBDate, "adDBDate"},
    {adDBTime, "adDBTime"},
    {adDBTimeStamp, "adDBTimeStamp"},
    {adBSTR, "adBSTR"},
    {adChar, "adChar"},
    {adVarChar, "adVarChar"},
    {adLongVarChar, "adLongVarChar"},
    {adWChar, "adWChar"},
    {adVarWChar, "adVarWChar"},
    {adLongVarWChar, "adLongVarWChar"},
    {adBinary, "adBinary"},
    {adVarBinary, "adVarBinary"},
    {adLongVarBinary, "adLongVarBinary"},
    {adChapter, "adChapter"},
    {adFileTime, "adFileTime"},
    {adPropVariant, "adPropVariant"},
    {adVarNumeric, "adVarNumeric"},
};

const std::pair<std::uint32_t, const char *> kAttributeNames[] = {
    {adFldMayDefer, "adFldMayDefer"},
    {adFldUpdatable, "adFldUpdatable"},
    {adFldUnknownUpdatable, "adFldUnknownUpdatable"},
    {adFldFixed, "adFldFixed"},
    {adFldIsNullable, "adFldIsNullable"},
    {adFldMayBeNull, "adFldMayBeNull"},
    {adFldLong, "adFldLong"},
    {adFldRowID, "adFldRowID"},
    {adFldRowVersion, "adFldRowVersion"},
    {adFldCacheDeferred, "adFldCacheDeferred"},
    {adFldIsChapter, "adFldIsChapter"},
    {adFldNegativeScale, "adFldNegativeScale"},
    {adFldKeyColumn, "adFldKeyColumn"},
};

// Currency units as decimal text with four places.
QString currencyText(std::int64_t units) {
  const bool negative = units < 0;
  // Magnitude in unsigned arithmetic, so that the most negative value has one too.
  const std::uint64_t magnitude =
      negative ? ~static_cast<std::uint64_t>(units) + 1 : static_cast<std::uint64_t>(units);
  return QStringLiteral("%1%2.%3")
      .arg(negative ? "-" : "")
      .arg(magnitude / 10000)
      .arg(magnitude % 10000, 4, 10, QChar(u'0'));
}

// An OLE date as ISO text; before 30 December 1899 the fraction still counts forward.
QString dateText(double ole) {
  const double days = std::trunc(ole);
  const double fraction = std::fabs(ole - days);
  const auto ms = static_cast<qint64>(std::llround(fraction * 86400000.0));
  const QDateTime midnight(QDate(1899, 12, 30).addDays(static_cast<qint64>(days)), QTime(0, 0),
                           Qt::UTC);
  return midnight.addMSecs(ms).toString(Qt::ISODateWithMs).chopped(1);
}

} // namespace

QString adoTypeName(DataTypeEnum type) {
  for (const auto &[code, name] : kTypeNames)
    if (code == type)
      return QString::fromLatin1(name);
  return QStringLiteral("type %1").arg(static_cast<int>(type));
}

QJsonArray attributeNames(std::uint32_t attributes) {
  QJsonArray names;
  for (const auto &[bit, name] : kAttributeNames)
    if (attributes & bit)
      names.append(QString::fromLatin1(name));
  return names;
}

QJsonObject fieldJson(const FieldInfo &field) {
  return {{"name", field.name},
          {"type", adoTypeName(field.type)},
          {"typeCode", static_cast<int>(field.type)},
          {"size", static_cast<qint64>(field.definedSize)},
          {"precision", field.precision},
          {"scale", field.numericScale},
          {"flags", attributeNames(field.attributes)}};
}

QJsonValue valueJson(const Variant &value) {
  switch (value.type()) {
  case VarType::Empty:
  case VarType::Null:
    return QJsonValue::Null;
  case VarType::Boolean:
    return value.toBool();
  case VarType::Single:
  case VarType::Double:
    return value.toDouble();
  case VarType::Currency:
    return currencyText(value.toCurrency());
  case VarType::Date:
    return dateText(value.toDateTime());
  case VarType::Decimal:
    return value.toString().replace(processLocale().decimalPoint(), QStringLiteral("."));
  case VarType::String:
    return value.toString();
  case VarType::Bytes:
    return QString::fromLatin1(value.toBytes().toBase64());
  case VarType::UInt64:
    return value.toString();
  default:
    return static_cast<qint64>(value.toInt64());
  }
}

QJsonObject recordsetJson(const RecordsetData &data) {
  QJsonArray columns, rows;
  for (const FieldInfo &field : data.fields)
    columns.append(fieldJson(field));
  for (const auto &row : data.rows) {
    QJsonArray values;
    for (const Variant &value : row)
      values.append(valueJson(value));
    rows.append(values);
  }
  return {{"columns", columns}, {"rows", rows}};
}

} // namespace TDInvoice::Host
