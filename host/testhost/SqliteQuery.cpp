#include "host/testhost/SqliteQuery.h"

#include "TDInvoice/Exceptions.h"
#include "host/testhost/ColumnTypes.h"

#include <sqlite3.h>

#include <QLocale>
#include <QString>

#include <cmath>
#include <limits>
#include <memory>
#include <variant>

namespace TDInvoice::Host {
namespace {

using Ado::Variant;

// One SQLite value as it came out of the statement.
using Cell = std::variant<std::monostate, std::int64_t, double, QString, QByteArray>;

struct Column {
  QString name;
  QString declared;
  std::vector<Cell> cells;
};

[[noreturn]] void sqliteError(sqlite3 *db, const char *what) {
  throw Exception(std::string("SQLite ") + what + ": " + sqlite3_errmsg(db));
}

struct StatementDeleter {
  void operator()(sqlite3_stmt *s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Cell readCell(sqlite3_stmt *s, int i) {
  switch (sqlite3_column_type(s, i)) {
  case SQLITE_INTEGER:
    return static_cast<std::int64_t>(sqlite3_column_int64(s, i));
  case SQLITE_FLOAT:
    return sqlite3_column_double(s, i);
  case SQLITE_TEXT:
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, i)),
                             sqlite3_column_bytes(s, i));
  case SQLITE_BLOB: {
    const void *blob = sqlite3_column_blob(s, i);
    return QByteArray(static_cast<const char *>(blob), sqlite3_column_bytes(s, i));
  }
  default:
    return std::monostate{};
  }
}

[[noreturn]] void badValue(const Column &column, const Cell &cell, const char *kind) {
  QString shown;
  if (const auto *i = std::get_if<std::int64_t>(&cell))
    shown = QString::number(*i);
  else if (const auto *d = std::get_if<double>(&cell))
    shown = QString::number(*d);
  else if (const auto *t = std::get_if<QString>(&cell))
    shown = *t;
  else
    shown = QStringLiteral("<blob>");
  throw Exception((column.name + ": '" + shown + "' is not " + kind).toStdString());
}

// An expression column: text if any value is text, else bytes, else double if any value is
// fractional, else integer.
Ado::DataTypeEnum typeByValue(const Column &column) {
  bool text = false, bytes = false, real = false, integer = false;
  for (const Cell &cell : column.cells) {
    text |= std::holds_alternative<QString>(cell);
    bytes |= std::holds_alternative<QByteArray>(cell);
    real |= std::holds_alternative<double>(cell);
    integer |= std::holds_alternative<std::int64_t>(cell);
  }
  if (text || (bytes && (real || integer)))
    return Ado::adVarWChar;
  if (bytes)
    return Ado::adVarBinary;
  if (real)
    return Ado::adDouble;
  return integer ? Ado::adInteger : Ado::adVarWChar;
}

std::optional<std::int64_t> integerOf(const Cell &cell) {
  if (const auto *i = std::get_if<std::int64_t>(&cell))
    return *i;
  if (const auto *d = std::get_if<double>(&cell))
    if (std::isfinite(*d) && *d == std::floor(*d) && std::fabs(*d) < 9.2e18)
      return static_cast<std::int64_t>(*d);
  if (const auto *t = std::get_if<QString>(&cell)) {
    bool ok = false;
    const qlonglong v = t->trimmed().toLongLong(&ok);
    if (ok)
      return v;
  }
  return std::nullopt;
}

std::optional<double> realOf(const Cell &cell) {
  if (const auto *i = std::get_if<std::int64_t>(&cell))
    return static_cast<double>(*i);
  if (const auto *d = std::get_if<double>(&cell))
    return *d;
  if (const auto *t = std::get_if<QString>(&cell)) {
    bool ok = false;
    const double v = t->trimmed().toDouble(&ok);
    if (ok)
      return v;
  }
  return std::nullopt;
}

// Widens an integer type until every value fits.
Ado::DataTypeEnum fittingIntegerType(const Column &column, Ado::DataTypeEnum type) {
  for (const Cell &cell : column.cells) {
    if (std::holds_alternative<std::monostate>(cell))
      continue;
    const std::optional<std::int64_t> v = integerOf(cell);
    if (!v)
      badValue(column, cell, "an integer");
    if (type == Ado::adUnsignedTinyInt && (*v < 0 || *v > 255))
      type = Ado::adSmallInt;
    if (type == Ado::adSmallInt && (*v < -32768 || *v > 32767))
      type = Ado::adInteger;
    if (type == Ado::adInteger && (*v < std::numeric_limits<std::int32_t>::min() ||
                                   *v > std::numeric_limits<std::int32_t>::max()))
      type = Ado::adBigInt;
  }
  return type;
}

bool isIntegerType(Ado::DataTypeEnum t) {
  return t == Ado::adUnsignedTinyInt || t == Ado::adSmallInt || t == Ado::adInteger ||
         t == Ado::adBigInt;
}

std::optional<bool> booleanOf(const Cell &cell) {
  if (const auto *t = std::get_if<QString>(&cell)) {
    const QString v = t->trimmed().toLower();
    if (v == u"true" || v == u"yes" || v == u"1")
      return true;
    if (v == u"false" || v == u"no" || v == u"0")
      return false;
    return std::nullopt;
  }
  if (const std::optional<double> r = realOf(cell))
    return *r != 0.0;
  return std::nullopt;
}

Variant convertCell(const Column &column, const Cell &cell, Ado::DataTypeEnum type) {
  if (std::holds_alternative<std::monostate>(cell))
    return Variant::null();
  switch (type) {
  case Ado::adCurrency: {
    std::optional<std::int64_t> units;
    if (const auto *i = std::get_if<std::int64_t>(&cell)) {
      if (std::llabs(*i) <= std::numeric_limits<std::int64_t>::max() / 10000)
        units = *i * 10000;
    } else if (const auto *d = std::get_if<double>(&cell)) {
      units = currencyFromDouble(*d);
    } else if (const auto *t = std::get_if<QString>(&cell)) {
      units = currencyFromText(*t);
    }
    if (!units)
      badValue(column, cell, "a currency value");
    return Variant::fromCurrency(*units);
  }
  case Ado::adDate: {
    std::optional<double> date;
    if (const auto *t = std::get_if<QString>(&cell))
      date = oleDateFromIsoText(*t);
    else if (!std::holds_alternative<QByteArray>(cell))
      date = realOf(cell);
    if (!date || !std::isfinite(*date))
      badValue(column, cell, "a date");
    return Variant::fromDate(*date);
  }
  case Ado::adBoolean: {
    const std::optional<bool> b = booleanOf(cell);
    if (!b)
      badValue(column, cell, "a boolean");
    return Variant(*b);
  }
  case Ado::adUnsignedTinyInt:
    return Variant::fromInt(*integerOf(cell), Ado::VarType::Byte);
  case Ado::adSmallInt:
    return Variant::fromInt(*integerOf(cell), Ado::VarType::SmallInt);
  case Ado::adInteger:
    return Variant(static_cast<std::int32_t>(*integerOf(cell)));
  case Ado::adBigInt:
    return Variant::fromInt(*integerOf(cell), Ado::VarType::Int64);
  case Ado::adSingle:
  case Ado::adDouble: {
    const std::optional<double> r = realOf(cell);
    if (!r || !std::isfinite(*r))
      badValue(column, cell, "a number");
    return type == Ado::adSingle ? Variant::fromSingle(static_cast<float>(*r)) : Variant(*r);
  }
  case Ado::adVarBinary:
    if (const auto *b = std::get_if<QByteArray>(&cell))
      return Variant::fromBytes(*b);
    badValue(column, cell, "binary data");
  default:
    break;
  }
  if (const auto *t = std::get_if<QString>(&cell))
    return Variant(*t);
  if (const auto *i = std::get_if<std::int64_t>(&cell))
    return Variant(QString::number(*i));
  if (const auto *d = std::get_if<double>(&cell))
    return Variant(QString::number(*d, 'g', QLocale::FloatingPointShortest));
  badValue(column, cell, "text");
}

Ado::FieldInfo fieldFor(const Column &column, Ado::DataTypeEnum type) {
  Ado::FieldInfo info;
  info.name = column.name;
  info.type = type;
  info.attributes = Ado::adFldUpdatable | Ado::adFldIsNullable | Ado::adFldMayBeNull;
  switch (type) {
  case Ado::adVarWChar: {
    std::int32_t longest = 0;
    for (const Cell &cell : column.cells)
      if (const auto *t = std::get_if<QString>(&cell))
        longest = std::max<std::int32_t>(longest, static_cast<std::int32_t>(t->size()));
    const std::int32_t declared = declaredLength(column.declared);
    info.definedSize = std::max(declared > 0 ? declared : 255, longest);
    break;
  }
  case Ado::adLongVarWChar:
    info.definedSize = 536870910;
    info.attributes |= Ado::adFldLong;
    break;
  case Ado::adVarBinary: {
    std::int32_t longest = 0;
    for (const Cell &cell : column.cells)
      if (const auto *b = std::get_if<QByteArray>(&cell))
        longest = std::max<std::int32_t>(longest, static_cast<std::int32_t>(b->size()));
    info.definedSize = std::max(declaredLength(column.declared), std::max(longest, 1));
    break;
  }
  default: {
    static const std::pair<Ado::DataTypeEnum, std::int32_t> kWidths[] = {
        {Ado::adUnsignedTinyInt, 1}, {Ado::adSmallInt, 2}, {Ado::adInteger, 4},
        {Ado::adBigInt, 8},          {Ado::adSingle, 4},   {Ado::adDouble, 8},
        {Ado::adCurrency, 8},        {Ado::adDate, 8},     {Ado::adBoolean, 2}};
    for (const auto &[t, width] : kWidths)
      if (t == type)
        info.definedSize = width;
    info.attributes |= Ado::adFldFixed;
    break;
  }
  }
  if (type == Ado::adDouble)
    info.precision = 15;
  else if (type == Ado::adCurrency)
    info.precision = 19;
  return info;
}

std::vector<Column> readColumns(sqlite3 *db, const QByteArray &sqlUtf8) {
  sqlite3_stmt *raw = nullptr;
  const char *tail = nullptr;
  if (sqlite3_prepare_v2(db, sqlUtf8.constData(), static_cast<int>(sqlUtf8.size()), &raw, &tail) !=
      SQLITE_OK)
    sqliteError(db, "cannot prepare the query");
  Statement statement(raw);
  if (!statement)
    throw Exception("SQLite: the query text holds no statement");
  if (!QByteArray(tail).trimmed().isEmpty())
    throw Exception("SQLite: one statement expected, more text follows the first");
  std::vector<Column> columns(static_cast<std::size_t>(sqlite3_column_count(raw)));
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    columns[static_cast<std::size_t>(i)].name = QString::fromUtf8(sqlite3_column_name(raw, i));
    const char *declared = sqlite3_column_decltype(raw, i);
    columns[static_cast<std::size_t>(i)].declared =
        declared ? QString::fromUtf8(declared) : QString();
  }
  int status;
  while ((status = sqlite3_step(raw)) == SQLITE_ROW)
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
      columns[static_cast<std::size_t>(i)].cells.push_back(readCell(raw, i));
  if (status != SQLITE_DONE)
    sqliteError(db, "query failed");
  return columns;
}

} // namespace

Ado::RecordsetData runQuery(sqlite3 *db, const QByteArray &sqlUtf8) {
  const std::vector<Column> columns = readColumns(db, sqlUtf8);
  Ado::RecordsetData data;
  std::vector<Ado::DataTypeEnum> types;
  for (const Column &column : columns) {
    Ado::DataTypeEnum type = adoTypeForDeclaration(column.declared).value_or(typeByValue(column));
    if (isIntegerType(type))
      type = fittingIntegerType(column, type);
    types.push_back(type);
    data.fields.push_back(fieldFor(column, type));
  }
  const std::size_t rowCount = columns.empty() ? 0 : columns.front().cells.size();
  data.rows.resize(rowCount);
  for (std::size_t r = 0; r < rowCount; ++r) {
    data.rows[r].reserve(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c)
      data.rows[r].push_back(convertCell(columns[c], columns[c].cells[r], types[c]));
  }
  return data;
}

void execute(sqlite3 *db, const QByteArray &sqlUtf8) {
  char *message = nullptr;
  if (sqlite3_exec(db, sqlUtf8.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    throw Exception("SQLite: " + text);
  }
}

} // namespace TDInvoice::Host
