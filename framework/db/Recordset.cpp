#include "framework/db/Recordset.h"

#include "TDInvoice/Exceptions.h"
#include "framework/db/SortOrder.h"
#include "framework/db/Stream.h"

namespace TDInvoice::Ado {

const FieldInfo &Field::info() const {
  return m_recordset->fieldInfos()[static_cast<std::size_t>(m_index)];
}

Variant Field::Value() const { return m_recordset->currentValue(m_index); }

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset &&other) noexcept = default;
Recordset &Recordset::operator=(Recordset &&other) noexcept = default;

void Recordset::checkOpen() const {
  if (!m_data)
    throw EOleException(AdoError::ObjectClosed);
}

void Recordset::Open(Stream &Source, CursorTypeEnum CursorType, LockTypeEnum LockType,
                     std::int32_t Options) {
  if (m_data)
    throw EOleException(AdoError::ObjectOpen);
  if (CursorType < adOpenUnspecified || CursorType > adOpenStatic || LockType < adLockUnspecified ||
      LockType > adLockBatchOptimistic || LockType == 0)
    throw EOleException(AdoError::BadArguments);
  (void)Options; // a stream source needs no command options
  Open(openPersisted(Source.ReadAll()));
}

void Recordset::Open(RecordsetData Data) {
  if (m_data)
    throw EOleException(AdoError::ObjectOpen);
  Open(rowsOf(std::move(Data)));
}

void Recordset::Open(std::shared_ptr<const RecordsetRows> Rows) {
  if (m_data)
    throw EOleException(AdoError::ObjectOpen);
  if (!Rows)
    throw EOleException(AdoError::BadArguments);
  m_data = std::move(Rows);
  m_order.reset();
  m_sort.clear();
  m_position = 0;
}

void Recordset::Close() {
  checkOpen();
  m_data.reset();
  m_order.reset();
  m_sort.clear();
  m_position = 0;
}

int Recordset::RecordCount() const {
  checkOpen();
  return static_cast<int>(m_data->rowCount());
}

bool Recordset::Bof() const {
  checkOpen();
  return m_position < 0 || m_data->rowCount() == 0;
}

bool Recordset::Eof() const {
  checkOpen();
  return m_position >= RecordCount();
}

void Recordset::MoveFirst() {
  checkOpen();
  m_position = 0;
}

void Recordset::MoveNext() {
  if (Eof())
    throw EOleException(AdoError::NoCurrentRecord);
  ++m_position;
}

void Recordset::MovePrevious() {
  if (Bof())
    throw EOleException(AdoError::NoCurrentRecord);
  --m_position;
}

int Recordset::AbsolutePosition() const {
  if (Bof() || Eof())
    throw EOleException(AdoError::NoCurrentRecord);
  return m_position + 1;
}

Recordset Recordset::Clone(LockTypeEnum LockType) const {
  checkOpen();
  if (LockType != adLockUnspecified && LockType != adLockReadOnly)
    throw EOleException(AdoError::BadArguments);
  Recordset clone;
  clone.m_data = m_data;
  clone.m_order = m_order;
  clone.m_sort = m_sort;
  clone.m_position = 0;
  return clone;
}

QString Recordset::Sort() const {
  checkOpen();
  return m_sort;
}

void Recordset::setSort(const QString &Spec) {
  checkOpen();
  const std::vector<SortKey> keys = parseSortOrder(Spec, m_data->fields());
  if (keys.empty())
    m_order.reset();
  else
    m_order = std::make_shared<const std::vector<int>>(sortedOrder(*m_data, keys));
  m_sort = Spec;
  m_position = 0;
}

int Recordset::FieldCount() const {
  checkOpen();
  return static_cast<int>(m_data->fields().size());
}

const std::vector<FieldInfo> &Recordset::fieldInfos() const {
  checkOpen();
  return m_data->fields();
}

int Recordset::fieldIndex(const QString &Name) const {
  const auto &fields = fieldInfos();
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name.compare(Name, Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  return -1;
}

Field Recordset::Fields(int Index) const {
  if (Index < 0 || Index >= FieldCount())
    throw EOleException(AdoError::ItemNotFound);
  return Field(this, Index);
}

Field Recordset::Fields(const QString &Name) const {
  const int index = fieldIndex(Name);
  if (index < 0)
    throw EOleException(AdoError::ItemNotFound);
  return Field(this, index);
}

Variant Recordset::valueAt(int position, int column) const {
  checkOpen();
  if (position < 0 || position >= RecordCount())
    throw EOleException(AdoError::NoCurrentRecord);
  if (column < 0 || column >= FieldCount())
    throw EOleException(AdoError::ItemNotFound);
  const int stored = m_order ? (*m_order)[static_cast<std::size_t>(position)] : position;
  return m_data->value(static_cast<std::size_t>(stored), static_cast<std::size_t>(column));
}

Variant Recordset::currentValue(int column) const { return valueAt(m_position, column); }

} // namespace TDInvoice::Ado
