// Turns a form's stored layout (plain data) into its report components: Report1 with its
// page, options and printer settings, every band with its links, and every printable,
// each component named as the layout names it and owned by the form.
#pragma once

#include "invoice/layout/InvoiceLayouts.h"
#include "report/engine/Report.h"
#include "report/engine/ReportSubDetail.h"

#include <QObject>
#include <string_view>
#include <vector>

namespace TDInvoice {

// The form's event handlers by the names the layout binds. An empty function means the form
// has no handler of that name, which the builder reports as a layout fault.
class TLayoutHandlers {
public:
  virtual Report::TCustomReport::TBeforePrintEvent reportBeforePrint(std::string_view name) = 0;
  virtual Report::TReportCustomBand::TBeforePrintEvent bandBeforePrint(std::string_view name) = 0;
  virtual Report::TReportSubDetail::TNeedDataEvent needData(std::string_view name) = 0;

protected:
  ~TLayoutHandlers() = default;
};

struct TBuiltLayout {
  Report::TReport *report = nullptr;
  // Every component made, in creation order (the report first).
  std::vector<QObject *> components;
};

// Builds layout on form. dataSet is the component the layout's report dataset names (it must
// carry that name). Raises Layout::ELayoutError for a link to a band that is not there, a
// handler the form lacks, or an unknown unit or paper name; components made up to then stay
// with the form, which destroys them with itself.
TBuiltLayout buildFormLayout(QObject &form, const Layout::TReportDesc &layout,
                             TLayoutHandlers &handlers, Report::TReportDataSet &dataSet);

} // namespace TDInvoice
