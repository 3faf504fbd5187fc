#include "framework/ado/XmlRowsetReader.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/ColumnLayout.h"
#include "framework/ado/XmlDocument.h"
#include "framework/ado/XmlLexical.h"
#include "framework/ado/XmlRowsetNames.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <string>

namespace TDInvoice::Ado {

namespace {

bool inNamespace(const XmlElement &e, const QString &uri, const char *local) {
  return e.local == QLatin1String(local) && e.uri.compare(uri, Qt::CaseInsensitive) == 0;
}

const XmlElement *firstChild(const XmlElement &e, const QString &uri, const char *local) {
  for (const auto &child : e.children)
    if (inNamespace(*child, uri, local))
      return child.get();
  return nullptr;
}

// Attribute lookup by namespace URI; the schema URIs are compared without regard to case.
const QString *attributeOf(const XmlElement *e, const QString &uri, const char *local) {
  if (!e)
    return nullptr;
  for (const XmlAttribute &a : e->attributes)
    if (a.local == QLatin1String(local) && a.uri.compare(uri, Qt::CaseInsensitive) == 0)
      return &a.value;
  return nullptr;
}

struct XmlColumn {
  ColumnLayout spec;
  QString xmlName;
  qint64 number = 0;
};

class RowsetReader {
public:
  RecordsetData read(const QByteArray &bytes) {
    const auto root = parseXmlDocument(decode(bytes));
    const XmlElement *schema = firstChild(*root, schemaNamespace(), "Schema");
    const XmlElement *data = firstChild(*root, rowsetNamespace(), "data");
    if (!schema || !data)
      fail("the document has no s:Schema or no rs:data", *root);
    readSchema(*schema);
    readData(*data);
    return result();
  }

private:
  [[noreturn]] static void fail(const std::string &what, const XmlElement &at) {
    throw EOleException("Recordset cannot be opened: " + what + " (character " +
                        std::to_string(at.position) + ")");
  }

  [[noreturn]] static void failBadValue(const QString &text, const ColumnLayout &column,
                                        const XmlElement &at);
  static QString decode(const QByteArray &bytes);
  void readSchema(const XmlElement &schema);
  void readColumn(const XmlElement &attributeType);
  void readData(const XmlElement &data);
  bool isRow(const XmlElement &e) const;
  const XmlElement &onlyRow(const XmlElement &parent) const;
  std::vector<Variant> rowValues(const XmlElement &row, std::vector<Variant> values) const;
  std::size_t columnIndex(const QString &xmlName, const XmlElement &at) const;
  RecordsetData result() const;

  std::vector<XmlColumn> m_columns;
  QString m_rowName;
  QString m_rowUri;
  std::vector<std::vector<Variant>> m_rows;
};

// Built by appending: GCC 12 at -O3 misreads `"literal" + std::string&&` as an overlapping
// copy (-Wrestrict).
void RowsetReader::failBadValue(const QString &text, const ColumnLayout &column,
                                const XmlElement &at) {
  std::string message(1, '\'');
  message += text.left(40).toStdString();
  message += "' is not a valid value of '";
  message += column.name.toStdString();
  message += '\'';
  fail(message, at);
}

QString RowsetReader::decode(const QByteArray &bytes) {
  QStringConverter::Encoding encoding = QStringConverter::Utf8;
  QByteArray body = bytes;
  if (bytes.startsWith("\xFF\xFE")) {
    encoding = QStringConverter::Utf16LE;
    body = bytes.mid(2);
  } else if (bytes.startsWith("\xFE\xFF")) {
    encoding = QStringConverter::Utf16BE;
    body = bytes.mid(2);
  } else if (bytes.startsWith("\xEF\xBB\xBF")) {
    body = bytes.mid(3);
  }
  QStringDecoder decoder(encoding);
  QString text = decoder.decode(body);
  if (decoder.hasError())
    throw EOleException("Recordset cannot be opened: the XML text is not validly encoded");
  return text;
}

void RowsetReader::readSchema(const XmlElement &schema) {
  const XmlElement *rowType = nullptr;
  for (const auto &child : schema.children) {
    if (!inNamespace(*child, schemaNamespace(), "ElementType"))
      continue;
    const QString *name = attributeOf(child.get(), QString(), "name");
    if (!rowType || (name && *name == u"row"))
      rowType = child.get();
    if (name && *name == u"row")
      break;
  }
  if (!rowType)
    fail("the schema has no s:ElementType", schema);
  const QString *name = attributeOf(rowType, QString(), "name");
  if (!name || name->isEmpty())
    fail("the row element type has no name", *rowType);
  m_rowName = *name;
  if (const QString *id = attributeOf(&schema, QString(), "id"))
    m_rowUri = QLatin1Char('#') + *id;
  for (const auto &child : rowType->children)
    if (inNamespace(*child, schemaNamespace(), "AttributeType"))
      readColumn(*child);
  const bool numbered = std::all_of(m_columns.begin(), m_columns.end(),
                                    [](const XmlColumn &c) { return c.number > 0; });
  if (numbered)
    std::stable_sort(m_columns.begin(), m_columns.end(),
                     [](const XmlColumn &a, const XmlColumn &b) { return a.number < b.number; });
}

void RowsetReader::readColumn(const XmlElement &at) {
  const XmlElement *datatype = firstChild(at, schemaNamespace(), "datatype");
  // Type facets may sit on s:datatype or on the attribute type itself.
  const auto facet = [&](const QString &uri, const char *local) -> const QString * {
    const QString *v = attributeOf(datatype, uri, local);
    return v ? v : attributeOf(&at, uri, local);
  };
  const auto flag = [&](const char *local, bool absent) {
    const QString *v = facet(rowsetNamespace(), local);
    if (!v)
      return absent;
    if (*v == u"true" || *v == u"1")
      return true;
    if (*v == u"false" || *v == u"0")
      return false;
    fail(std::string("bad rs:") + local + " value", at);
  };
  const auto number = [&](const QString *v, qint64 fallback, qint64 min, qint64 max) {
    if (!v)
      return fallback;
    bool ok = false;
    const qlonglong n = v->toLongLong(&ok);
    if (!ok || n < min || n > max)
      fail("bad number '" + v->toStdString() + "' in a column's schema", at);
    return qint64(n);
  };

  XmlColumn column;
  const QString *xmlName = attributeOf(&at, QString(), "name");
  if (!xmlName || xmlName->isEmpty())
    fail("a column has no name", at);
  for (const XmlColumn &other : m_columns)
    if (other.xmlName == *xmlName)
      fail("two columns are named '" + xmlName->toStdString() + "'", at);
  column.xmlName = *xmlName;
  const QString *realName = attributeOf(&at, rowsetNamespace(), "name");
  column.spec.name = realName ? *realName : *xmlName;
  column.number = number(attributeOf(&at, rowsetNamespace(), "number"), 0, 1, 65535);

  const QString *dtType = facet(dataTypeNamespace(), "type");
  const QString *dbType = facet(rowsetNamespace(), "dbtype");
  column.spec.dbType =
      dtType ? dbTypeOfXml(*dtType, dbType ? *dbType : QString()) : std::uint16_t(DbWStr);
  const int width = fixedWidth(column.spec.dbType);
  column.spec.maxLength = width ? std::uint32_t(width)
                                : std::uint32_t(number(facet(dataTypeNamespace(), "maxLength"),
                                                       0xFFFFFFFFLL, 0, 0xFFFFFFFFLL));
  column.spec.precision = std::uint32_t(number(facet(rowsetNamespace(), "precision"), 0, 0, 255));
  column.spec.scale = std::int32_t(number(facet(rowsetNamespace(), "scale"), 0, -255, 255));

  const struct {
    const char *name;
    std::uint32_t bit;
    bool absent;
  } flags[] = {{"maydefer", adFldMayDefer, false},
               {"write", adFldUpdatable, false},
               {"writeunknown", adFldUnknownUpdatable, false},
               {"fixedlength", adFldFixed, false},
               {"nullable", adFldIsNullable, false},
               {"maybenull", adFldMayBeNull, true},
               {"long", adFldLong, false},
               {"rowid", adFldRowID, false},
               {"rowver", adFldRowVersion, false},
               {"cachedeferred", adFldCacheDeferred, false},
               {"keycolumn", adFldKeyColumn, false}};
  for (const auto &f : flags)
    if (flag(f.name, f.absent))
      column.spec.flags |= f.bit;
  column.spec.visible = !flag("hidden", false);
  m_columns.push_back(std::move(column));
}

bool RowsetReader::isRow(const XmlElement &e) const {
  return e.local == m_rowName && (m_rowUri.isEmpty() || e.uri == m_rowUri);
}

const XmlElement &RowsetReader::onlyRow(const XmlElement &parent) const {
  const XmlElement *row = nullptr;
  for (const auto &child : parent.children) {
    if (!isRow(*child))
      continue;
    if (row)
      fail("more than one row where one is expected", *child);
    row = child.get();
  }
  if (!row)
    fail("a row is missing", parent);
  return *row;
}

std::size_t RowsetReader::columnIndex(const QString &xmlName, const XmlElement &at) const {
  for (std::size_t i = 0; i < m_columns.size(); ++i)
    if (m_columns[i].xmlName == xmlName)
      return i;
  fail("a row names the unknown column '" + xmlName.toStdString() + "'", at);
}

// Attributes set values; rs:forcenull sets columns to null; anything else is unchanged.
std::vector<Variant> RowsetReader::rowValues(const XmlElement &row,
                                             std::vector<Variant> values) const {
  for (const XmlAttribute &a : row.attributes) {
    if (a.uri.isEmpty()) {
      const std::size_t i = columnIndex(a.local, row);
      const auto value = parseXmlValue(m_columns[i].spec, a.value);
      if (!value)
        failBadValue(a.value, m_columns[i].spec, row);
      values[i] = *value;
    }
  }
  if (const QString *forced = attributeOf(&row, rowsetNamespace(), "forcenull"))
    for (const QString &name : forced->simplified().split(u' ', Qt::SkipEmptyParts))
      values[columnIndex(name, row)] = Variant::null();
  return values;
}

void RowsetReader::readData(const XmlElement &data) {
  const std::vector<Variant> nulls(m_columns.size(), Variant::null());
  for (const auto &child : data.children) {
    if (isRow(*child)) {
      m_rows.push_back(rowValues(*child, nulls));
    } else if (inNamespace(*child, rowsetNamespace(), "insert") ||
               inNamespace(*child, rowsetNamespace(), "delete")) {
      const bool keep = child->local == u"insert";
      for (const auto &row : child->children) {
        if (!isRow(*row))
          fail("unexpected element in rs:" + child->local.toStdString(), *row);
        std::vector<Variant> values = rowValues(*row, nulls);
        if (keep)
          m_rows.push_back(std::move(values));
      }
    } else if (inNamespace(*child, rowsetNamespace(), "update")) {
      const XmlElement *original = firstChild(*child, rowsetNamespace(), "original");
      if (!original)
        fail("rs:update without rs:original", *child);
      m_rows.push_back(rowValues(onlyRow(*child), rowValues(onlyRow(*original), nulls)));
    } else {
      fail("unexpected element '" + child->local.toStdString() + "' in rs:data", *child);
    }
  }
}

RecordsetData RowsetReader::result() const {
  RecordsetData data;
  std::vector<std::size_t> shown;
  for (std::size_t i = 0; i < m_columns.size(); ++i) {
    if (!m_columns[i].spec.visible)
      continue;
    data.fields.push_back(fieldInfoOf(m_columns[i].spec));
    shown.push_back(i);
  }
  for (const auto &row : m_rows) {
    std::vector<Variant> values;
    values.reserve(shown.size());
    for (std::size_t i : shown)
      values.push_back(row[i]);
    data.rows.push_back(std::move(values));
  }
  return data;
}

} // namespace

RecordsetData readXmlRowset(const QByteArray &bytes) { return RowsetReader().read(bytes); }

bool looksLikeXmlRowset(const QByteArray &bytes) {
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
    return true;
  qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
  while (i < bytes.size() &&
         (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
    ++i;
  return i < bytes.size() && bytes[i] == '<';
}

} // namespace TDInvoice::Ado
