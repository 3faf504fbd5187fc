// A persisted column as both formats describe it (storage type, capacity, flags), and how it
// maps to the field ADO presents. Internal to the ADO layer.
#pragma once

#include "framework/ado/RecordsetData.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace TDInvoice::Ado {

// OLE DB storage types (DBTYPE_*).
enum DbType : std::uint16_t {
  DbI2 = 2,
  DbI4 = 3,
  DbR4 = 4,
  DbR8 = 5,
  DbCy = 6,
  DbDate = 7,
  DbBstr = 8,
  DbError = 10,
  DbBool = 11,
  DbVariant = 12,
  DbDecimal = 14,
  DbI1 = 16,
  DbUi1 = 17,
  DbUi2 = 18,
  DbUi4 = 19,
  DbI8 = 20,
  DbUi8 = 21,
  DbFileTime = 64,
  DbGuid = 72,
  DbBytes = 128,
  DbStr = 129,
  DbWStr = 130,
  DbNumeric = 131,
  DbDbDate = 133,
  DbDbTime = 134,
  DbDbTimeStamp = 135,
  DbHChapter = 136,
  DbVarNumeric = 139
};

// Column flag bits that change how values are stored (the rest pass through).
constexpr std::uint32_t kFlagFixedLength = adFldFixed;
constexpr std::uint32_t kFlagNullable = adFldIsNullable;
constexpr std::uint32_t kFlagMayBeNull = adFldMayBeNull;
constexpr std::uint32_t kFlagLong = adFldLong;
constexpr std::uint32_t kFlagChapter = adFldIsChapter;

struct ColumnLayout {
  QString name;
  std::uint16_t dbType = 0;
  std::uint32_t maxLength = 0; // characters for WSTR, bytes otherwise; 0xFFFFFFFF unlimited
  std::uint32_t precision = 0;
  std::int32_t scale = 0;
  std::uint32_t flags = 0;
  bool visible = true;
};

enum class LengthPrefix { None, OneByte, FourByte };

bool isChapter(const ColumnLayout &column);
// Whether a row's presence map has a bit for the column.
bool hasPresenceBit(const ColumnLayout &column);
// Bytes of a fixed-size type, 0 for the variable-length ones (BYTES, STR, WSTR, VARNUMERIC).
int fixedWidth(std::uint16_t dbType);
// How a variable-length value is stored: the threshold is on the capacity in bytes.
LengthPrefix lengthPrefixOf(const ColumnLayout &column);
std::uint64_t capacityOf(const ColumnLayout &column);

// A numeric value brought to the column's declared scale (rounding half to even), as a
// numeric field stores it; nullopt when it does not fit 96 bits. Other columns: unchanged.
std::optional<Decimal> decimalForColumn(const ColumnLayout &column, const Decimal &value);

// The field ADO shows for a column; throws EOleException for types a recordset of this system
// cannot hold (IDispatch, IUnknown, ERROR, user-defined, PROPVARIANT).
FieldInfo fieldInfoOf(const ColumnLayout &column);
// The column a field is stored as; the storage flags follow the field type (a variable-length
// type is never stored fixed). Throws EOleException for field types that cannot be written.
ColumnLayout columnLayoutOf(const FieldInfo &field);

} // namespace TDInvoice::Ado
