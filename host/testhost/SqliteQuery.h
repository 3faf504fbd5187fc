// Runs one SQL statement on SQLite and returns its result as recordset rows, with the field
// types of ColumnTypes.h.
#pragma once

#include "framework/ado/RecordsetData.h"

#include <QByteArray>

struct sqlite3;

namespace TDInvoice::Host {

// Throws Exception with SQLite's message for a statement that does not prepare or run, and
// for a value that its declared type cannot hold ("Amount: 'abc' is not a currency value").
// Text after the first statement must be blank.
Ado::RecordsetData runQuery(sqlite3 *db, const QByteArray &sqlUtf8);

// Runs statements that return no rows (schema, inserts); throws Exception on error.
void execute(sqlite3 *db, const QByteArray &sqlUtf8);

} // namespace TDInvoice::Host
