#include "report/engine/ReportControl.h"

#include "report/engine/CustomReport.h"

#include <algorithm>

namespace TDInvoice::Report {

TReportControl::TReportControl(QObject *owner) : QObject(owner) {}

TReportControl::~TReportControl() {
  // Controls are destroyed by their owner in any order: unhook both directions so that no
  // list keeps a dangling entry.
  for (TReportControl *child : m_controls)
    child->m_parent = nullptr;
  m_controls.clear();
  detachFromParent();
}

void TReportControl::detachFromParent() {
  if (!m_parent)
    return;
  auto &list = m_parent->m_controls;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  TReportControl *old = m_parent;
  m_parent = nullptr;
  old->controlsChanged();
}

void TReportControl::setParentControl(TReportControl *parent, int position) {
  for (TReportControl *up = parent; up; up = up->m_parent)
    if (up == this)
      return; // a control cannot contain itself
  detachFromParent();
  m_parent = parent;
  if (parent) {
    auto &list = parent->m_controls;
    if (position < 0 || position > static_cast<int>(list.size()))
      list.push_back(this);
    else
      list.insert(list.begin() + position, this);
    parent->controlsChanged();
  }
  if (m_parentFont)
    notifyFontChanged();
}

void TReportControl::endLoading() {
  if (!m_loading)
    return;
  m_loading = false;
  loaded();
}

TCustomReport *TReportControl::report() const {
  for (const TReportControl *c = this; c; c = c->m_parent)
    if (const TCustomReport *r = c->asReport())
      return const_cast<TCustomReport *>(r);
  return nullptr;
}

const TFontSpec &TReportControl::Font() const {
  if (m_parentFont && m_parent)
    return m_parent->Font();
  return m_font;
}

void TReportControl::setFont(const TFontSpec &font) {
  m_font = font;
  m_parentFont = false;
  notifyFontChanged();
}

void TReportControl::setParentFont(bool on) {
  if (on == m_parentFont)
    return;
  if (!on)
    m_font = Font(); // keep the font that was in use
  m_parentFont = on;
  notifyFontChanged();
}

void TReportControl::notifyFontChanged() {
  fontChanged();
  for (TReportControl *child : m_controls)
    if (child->m_parentFont)
      child->notifyFontChanged();
}

TUnitContext TReportControl::unitContext() const {
  if (const TCustomReport *r = report(); r && r != this)
    return r->unitContext();
  return {};
}

} // namespace TDInvoice::Report
