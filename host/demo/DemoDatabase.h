// The demo database on disk: the default one, built on first use from the SQL shipped with the
// program (host/demo/DemoDatabase.sql), and databases made from generated SQL.
#pragma once

#include <QByteArray>
#include <QString>

namespace TDInvoice::Demo {

// The shipped SQL, built into the program.
QByteArray embeddedDemoSql();

// Where the default database is kept: $TDINVOICE_DEMO_DIR, else $XDG_CACHE_HOME/tdinvoice,
// else ~/.cache/tdinvoice. The file is named after a digest of the shipped SQL, so a program
// with other demo data builds a database of its own.
QString demoCacheFolder();
QString defaultDemoDatabasePath();

// Writes the database at path: the test host's schema, then sql. The file appears complete or
// not at all; a file already there is replaced. Raises Exception with SQLite's message.
void writeDemoDatabase(const QString &path, const QByteArray &sql);

// The default database's path, building it first when it is missing; *built tells whether
// this call built it.
QString ensureDefaultDemoDatabase(bool *built = nullptr);

} // namespace TDInvoice::Demo
