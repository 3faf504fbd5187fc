#include "report/engine/ReportExpression.h"

#include "TDInvoice/Exceptions.h"

namespace TDInvoice::Report {

namespace {
constexpr int kShortStringLength = 255;
}

bool sameValue(const TReportValue &a, const TReportValue &b) { return a == b; }

TReportValue valueOfField(const TReportField &field) {
  switch (field.type) {
  case TReportFieldType::String:
  case TReportFieldType::WideString:
    return field.value.toString().left(kShortStringLength);
  case TReportFieldType::Integer:
  case TReportFieldType::SmallInt:
  case TReportFieldType::Word:
  case TReportFieldType::AutoInc:
    return static_cast<qint64>(field.value.toLongLong());
  case TReportFieldType::Float:
  case TReportFieldType::Currency:
  case TReportFieldType::BCD:
    return field.value.toDouble();
  case TReportFieldType::Boolean:
    return field.value.toBool();
  case TReportFieldType::Date:
  case TReportFieldType::Time:
  case TReportFieldType::DateTime:
    return field.displayText.left(kShortStringLength);
  case TReportFieldType::LargeInt:
  case TReportFieldType::Other:
    break;
  }
  throw EReportError(QStringLiteral("Field %1 is of unknown type").arg(field.name).toStdString());
}

std::optional<TReportValue> parseLiteral(const QString &raw) {
  // One result built in place and returned as it is: GCC 12 under the sanitizers takes the
  // moves of temporary variants for reads of uninitialised text.
  std::optional<TReportValue> value;
  const QString text = raw.trimmed();
  if (text.size() >= 2 && text.startsWith(QLatin1Char('\'')) && text.endsWith(QLatin1Char('\''))) {
    QString inner = text.mid(1, text.size() - 2);
    inner.replace(QStringLiteral("''"), QStringLiteral("'"));
    value.emplace(std::in_place_type<QString>, inner);
  } else if (text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0) {
    value.emplace(std::in_place_type<bool>, true);
  } else if (text.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) {
    value.emplace(std::in_place_type<bool>, false);
  } else if (!text.isEmpty() && (text[0].isDigit() || text[0] == QLatin1Char('-') ||
                                 text[0] == QLatin1Char('+') || text[0] == QLatin1Char('.'))) {
    // Names such as "inf" are identifiers, not numbers: a number starts with a digit or sign.
    bool ok = false;
    const qint64 integer = text.toLongLong(&ok);
    if (ok) {
      value.emplace(std::in_place_type<qint64>, integer);
    } else {
      const double real = text.toDouble(&ok);
      if (ok)
        value.emplace(std::in_place_type<double>, real);
    }
  }
  return value;
}

void TReportFunctions::define(const QString &name, const TReportValue &value) {
  for (auto &entry : m_entries)
    if (entry.first.compare(name, Qt::CaseInsensitive) == 0) {
      entry.second = value;
      return;
    }
  m_entries.emplace_back(name, value);
}

void TReportFunctions::defineData(const QString &name, const QString &data) {
  define(name, parseLiteral(data).value_or(TReportValue(data)));
}

std::optional<TReportValue> TReportFunctions::value(const QString &name) const {
  for (const auto &entry : m_entries)
    if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
      return entry.second;
  return std::nullopt;
}

std::vector<QString> TReportFunctions::names() const {
  std::vector<QString> result;
  for (const auto &entry : m_entries)
    result.push_back(entry.first);
  return result;
}

void TReportExpression::prepare(const QString &expression,
                                const std::vector<TReportDataSet *> *dataSets,
                                const TReportFunctions *functions) {
  m_text = expression.trimmed();
  m_dataSets = dataSets;
  m_functions = functions;
  m_literal = m_text.isEmpty() ? std::optional<TReportValue>(QString()) : parseLiteral(m_text);
  const auto dot = m_text.indexOf(QLatin1Char('.'));
  m_dataSetPart = dot < 0 ? QString() : m_text.left(dot);
  m_fieldPart = dot < 0 ? m_text : m_text.mid(dot + 1);
}

void TReportExpression::unprepare() {
  m_dataSets = nullptr;
  m_functions = nullptr;
}

std::optional<TReportField> TReportExpression::findField() const {
  if (!m_dataSets)
    return std::nullopt;
  for (TReportDataSet *dataSet : *m_dataSets) {
    if (!m_dataSetPart.isEmpty()) {
      if (dataSet->dataSetName().compare(m_dataSetPart, Qt::CaseInsensitive) != 0)
        continue;
      return dataSet->FindField(m_fieldPart); // the first dataset of that name decides
    }
    if (auto field = dataSet->FindField(m_fieldPart))
      return field;
  }
  return std::nullopt;
}

TReportValue TReportExpression::value() const {
  if (m_literal)
    return *m_literal;
  if (auto field = findField())
    return valueOfField(*field);
  if (m_functions)
    if (auto constant = m_functions->value(m_text))
      return *constant;
  throw EReportError(
      QStringLiteral("Unknown identifier \"%1\" in expression").arg(m_text).toStdString());
}

} // namespace TDInvoice::Report
