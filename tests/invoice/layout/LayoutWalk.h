// Visits the printables and lengths of a layout, naming each for failure messages.
#pragma once

#include "invoice/layout/LayoutTypes.h"

#include <string>

namespace TDInvoice::Layout::Testing {

struct TPlacedPrintable {
  const TBandDesc *band; // nullptr for a printable on the page
  const TPrintableDesc *printable;
};

template <class F> void forEachPrintable(const TReportDesc &report, F &&visit) {
  for (const TPrintableDesc &p : report.printables) {
    visit(TPlacedPrintable{nullptr, &p});
  }
  for (const TBandDesc &band : report.bands) {
    for (const TPrintableDesc &p : band.printables) {
      visit(TPlacedPrintable{&band, &p});
    }
  }
}

// visit(owner name, field name, length) for every band height and printable box.
template <class F> void forEachLength(const TReportDesc &report, F &&visit) {
  for (const TBandDesc &band : report.bands) {
    visit(band.name, "height", band.height);
  }
  forEachPrintable(report, [&](const TPlacedPrintable &placed) {
    const TPrintableDesc &p = *placed.printable;
    visit(p.name, "left", p.left);
    visit(p.name, "top", p.top);
    visit(p.name, "width", p.width);
    visit(p.name, "height", p.height);
  });
}

inline std::string where(const TReportDesc &report, std::string_view owner,
                         std::string_view field) {
  return std::string(report.formClassName) + "." + std::string(owner) + "." + std::string(field);
}

} // namespace TDInvoice::Layout::Testing
