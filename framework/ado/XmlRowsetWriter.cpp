#include "framework/ado/XmlRowsetWriter.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/ColumnLayout.h"
#include "framework/ado/XmlLexical.h"
#include "framework/ado/XmlRowsetNames.h"

#include <set>
#include <string>

namespace TDInvoice::Ado {

namespace {

// Markup characters as hex character references, like ADO; every other character raw (ADO
// writes TAB, CR, LF and other control characters unescaped).
QString escaped(const QString &value) {
  QString out;
  out.reserve(value.size());
  for (QChar c : value) {
    switch (c.unicode()) {
    case u'"':
      out += QStringLiteral("&#x22;");
      break;
    case u'\'':
      out += QStringLiteral("&#x27;");
      break;
    case u'<':
      out += QStringLiteral("&#x3c;");
      break;
    case u'&':
      out += QStringLiteral("&#x26;");
      break;
    case u'>':
      out += QStringLiteral("&#x3e;");
      break;
    default:
      out += c;
    }
  }
  return out;
}

bool isXmlName(const QString &name) {
  if (name.isEmpty() || name.startsWith(QLatin1String("xml"), Qt::CaseInsensitive))
    return false;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const QChar c = name[i];
    const bool letter = c.isLetter() || c == u'_';
    const bool other = c.isDigit() || c == u'-' || c == u'.';
    if (!(letter || (i > 0 && other)) || c.unicode() >= 0x80)
      return false;
  }
  return true;
}

// The XML attribute names of the fields: the field name when it is a plain XML name, else
// c1, c2, ... (the real name then goes into rs:name).
std::vector<QString> xmlNames(const std::vector<FieldInfo> &fields) {
  std::set<QString> used;
  for (const FieldInfo &f : fields)
    if (isXmlName(f.name))
      used.insert(f.name);
  std::vector<QString> names;
  std::set<QString> taken;
  int next = 1;
  for (const FieldInfo &f : fields) {
    if (isXmlName(f.name) && taken.insert(f.name).second) {
      names.push_back(f.name);
      continue;
    }
    QString generated;
    do
      generated = QStringLiteral("c%1").arg(next++);
    while (used.count(generated) || taken.count(generated));
    taken.insert(generated);
    names.push_back(generated);
  }
  return names;
}

QString attr(const char *name, const QString &value) {
  return QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("='") + escaped(value) +
         QLatin1Char('\'');
}

QString columnSchema(const ColumnLayout &c, const QString &xmlName, int ordinal) {
  QString out = QStringLiteral("\t\t<s:AttributeType") + attr("name", xmlName) +
                attr("rs:number", QString::number(ordinal));
  if (xmlName != c.name)
    out += attr("rs:name", c.name);
  const struct {
    const char *name;
    std::uint32_t bit;
  } columnFlags[] = {{"rs:nullable", adFldIsNullable},
                     {"rs:maydefer", adFldMayDefer},
                     {"rs:write", adFldUpdatable},
                     {"rs:writeunknown", adFldUnknownUpdatable},
                     {"rs:rowid", adFldRowID},
                     {"rs:rowver", adFldRowVersion},
                     {"rs:cachedeferred", adFldCacheDeferred},
                     {"rs:keycolumn", adFldKeyColumn}};
  for (const auto &f : columnFlags)
    if (c.flags & f.bit)
      out += attr(f.name, QStringLiteral("true"));
  out += QStringLiteral(">\r\n\t\t\t<s:datatype");
  const XmlTypeName type = xmlTypeOf(c);
  out += attr("dt:type", type.dtType);
  if (!type.dbType.isEmpty())
    out += attr("rs:dbtype", type.dbType);
  out += attr("dt:maxLength", type.maxLength);
  const bool scaled = c.dbType == DbNumeric || c.dbType == DbDecimal || c.dbType == DbVarNumeric ||
                      c.dbType == DbDbTimeStamp;
  if (scaled || c.scale != 0)
    out += attr("rs:scale", QString::number(c.scale));
  out += attr("rs:precision", QString::number(c.precision));
  if (c.flags & adFldFixed)
    out += attr("rs:fixedlength", QStringLiteral("true"));
  if (c.flags & adFldLong)
    out += attr("rs:long", QStringLiteral("true"));
  if (!(c.flags & adFldMayBeNull)) // absent means "may be null"
    out += attr("rs:maybenull", QStringLiteral("false"));
  return out + QStringLiteral("/>\r\n\t\t</s:AttributeType>\r\n");
}

QString rowElement(const std::vector<ColumnLayout> &columns, const std::vector<QString> &names,
                   const std::vector<Variant> &row, std::size_t rowIndex) {
  if (row.size() != columns.size())
    throw EOleException("Row " + std::to_string(rowIndex) + " has " + std::to_string(row.size()) +
                        " values for " + std::to_string(columns.size()) + " fields");
  QString out = QStringLiteral("\t<z:row");
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (row[i].isNull() || row[i].isEmpty()) {
      if (!hasPresenceBit(columns[i]))
        throw EOleException("Field '" + columns[i].name.toStdString() + "' is not nullable (row " +
                            std::to_string(rowIndex) + ")");
      continue; // a null is an omitted attribute
    }
    out += QLatin1Char(' ') + names[i] + QStringLiteral("='") +
           escaped(xmlValueText(columns[i], row[i])) + QLatin1Char('\'');
  }
  return out + QStringLiteral("/>\r\n");
}

} // namespace

QByteArray writeXmlRowset(const RecordsetData &data) {
  std::vector<ColumnLayout> columns;
  for (const FieldInfo &field : data.fields) {
    columns.push_back(columnLayoutOf(field));
    if (columns.back().dbType == DbVariant)
      throw EOleException("Field '" + field.name.toStdString() +
                          "' is a variant field, which cannot be saved as XML");
  }
  const std::vector<QString> names = xmlNames(data.fields);
  QString out = QStringLiteral("<xml xmlns:s='") + schemaNamespace() +
                QStringLiteral("'\r\n\txmlns:dt='") + dataTypeNamespace() +
                QStringLiteral("'\r\n\txmlns:rs='") + rowsetNamespace() +
                QStringLiteral("'\r\n\txmlns:z='#RowsetSchema'>\r\n"
                               "<s:Schema id='RowsetSchema'>\r\n"
                               "\t<s:ElementType name='row' content='eltOnly' "
                               "rs:updatable='true'>\r\n");
  for (std::size_t i = 0; i < columns.size(); ++i)
    out += columnSchema(columns[i], names[i], int(i + 1));
  out += QStringLiteral("\t\t<s:extends type='rs:rowbase'/>\r\n\t</s:ElementType>\r\n"
                        "</s:Schema>\r\n<rs:data>\r\n");
  for (std::size_t r = 0; r < data.rows.size(); ++r)
    out += rowElement(columns, names, data.rows[r], r);
  out += QStringLiteral("</rs:data>\r\n</xml>\r\n");
  return out.toUtf8();
}

} // namespace TDInvoice::Ado
