// An ADO Recordset opened without a connection from persisted bytes: a read-only,
// client-side recordset that can be sorted and cloned.
#pragma once

#include "framework/ado/RecordsetRows.h"
#include "framework/db/AdoConstants.h"

#include <QString>

#include <memory>
#include <vector>

namespace TDInvoice::Ado {

class Recordset;
class Stream;

// A field of the recordset's current record. The handle reads through its recordset, which
// must outlive it (and not be moved from).
class Field {
public:
  QString Name() const { return info().name; }
  DataTypeEnum Type() const { return info().type; }
  std::int32_t DefinedSize() const { return info().definedSize; }
  std::uint32_t Attributes() const { return info().attributes; }
  std::uint8_t Precision() const { return info().precision; }
  std::uint8_t NumericScale() const { return info().numericScale; }
  int Index() const { return m_index; }
  // The value in the current record; EOleException when there is none (BOF or EOF).
  Variant Value() const;

private:
  friend class Recordset;
  Field(const Recordset *recordset, int index) : m_recordset(recordset), m_index(index) {}
  const FieldInfo &info() const;

  const Recordset *m_recordset;
  int m_index;
};

// Every operation other than Open, Close and State on a closed recordset raises
// EOleException "Operation is not allowed when the object is closed.". Field lookups by an
// unknown name or an ordinal out of range raise ADO's item-not-found error.
class Recordset {
public:
  Recordset();
  ~Recordset();
  Recordset(Recordset &&other) noexcept;
  Recordset &operator=(Recordset &&other) noexcept;
  Recordset(const Recordset &) = delete;
  Recordset &operator=(const Recordset &) = delete;

  // Reads the stream from its Position to the end as a persisted recordset (ADTG or XML);
  // positioned on the first row. A failure leaves the recordset closed.
  void Open(Stream &Source, CursorTypeEnum CursorType = adOpenForwardOnly,
            LockTypeEnum LockType = adLockReadOnly, std::int32_t Options = -1);
  // Opens on rows already in memory, as a fabricated recordset; takes them without a copy.
  void Open(RecordsetData Data);
  // Opens on rows that other recordsets may share.
  void Open(std::shared_ptr<const RecordsetRows> Rows);
  void Close();
  ObjectStateEnum State() const { return m_data ? adStateOpen : adStateClosed; }
  bool isOpen() const { return m_data != nullptr; }

  bool Bof() const;
  bool Eof() const;
  void MoveFirst();
  void MoveNext();
  void MovePrevious();
  int RecordCount() const;
  // 1-based position of the current record in the present order.
  int AbsolutePosition() const;

  // An independent cursor over the same rows (shared, not copied), in the present order, on
  // the first row.
  Recordset Clone(LockTypeEnum LockType = adLockUnspecified) const;

  QString Sort() const;
  // Orders the rows by the sort order (see SortOrder.h), stably; blank restores the
  // stored order. Moves to the first row. A bad specification changes nothing.
  void setSort(const QString &Spec);

  int FieldCount() const;
  Field Fields(int Index) const;
  Field Fields(const QString &Name) const;
  // The ordinal of the first field of that name (case-insensitive), or -1.
  int fieldIndex(const QString &Name) const;
  const std::vector<FieldInfo> &fieldInfos() const;
  // The value of column `column` in the record at 0-based `position` of the present order.
  Variant valueAt(int position, int column) const;

private:
  friend class Field;
  void checkOpen() const;
  Variant currentValue(int column) const;

  std::shared_ptr<const RecordsetRows> m_data;
  // Stored positions in the present order; null while the stored order holds.
  std::shared_ptr<const std::vector<int>> m_order;
  QString m_sort;
  int m_position = 0; // -1 is BOF, RecordCount() is EOF
};

} // namespace TDInvoice::Ado
