// What the report engine needs of a dataset: record navigation, a record count and field
// values by name. The report finds the datasets among the components of its owning form
// (QObjects that also implement this interface), named by their component name.
#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace TDInvoice::Report {

// The class of a field as the platform's dataset types it.
enum class TReportFieldType {
  String,
  WideString,
  Integer,
  SmallInt,
  Word,
  AutoInc,
  LargeInt,
  Float,
  Currency,
  BCD,
  Boolean,
  Date,
  Time,
  DateTime,
  Other
};

struct TReportField {
  QString name;
  TReportFieldType type = TReportFieldType::Other;
  QVariant value;
  // The field's display text (dates and times are compared as this text).
  QString displayText;
};

class TReportDataSet {
public:
  virtual ~TReportDataSet() = default;

  // The component name group expressions refer to ("ADODataSet1").
  virtual QString dataSetName() const = 0;
  virtual void First() = 0;
  virtual void Next() = 0;
  virtual void Prior() = 0;
  // True once Next has moved past the last record (or the dataset is empty).
  virtual bool Eof() const = 0;
  // May throw; the engine then counts one record.
  virtual int RecordCount() const = 0;
  // The field of the current record named name, compared without regard to case.
  virtual std::optional<TReportField> FindField(const QString &name) const = 0;
};

} // namespace TDInvoice::Report
