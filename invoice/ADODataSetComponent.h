// ADODataSet1 as the report engine sees it: a component of the form that walks the
// invoices of a TADODataSet and hands out field values for group expressions.
#pragma once

#include "framework/db/TADODataSet.h"
#include "report/engine/ReportDataSet.h"

#include <QObject>

namespace TDInvoice {

class TADODataSetComponent : public QObject, public Report::TReportDataSet {
public:
  // A component of owner named name (the name group expressions use).
  TADODataSetComponent(QObject *owner, const QString &name);

  TADODataSet &dataSet() { return m_dataSet; }
  const TADODataSet &dataSet() const { return m_dataSet; }

  QString dataSetName() const override { return objectName(); }
  void First() override { m_dataSet.First(); }
  void Next() override { m_dataSet.Next(); }
  void Prior() override { m_dataSet.Prior(); }
  bool Eof() const override;
  int RecordCount() const override { return m_dataSet.RecordCount(); }
  // The field's class follows its ADO type as the platform's dataset types it: 64-bit
  // integers are large-integer fields, which group expressions do not accept.
  std::optional<Report::TReportField> FindField(const QString &name) const override;

  static Report::TReportFieldType fieldTypeOf(Ado::DataTypeEnum type);

private:
  TADODataSet m_dataSet;
};

} // namespace TDInvoice
