#include "report/engine/ReportSize.h"

#include "report/engine/ReportControl.h"

namespace TDInvoice::Report {

TReportSizeBase::TReportSizeBase(TReportControl *owner, std::vector<TReportAxis> axes)
    : m_owner(owner), m_axes(std::move(axes)), m_values(m_axes.size(), 0.0) {}

void TReportSizeBase::setValues(const std::vector<double> &values) {
  for (std::size_t i = 0; i < m_values.size() && i < values.size(); ++i)
    setNativeValue(static_cast<int>(i), values[i]);
}

double TReportSizeBase::nativeValue(int index) const {
  if (index < 0 || index >= static_cast<int>(m_values.size()))
    return 0;
  return m_values[static_cast<std::size_t>(index)];
}

void TReportSizeBase::setNativeValue(int index, double native) {
  if (index < 0 || index >= static_cast<int>(m_values.size()))
    return;
  auto &slot = m_values[static_cast<std::size_t>(index)];
  if (slot == native)
    return;
  slot = native;
  changed(index);
}

TUnitContext TReportSizeBase::context() const {
  return m_owner ? m_owner->unitContext() : TUnitContext{};
}

double TReportSizeBase::value(int index) const {
  if (index < 0 || index >= static_cast<int>(m_values.size()))
    return 0;
  return unitFromNative(nativeValue(index), m_units, m_axes[static_cast<std::size_t>(index)],
                        context());
}

void TReportSizeBase::setValue(int index, double value) {
  if (index < 0 || index >= static_cast<int>(m_values.size()) || !writable(index))
    return;
  setNativeValue(
      index, nativeFromUnit(value, m_units, m_axes[static_cast<std::size_t>(index)], context()));
}

void TReportSizeBase::changed(int index) {
  if (m_owner)
    m_owner->sizeChanged(index);
}

TReportBandSize::TReportBandSize(TReportControl *owner)
    : TReportSizeBase(owner, {TReportAxis::Vertical, TReportAxis::Horizontal}) {}

TReportPrintableSize::TReportPrintableSize(TReportControl *owner)
    : TReportSizeBase(owner, {TReportAxis::Vertical, TReportAxis::Horizontal, TReportAxis::Vertical,
                              TReportAxis::Horizontal}) {}

} // namespace TDInvoice::Report
