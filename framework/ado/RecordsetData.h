// Persisted ADO recordsets (Recordset.Save output, ADTG or XML): reading and writing.
#pragma once

#include "framework/ado/Variant.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace TDInvoice::Ado {

// ADO's field types (DataTypeEnum).
enum DataTypeEnum : std::int32_t {
  adEmpty = 0,
  adTinyInt = 16,
  adSmallInt = 2,
  adInteger = 3,
  adBigInt = 20,
  adUnsignedTinyInt = 17,
  adUnsignedSmallInt = 18,
  adUnsignedInt = 19,
  adUnsignedBigInt = 21,
  adSingle = 4,
  adDouble = 5,
  adCurrency = 6,
  adDecimal = 14,
  adNumeric = 131,
  adBoolean = 11,
  adError = 10,
  adUserDefined = 132,
  adVariant = 12,
  adIDispatch = 9,
  adIUnknown = 13,
  adGUID = 72,
  adDate = 7,
  adDBDate = 133,
  adDBTime = 134,
  adDBTimeStamp = 135,
  adBSTR = 8,
  adChar = 129,
  adVarChar = 200,
  adLongVarChar = 201,
  adWChar = 130,
  adVarWChar = 202,
  adLongVarWChar = 203,
  adBinary = 128,
  adVarBinary = 204,
  adLongVarBinary = 205,
  adChapter = 136,
  adFileTime = 64,
  adPropVariant = 138,
  adVarNumeric = 139
};

// Field attribute bits (FieldAttributeEnum; the same bits as the persisted column flags).
enum FieldAttributeEnum : std::uint32_t {
  adFldMayDefer = 0x2,
  adFldUpdatable = 0x4,
  adFldUnknownUpdatable = 0x8,
  adFldFixed = 0x10,
  adFldIsNullable = 0x20,
  adFldMayBeNull = 0x40,
  adFldLong = 0x80,
  adFldRowID = 0x100,
  adFldRowVersion = 0x200,
  adFldCacheDeferred = 0x1000,
  adFldIsChapter = 0x2000,
  adFldNegativeScale = 0x4000,
  adFldKeyColumn = 0x8000
};

// One field as ADO presents it. definedSize: characters for text types, bytes for binary,
// the storage width for fixed-size types (0xFFFFFFFF read as -1: unlimited).
struct FieldInfo {
  QString name;
  DataTypeEnum type = adEmpty;
  std::int32_t definedSize = 0;
  std::uint32_t attributes = 0; // FieldAttributeEnum bits
  std::uint8_t precision = 0;
  std::uint8_t numericScale = 0;
};

// A recordset's visible fields and its current rows, each row one value per field.
// Values: integers as their own subtype, adSingle/adDouble as Single/Double, adCurrency as
// Currency, adDate/adDBDate/adDBTime/adDBTimeStamp/adFileTime as Date, adDecimal/adNumeric/
// adVarNumeric as Decimal, text types and adGUID ("{XXXXXXXX-...}") as String, binary types
// as Bytes, adBoolean as Boolean; a missing value is Null. Hidden (key) columns and chapter
// columns of hierarchical recordsets are not among the fields.
struct RecordsetData {
  std::vector<FieldInfo> fields;
  std::vector<std::vector<Variant>> rows;
};

enum class PersistFormat { Adtg, Xml };

// Recognises the format by content; returns the rows ADO would show (pending inserts present,
// updates applied, deletes absent; a hierarchical recordset: its parent rows). Throws
// TDInvoice::EOleException with a clear message on anything malformed; never reads out of
// bounds. ansiCodePage: code page of ANSI (adChar/adVarChar/...) text, default 1252.
RecordsetData readPersisted(const QByteArray &bytes, int ansiCodePage = 1252);

// Bytes ADO accepts: ADTG with the preamble ADO itself writes for a client-side recordset,
// rows as current (unchanged) rows; or ADO's XML. ANSI text columns are encoded in
// ansiCodePage. The fixed-length and long attributes follow the field type (fixed-size types,
// adChar/adWChar/adBinary fixed; adLongVar* and adBSTR long); fixed-length text is padded
// with spaces, fixed binary with zero bytes; numeric values take the field's scale; Empty is
// written as Null. Throws EOleException for data it cannot represent: a row of the wrong
// width, a null in a field that is neither adFldIsNullable nor adFldMayBeNull, a value of the
// wrong type or out of range, NaN or infinity, text outside the code page or longer than its
// field, an adVariant field in XML.
QByteArray writePersisted(const RecordsetData &data, PersistFormat format, int ansiCodePage = 1252);

} // namespace TDInvoice::Ado
