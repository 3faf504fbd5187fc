// Values of group expressions and the report's named constants.
#pragma once

#include "report/engine/ReportDataSet.h"

#include <QString>
#include <QtGlobal>
#include <optional>
#include <variant>
#include <vector>

namespace TDInvoice::Report {

// A tagged expression value: integer, floating point, short string or boolean.
using TReportValue = std::variant<qint64, double, QString, bool>;

// Equal in type and value (strings byte for byte, case-sensitive).
bool sameValue(const TReportValue &a, const TReportValue &b);

// The value a field gives an expression, by the field's class. Raises EReportError "Field %s
// is of unknown type" for any other class.
TReportValue valueOfField(const TReportField &field);

// Parses a literal: a quoted string ('it''s'), an integer, a floating-point number, TRUE or
// FALSE. Nothing for anything else.
std::optional<TReportValue> parseLiteral(const QString &text);

// Named constants (PAGENUMBER, COLUMNNUMBER, REPORTTITLE), names without regard to case.
class TReportFunctions {
public:
  void define(const QString &name, const TReportValue &value);
  // Defines name from a layout's data text (a literal; anything else is kept as text).
  void defineData(const QString &name, const QString &data);
  std::optional<TReportValue> value(const QString &name) const;
  bool contains(const QString &name) const { return value(name).has_value(); }
  std::vector<QString> names() const;

private:
  std::vector<std::pair<QString, TReportValue>> m_entries;
};

// A group expression: "Dataset.Field", a constant's name or a literal.
class TReportExpression {
public:
  void prepare(const QString &expression, const std::vector<TReportDataSet *> *dataSets,
               const TReportFunctions *functions);
  void unprepare();
  // Evaluates on the datasets' current records. Raises EReportError for a name that is
  // neither a field nor a constant.
  TReportValue value() const;

private:
  std::optional<TReportField> findField() const;

  QString m_text;
  QString m_dataSetPart;
  QString m_fieldPart;
  std::optional<TReportValue> m_literal;
  const std::vector<TReportDataSet *> *m_dataSets = nullptr;
  const TReportFunctions *m_functions = nullptr;
};

} // namespace TDInvoice::Report
