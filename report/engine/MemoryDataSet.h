// A dataset held in memory: typed columns and rows of values. For synthetic reports and
// tests; the report finds it among its form's components like any other dataset.
#pragma once

#include "report/engine/ReportDataSet.h"

#include <QObject>
#include <QVariantList>
#include <vector>

namespace TDInvoice::Report {

class TMemoryDataSet : public QObject, public TReportDataSet {
public:
  struct TColumn {
    QString name;
    TReportFieldType type = TReportFieldType::String;
  };

  explicit TMemoryDataSet(QObject *owner = nullptr, const QString &name = QString());

  void setColumns(const std::vector<TColumn> &columns) { m_columns = columns; }
  void appendRow(const QVariantList &values) { m_rows.push_back(values); }
  void clearRows();
  int rowCount() const { return static_cast<int>(m_rows.size()); }
  // The current record, 0-based (-1 before First).
  int recordNo() const { return m_position; }
  // Makes RecordCount throw, as a dataset that cannot count does.
  void setCountFails(bool fails) { m_countFails = fails; }

  QString dataSetName() const override { return objectName(); }
  void First() override;
  void Next() override;
  void Prior() override;
  bool Eof() const override { return m_eof; }
  int RecordCount() const override;
  std::optional<TReportField> FindField(const QString &name) const override;
  // The current record's value of a column (an invalid variant when there is none).
  QVariant value(const QString &name) const;

private:
  std::vector<TColumn> m_columns;
  std::vector<QVariantList> m_rows;
  int m_position = -1;
  bool m_eof = true;
  bool m_countFails = false;
};

} // namespace TDInvoice::Report
