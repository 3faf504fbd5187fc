#include "report/engine/MemoryDataSet.h"

#include "TDInvoice/Exceptions.h"

namespace TDInvoice::Report {

TMemoryDataSet::TMemoryDataSet(QObject *owner, const QString &name) : QObject(owner) {
  setObjectName(name);
}

void TMemoryDataSet::clearRows() {
  m_rows.clear();
  m_position = -1;
  m_eof = true;
}

void TMemoryDataSet::First() {
  m_position = m_rows.empty() ? -1 : 0;
  m_eof = m_rows.empty();
}

void TMemoryDataSet::Next() {
  // Past the last record the dataset stays on it and reports the end.
  if (m_position + 1 < rowCount())
    ++m_position;
  else
    m_eof = true;
}

void TMemoryDataSet::Prior() {
  if (m_rows.empty())
    return;
  m_eof = false;
  if (m_position > 0)
    --m_position;
}

int TMemoryDataSet::RecordCount() const {
  if (m_countFails)
    throw EDatabaseError("Record count is not available");
  return rowCount();
}

std::optional<TReportField> TMemoryDataSet::FindField(const QString &name) const {
  for (std::size_t i = 0; i < m_columns.size(); ++i) {
    if (m_columns[i].name.compare(name, Qt::CaseInsensitive) != 0)
      continue;
    TReportField field{m_columns[i].name, m_columns[i].type, {}, {}};
    if (m_position >= 0 && m_position < rowCount() &&
        static_cast<qsizetype>(i) < m_rows[static_cast<std::size_t>(m_position)].size())
      field.value = m_rows[static_cast<std::size_t>(m_position)][static_cast<qsizetype>(i)];
    field.displayText = field.value.toString();
    return field;
  }
  return std::nullopt;
}

QVariant TMemoryDataSet::value(const QString &name) const {
  auto field = FindField(name);
  return field ? field->value : QVariant();
}

} // namespace TDInvoice::Report
