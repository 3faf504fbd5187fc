// The rows of a TableGram kept in their stored form: an index of where each current row's
// records lie, and decoding of a value when it is read. Internal to the ADO layer.
#pragma once

#include "framework/ado/ColumnLayout.h"
#include "framework/ado/RecordsetRows.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace TDInvoice::Ado {

// How a column's value lies in a row record.
struct StoredColumn {
  enum class Layout : std::uint8_t {
    Fixed,    // `width` bytes
    Prefixed, // a `prefix`-byte length (1 or 4), then that many bytes
    NoData,   // chapter columns
  };

  ColumnLayout spec;
  Layout layout = Layout::Fixed;
  std::uint8_t prefix = 0;
  // Unicode text: an odd byte count is malformed.
  bool evenLength = false;
  // Values that can be malformed beyond their size (dates, decimals, ANSI text, variants)
  // or that no row may hold (unsupported types): checked by decoding them.
  bool checkByDecoding = false;
  std::uint32_t width = 0;
  // The column's bit in a row's presence map, or -1 when it has none.
  std::int32_t presenceBit = -1;

  // The same facts, folded for the walk over every row at open.
  enum class Walk : std::uint8_t {
    Fixed,       // skip `width` bytes
    Prefix1,     // skip a 1-byte length and the bytes
    Prefix1Even, // the same; an odd length is malformed
    Prefix4,
    Prefix4Even,
    Decode, // decode to check
    NoData,
  };
  Walk walk = Walk::Fixed;
  std::uint8_t mapMask = 0; // presence bit within its map byte; 0: always present
  std::uint32_t mapByte = 0;
};

StoredColumn storedColumnOf(const ColumnLayout &spec, std::int32_t presenceBit);

// Where a current row's values are: the presence map of its original record, and the maps
// of the change record that follows it, or of its insert record (an insert has no original).
struct StoredRow {
  static constexpr std::uint32_t kNone = 0xFFFFFFFFU;
  std::uint32_t original = kNone;
  std::uint32_t change = kNone;
};

class AdtgRows final : public RecordsetRows {
public:
  // `columns` are all stored columns of the recordset; `shown` the stored index of each
  // field; every record of `rows` has been checked against `bytes`.
  AdtgRows(QByteArray bytes, int ansiCodePage, std::vector<FieldInfo> fields,
           std::vector<StoredColumn> columns, std::vector<std::size_t> shown,
           std::vector<StoredRow> rows);

  std::size_t rowCount() const override { return m_rows.size(); }
  Variant value(std::size_t row, std::size_t column) const override;
  void rowValues(std::size_t row, std::vector<Variant> &out) const override;

private:
  const unsigned char *at(std::uint32_t offset) const {
    return reinterpret_cast<const unsigned char *>(m_bytes.constData()) + offset;
  }
  std::size_t storedSize(const StoredColumn &column, const unsigned char *p) const;
  Variant decode(const StoredColumn &column, const unsigned char *p) const;

  QByteArray m_bytes;
  int m_codePage;
  std::vector<StoredColumn> m_columns;
  std::vector<std::size_t> m_shown;
  std::vector<StoredRow> m_rows;
  std::size_t m_presenceBytes = 0; // of an original record
  std::size_t m_mapBytes = 0;      // of each map of a change or insert record
};

} // namespace TDInvoice::Ado
