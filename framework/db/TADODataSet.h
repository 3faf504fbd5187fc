// The dataset component that presents a recordset to the report engine: a current record,
// fields by name, navigation and a sort order.
#pragma once

#include "framework/db/Recordset.h"

#include <QString>

#include <optional>

namespace TDInvoice {

class TADODataSet;

// A field of the dataset's current record, read at the time of each call. As dataset fields
// do, the As... accessors give "", 0, 0 or false for a null value; Value() hands out the null
// itself, whose conversions fail. On an empty dataset every field is null.
class TField {
public:
  QString FieldName() const;
  Ado::DataTypeEnum DataType() const;
  std::int32_t Size() const;
  Ado::Variant Value() const;
  bool IsNull() const;
  QString AsString() const;
  std::int32_t AsInteger() const;
  std::int64_t AsCurrency() const; // amount x 10000
  double AsFloat() const;
  double AsDateTime() const; // days since 30 December 1899
  bool AsBoolean() const;

private:
  friend class TADODataSet;
  TField(const TADODataSet *dataSet, int index) : m_dataSet(dataSet), m_index(index) {}

  const TADODataSet *m_dataSet;
  int m_index;
};

// Navigation follows the dataset rules: Next on the last record sets Eof and stays on that
// record; Prior on the first sets Bof. Operations on a closed dataset raise EDatabaseError
// "Cannot perform this operation on a closed dataset".
class TADODataSet {
public:
  explicit TADODataSet(QString Name = QStringLiteral("ADODataSet1"));

  QString Name() const { return m_name; }

  // Closes the dataset, then takes the recordset and opens on its first record. A recordset
  // that is not open raises EDatabaseError "Recordset is not open" and the dataset stays
  // closed.
  void setRecordset(Ado::Recordset Recordset);
  // The recordset the dataset is open on; nullptr while closed.
  const Ado::Recordset *Recordset() const { return m_recordset ? &*m_recordset : nullptr; }

  bool Active() const { return m_recordset.has_value(); }
  // Closes and releases the recordset; closing a closed dataset does nothing.
  void Close();

  void First();
  void Next();
  void Prior();
  bool Eof() const;
  bool Bof() const;
  std::int32_t RecordCount() const;
  // 1-based number of the current record; 0 on an empty dataset.
  std::int32_t RecNo() const;

  std::int32_t FieldCount() const;
  TField Fields(std::int32_t Index) const;
  // Case-insensitive; an unknown name raises EDatabaseError "Field '<name>' not found".
  TField FieldByName(const QString &FieldName) const;
  // As FieldByName, without the error.
  std::optional<TField> FindField(const QString &FieldName) const;

  QString Sort() const;
  // Sorts the recordset (see Recordset::setSort) and moves to the first record. A bad
  // specification raises the recordset's error and leaves order and position as they were.
  void setSort(const QString &Spec);

private:
  friend class TField;
  void checkActive() const;
  const Ado::Recordset &activeRecordset() const;
  Ado::Variant fieldValue(int index) const;

  QString m_name;
  std::optional<Ado::Recordset> m_recordset;
  int m_recNo = 0; // 0-based position in the recordset's order
  bool m_eof = true;
  bool m_bof = true;
};

} // namespace TDInvoice
