#include "framework/db/TADODataSet.h"

#include "TDInvoice/Exceptions.h"

namespace TDInvoice {
namespace {

constexpr const char *kClosedDataSet = "Cannot perform this operation on a closed dataset";

bool isNothing(const Ado::Variant &v) { return v.isNull() || v.isEmpty(); }

} // namespace

QString TField::FieldName() const { return m_dataSet->activeRecordset().Fields(m_index).Name(); }

Ado::DataTypeEnum TField::DataType() const {
  return m_dataSet->activeRecordset().Fields(m_index).Type();
}

std::int32_t TField::Size() const {
  return m_dataSet->activeRecordset().Fields(m_index).DefinedSize();
}

Ado::Variant TField::Value() const { return m_dataSet->fieldValue(m_index); }

bool TField::IsNull() const { return isNothing(m_dataSet->fieldValue(m_index)); }

// Each reads the value once.
QString TField::AsString() const {
  const Ado::Variant v = Value();
  return isNothing(v) ? QString() : v.toString();
}
std::int32_t TField::AsInteger() const {
  const Ado::Variant v = Value();
  return isNothing(v) ? 0 : v.toInt();
}
std::int64_t TField::AsCurrency() const {
  const Ado::Variant v = Value();
  return isNothing(v) ? 0 : v.toCurrency();
}
double TField::AsFloat() const {
  const Ado::Variant v = Value();
  return isNothing(v) ? 0.0 : v.toDouble();
}
double TField::AsDateTime() const {
  const Ado::Variant v = Value();
  return isNothing(v) ? 0.0 : v.toDateTime();
}
bool TField::AsBoolean() const {
  const Ado::Variant v = Value();
  return isNothing(v) ? false : v.toBool();
}

TADODataSet::TADODataSet(QString Name) : m_name(std::move(Name)) {}

void TADODataSet::checkActive() const {
  if (!m_recordset)
    throw EDatabaseError(kClosedDataSet);
}

const Ado::Recordset &TADODataSet::activeRecordset() const {
  checkActive();
  return *m_recordset;
}

void TADODataSet::setRecordset(Ado::Recordset Recordset) {
  Close();
  if (!Recordset.isOpen())
    throw EDatabaseError("Recordset is not open");
  m_recordset.emplace(std::move(Recordset));
  First();
}

void TADODataSet::Close() {
  m_recordset.reset();
  m_recNo = 0;
  m_eof = m_bof = true;
}

void TADODataSet::First() {
  checkActive();
  m_recNo = 0;
  m_bof = true;
  m_eof = m_recordset->RecordCount() == 0;
}

void TADODataSet::Next() {
  checkActive();
  if (m_recNo + 1 < m_recordset->RecordCount()) {
    ++m_recNo;
    m_bof = false;
  } else {
    m_eof = true;
  }
}

void TADODataSet::Prior() {
  checkActive();
  if (m_recNo > 0) {
    --m_recNo;
    m_eof = false;
  } else {
    m_bof = true;
  }
}

bool TADODataSet::Eof() const {
  checkActive();
  return m_eof;
}

bool TADODataSet::Bof() const {
  checkActive();
  return m_bof;
}

std::int32_t TADODataSet::RecordCount() const {
  checkActive();
  return m_recordset->RecordCount();
}

std::int32_t TADODataSet::RecNo() const {
  checkActive();
  return m_recordset->RecordCount() == 0 ? 0 : m_recNo + 1;
}

std::int32_t TADODataSet::FieldCount() const {
  checkActive();
  return m_recordset->FieldCount();
}

TField TADODataSet::Fields(std::int32_t Index) const {
  checkActive();
  if (Index < 0 || Index >= m_recordset->FieldCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return TField(this, Index);
}

std::optional<TField> TADODataSet::FindField(const QString &FieldName) const {
  checkActive();
  const int index = m_recordset->fieldIndex(FieldName);
  if (index < 0)
    return std::nullopt;
  return TField(this, index);
}

TField TADODataSet::FieldByName(const QString &FieldName) const {
  if (std::optional<TField> field = FindField(FieldName))
    return *field;
  throw EDatabaseError("Field '" + FieldName.toStdString() + "' not found");
}

QString TADODataSet::Sort() const {
  checkActive();
  return m_recordset->Sort();
}

void TADODataSet::setSort(const QString &Spec) {
  checkActive();
  m_recordset->setSort(Spec);
  First();
}

Ado::Variant TADODataSet::fieldValue(int index) const {
  checkActive();
  if (m_recordset->RecordCount() == 0)
    return Ado::Variant::null();
  return m_recordset->valueAt(m_recNo, index);
}

} // namespace TDInvoice
