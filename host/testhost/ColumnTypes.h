// How the test host presents SQLite columns as recordset fields.
//
// A column with a declared type takes its field type from the declaration:
//   CURRENCY, MONEY                      -> adCurrency (REAL, INTEGER or decimal text; exact
//                                           to 1/10000, half away from zero beyond that)
//   DATETIME, DATE, TIMESTAMP            -> adDate; the column holds an OLE date number
//                                           (days since 1899-12-30, REAL or INTEGER) or ISO
//                                           text "YYYY-MM-DD[ HH:MM[:SS[.fff]]]" ("T" also
//                                           accepted between date and time)
//   BOOLEAN, BIT, YESNO                  -> adBoolean (numbers: non-zero is true; text true/
//                                           false, yes/no, 1/0)
//   TINYINT, BYTE                        -> adUnsignedTinyInt
//   SMALLINT                             -> adSmallInt
//   BIGINT                               -> adBigInt
//   other names containing INT           -> adInteger
//   SINGLE                               -> adSingle
//   REAL, DOUBLE, FLOAT, NUMERIC, DECIMAL -> adDouble
//   MEMO, LONGTEXT, NTEXT                -> adLongVarWChar
//   TEXT, CHAR, VARCHAR, CLOB and others -> adVarWChar (size: the declared length, at least
//                                           the longest value, 255 when undeclared)
//   BLOB, BINARY                         -> adVarBinary
// An integer field whose values do not fit its type widens (adSmallInt to adInteger to
// adBigInt). A column without a declared type (an expression) takes its type from its first
// non-null value: integer, double, text or bytes; an all-null one is text.
#pragma once

#include "framework/ado/RecordsetData.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace TDInvoice::Host {

// The field type for a declared SQLite type name; nullopt for an empty declaration.
std::optional<Ado::DataTypeEnum> adoTypeForDeclaration(const QString &declared);

// The length in "VARCHAR(40)"; 0 without one.
std::int32_t declaredLength(const QString &declared);

// Exact decimal text ("-12.34565") to currency units, half away from zero past four
// decimals; nullopt for text that is not a decimal number or out of range.
std::optional<std::int64_t> currencyFromText(const QString &text);
// A double as the shortest text that reads back as it, then exactly as above.
std::optional<std::int64_t> currencyFromDouble(double value);

// ISO text to an OLE date number; nullopt when it is not such a date.
std::optional<double> oleDateFromIsoText(const QString &text);

} // namespace TDInvoice::Host
