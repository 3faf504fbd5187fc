#include "invoice/ADODataSetComponent.h"

namespace TDInvoice {

using Report::TReportFieldType;

TADODataSetComponent::TADODataSetComponent(QObject *owner, const QString &name)
    : QObject(owner), m_dataSet(name) {
  setObjectName(name);
}

// A closed dataset has no records to walk.
bool TADODataSetComponent::Eof() const { return !m_dataSet.Active() || m_dataSet.Eof(); }

TReportFieldType TADODataSetComponent::fieldTypeOf(Ado::DataTypeEnum type) {
  switch (type) {
  case Ado::adBSTR:
  case Ado::adChar:
  case Ado::adVarChar:
  case Ado::adLongVarChar:
  case Ado::adGUID:
    return TReportFieldType::String;
  case Ado::adWChar:
  case Ado::adVarWChar:
  case Ado::adLongVarWChar:
    return TReportFieldType::WideString;
  case Ado::adInteger:
  case Ado::adUnsignedInt:
    return TReportFieldType::Integer;
  case Ado::adSmallInt:
  case Ado::adTinyInt:
  case Ado::adUnsignedTinyInt:
    return TReportFieldType::SmallInt;
  case Ado::adUnsignedSmallInt:
    return TReportFieldType::Word;
  case Ado::adBigInt:
  case Ado::adUnsignedBigInt:
    return TReportFieldType::LargeInt;
  case Ado::adSingle:
  case Ado::adDouble:
    return TReportFieldType::Float;
  case Ado::adCurrency:
    return TReportFieldType::Currency;
  case Ado::adDecimal:
  case Ado::adNumeric:
  case Ado::adVarNumeric:
    return TReportFieldType::BCD;
  case Ado::adBoolean:
    return TReportFieldType::Boolean;
  case Ado::adDBDate:
    return TReportFieldType::Date;
  case Ado::adDBTime:
    return TReportFieldType::Time;
  case Ado::adDate:
  case Ado::adDBTimeStamp:
  case Ado::adFileTime:
    return TReportFieldType::DateTime;
  default:
    return TReportFieldType::Other;
  }
}

std::optional<Report::TReportField> TADODataSetComponent::FindField(const QString &name) const {
  if (!m_dataSet.Active())
    return std::nullopt;
  const std::optional<TField> field = m_dataSet.FindField(name);
  if (!field)
    return std::nullopt;
  Report::TReportField result;
  result.name = field->FieldName();
  result.type = fieldTypeOf(field->DataType());
  if (field->IsNull())
    return result;
  switch (result.type) {
  case TReportFieldType::String:
  case TReportFieldType::WideString:
    result.value = field->AsString();
    break;
  case TReportFieldType::Boolean:
    result.value = field->AsBoolean();
    break;
  case TReportFieldType::Float:
  case TReportFieldType::Currency:
  case TReportFieldType::BCD:
    result.value = field->AsFloat();
    break;
  case TReportFieldType::Date:
  case TReportFieldType::Time:
  case TReportFieldType::DateTime:
    result.value = field->AsDateTime();
    break;
  default:
    result.value = static_cast<qlonglong>(field->Value().toInt64());
    break;
  }
  result.displayText = field->AsString();
  return result;
}

} // namespace TDInvoice
