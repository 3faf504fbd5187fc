// The rows an open recordset reads, shared by the recordset and its clones.
#pragma once

#include "framework/ado/RecordsetData.h"

#include <QByteArray>

#include <cstddef>
#include <memory>
#include <vector>

namespace TDInvoice::Ado {

// A recordset's visible fields and its current rows. Immutable once built, so that any
// number of cursors can read it.
class RecordsetRows {
public:
  virtual ~RecordsetRows() = default;
  RecordsetRows(const RecordsetRows &) = delete;
  RecordsetRows &operator=(const RecordsetRows &) = delete;

  const std::vector<FieldInfo> &fields() const { return m_fields; }
  virtual std::size_t rowCount() const = 0;
  // The value of a field of a row: row < rowCount(), column < fields().size().
  virtual Variant value(std::size_t row, std::size_t column) const = 0;
  // Every field of a row, in field order, into `out` (resized to the field count).
  virtual void rowValues(std::size_t row, std::vector<Variant> &out) const;

protected:
  explicit RecordsetRows(std::vector<FieldInfo> fields) : m_fields(std::move(fields)) {}

private:
  std::vector<FieldInfo> m_fields;
};

// Rows held as variants, taken over without a copy. Throws EOleException when a row's width
// differs from the field count.
std::shared_ptr<const RecordsetRows> rowsOf(RecordsetData data);

// Opens persisted bytes, ADTG or XML, recognised by content, with readPersisted's rules and
// errors. A TableGram's rows stay in their stored form (sharing `bytes`) and are decoded when
// read; every stored value has been checked by then, so reading one does not fail.
std::shared_ptr<const RecordsetRows> openPersisted(const QByteArray &bytes,
                                                   int ansiCodePage = 1252);

// Every value of every row.
RecordsetData materialize(const RecordsetRows &rows);

} // namespace TDInvoice::Ado
