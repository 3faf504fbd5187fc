#include "framework/db/SortOrder.h"

#include "TDInvoice/Exceptions.h"
#include "framework/db/AdoConstants.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

namespace TDInvoice::Ado {
namespace {

[[noreturn]] void badSpec() { throw EOleException(AdoError::BadArguments); }

int findField(const QString &name, const std::vector<FieldInfo> &fields) {
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  throw EOleException(AdoError::ItemNotFound);
}

SortKey parseTerm(QString term, const std::vector<FieldInfo> &fields) {
  term = term.trimmed();
  if (term.isEmpty())
    badSpec();
  QString name, rest;
  if (term.startsWith(u'[')) {
    const qsizetype close = term.indexOf(u']');
    if (close < 0)
      badSpec();
    name = term.mid(1, close - 1);
    rest = term.mid(close + 1).trimmed();
    if (!rest.isEmpty() && !term.at(close + 1).isSpace())
      badSpec();
  } else {
    const qsizetype space = term.indexOf(QChar(u' '));
    const qsizetype tab = term.indexOf(QChar(u'\t'));
    qsizetype split = space < 0 ? tab : (tab < 0 ? space : std::min(space, tab));
    name = split < 0 ? term : term.left(split);
    rest = split < 0 ? QString() : term.mid(split).trimmed();
  }
  SortKey key;
  key.column = findField(name, fields);
  if (rest.isEmpty() || rest.compare(u"ASC", Qt::CaseInsensitive) == 0)
    key.descending = false;
  else if (rest.compare(u"DESC", Qt::CaseInsensitive) == 0)
    key.descending = true;
  else
    badSpec();
  return key;
}

enum class Kind { Nothing, Signed, Unsigned, Real, Currency, Boolean, Text, Bytes };

Kind kindOf(VarType t) {
  switch (t) {
  case VarType::Empty:
  case VarType::Null:
    return Kind::Nothing;
  case VarType::ShortInt:
  case VarType::SmallInt:
  case VarType::Integer:
  case VarType::Int64:
  case VarType::Byte:
  case VarType::Word:
  case VarType::LongWord:
    return Kind::Signed;
  case VarType::UInt64:
    return Kind::Unsigned;
  case VarType::Currency:
    return Kind::Currency;
  case VarType::Boolean:
    return Kind::Boolean;
  case VarType::String:
    return Kind::Text;
  case VarType::Bytes:
    return Kind::Bytes;
  default:
    return Kind::Real;
  }
}

template <class T> int threeWay(T a, T b) { return a < b ? -1 : (b < a ? 1 : 0); }

// NaN first and equal to itself, so that the order stays consistent.
int compareReals(double a, double b) {
  const bool nanA = std::isnan(a), nanB = std::isnan(b);
  if (nanA || nanB)
    return threeWay(!nanA, !nanB);
  return threeWay(a, b);
}

int compareBytes(const QByteArray &a, const QByteArray &b) {
  const int common = std::memcmp(a.constData(), b.constData(),
                                 static_cast<std::size_t>(std::min(a.size(), b.size())));
  return common != 0 ? (common < 0 ? -1 : 1) : threeWay(a.size(), b.size());
}

} // namespace

std::vector<SortKey> parseSortOrder(const QString &spec, const std::vector<FieldInfo> &fields) {
  std::vector<SortKey> keys;
  if (spec.trimmed().isEmpty())
    return keys;
  // Commas inside brackets belong to the name.
  QString term;
  bool inBracket = false;
  for (const QChar c : spec) {
    if (c == u'[')
      inBracket = true;
    else if (c == u']')
      inBracket = false;
    if (c == u',' && !inBracket) {
      keys.push_back(parseTerm(term, fields));
      term.clear();
    } else {
      term += c;
    }
  }
  keys.push_back(parseTerm(term, fields));
  return keys;
}

int compareSortValues(const Variant &a, const Variant &b) {
  const Kind ka = kindOf(a.type()), kb = kindOf(b.type());
  if (ka == Kind::Nothing || kb == Kind::Nothing)
    return threeWay(ka != Kind::Nothing, kb != Kind::Nothing);
  if (ka == kb) {
    switch (ka) {
    case Kind::Signed:
      return threeWay(a.toInt64(), b.toInt64());
    case Kind::Unsigned: {
      // Decimal digits without sign or leading zeros order by length, then by text.
      const QString x = a.toString(), y = b.toString();
      return x.size() != y.size() ? threeWay(x.size(), y.size()) : threeWay(x.compare(y), 0);
    }
    case Kind::Currency:
      return threeWay(a.toCurrency(), b.toCurrency());
    case Kind::Boolean:
      return threeWay(a.toBool() ? -1 : 0, b.toBool() ? -1 : 0);
    case Kind::Text:
      return a.toString().compare(b.toString(), Qt::CaseInsensitive);
    case Kind::Bytes:
      return compareBytes(a.toBytes(), b.toBytes());
    default:
      break;
    }
  }
  const bool numericA = ka != Kind::Text && ka != Kind::Bytes;
  const bool numericB = kb != Kind::Text && kb != Kind::Bytes;
  if (numericA && numericB)
    return compareReals(a.toDouble(), b.toDouble());
  // Mixed columns do not come from a persisted recordset; keep them apart consistently.
  return threeWay(static_cast<int>(ka), static_cast<int>(kb));
}

std::vector<int> sortedOrder(const RecordsetRows &rows, const std::vector<SortKey> &keys) {
  const std::size_t count = rows.rowCount();
  std::vector<std::vector<Variant>> columns(keys.size());
  for (std::size_t k = 0; k < keys.size(); ++k) {
    columns[k].reserve(count);
    for (std::size_t row = 0; row < count; ++row)
      columns[k].push_back(rows.value(row, static_cast<std::size_t>(keys[k].column)));
  }
  std::vector<int> order(count);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
    for (std::size_t k = 0; k < keys.size(); ++k) {
      const int c = compareSortValues(columns[k][static_cast<std::size_t>(x)],
                                      columns[k][static_cast<std::size_t>(y)]);
      if (c != 0)
        return keys[k].descending ? c > 0 : c < 0;
    }
    return false;
  });
  return order;
}

} // namespace TDInvoice::Ado
