#include "framework/ado/RecordsetRows.h"

#include "TDInvoice/Exceptions.h"

namespace TDInvoice::Ado {

namespace {

class VariantRows final : public RecordsetRows {
public:
  explicit VariantRows(RecordsetData data)
      : RecordsetRows(std::move(data.fields)), m_rows(std::move(data.rows)) {}

  std::size_t rowCount() const override { return m_rows.size(); }
  Variant value(std::size_t row, std::size_t column) const override { return m_rows[row][column]; }
  void rowValues(std::size_t row, std::vector<Variant> &out) const override { out = m_rows[row]; }

private:
  std::vector<std::vector<Variant>> m_rows;
};

} // namespace

void RecordsetRows::rowValues(std::size_t row, std::vector<Variant> &out) const {
  out.resize(m_fields.size());
  for (std::size_t column = 0; column < out.size(); ++column)
    out[column] = value(row, column);
}

std::shared_ptr<const RecordsetRows> rowsOf(RecordsetData data) {
  for (const auto &row : data.rows)
    if (row.size() != data.fields.size())
      throw EOleException("Recordset row width differs from its field count");
  return std::make_shared<const VariantRows>(std::move(data));
}

RecordsetData materialize(const RecordsetRows &rows) {
  RecordsetData data;
  data.fields = rows.fields();
  data.rows.resize(rows.rowCount());
  for (std::size_t row = 0; row < data.rows.size(); ++row)
    rows.rowValues(row, data.rows[row]);
  return data;
}

} // namespace TDInvoice::Ado
