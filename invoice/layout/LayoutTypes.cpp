#include "invoice/layout/LayoutTypes.h"

#include <algorithm>

namespace TDInvoice::Layout {

namespace {

bool samePrinterSettings(const TReportPrinterSettingsValues &a,
                         const TReportPrinterSettingsValues &b) {
  return a.Copies == b.Copies && a.Duplex == b.Duplex && a.FirstPage == b.FirstPage &&
         a.LastPage == b.LastPage && a.OutputBin == b.OutputBin && a.PrinterIndex == b.PrinterIndex;
}

template <class Bands> auto *findIn(Bands &bands, std::string_view name) {
  auto found = std::find_if(bands.begin(), bands.end(),
                            [name](const TBandDesc &band) { return band.name == name; });
  return found == bands.end() ? nullptr : &*found;
}

const TPrintableDesc *findIn(const std::vector<TPrintableDesc> &list, std::string_view name) {
  auto found = std::find_if(list.begin(), list.end(),
                            [name](const TPrintableDesc &p) { return p.name == name; });
  return found == list.end() ? nullptr : &*found;
}

} // namespace

bool operator==(const TReportDesc &a, const TReportDesc &b) {
  return a.formClassName == b.formClassName && a.name == b.name && a.dataSet == b.dataSet &&
         a.units == b.units && a.zoom == b.zoom && a.page == b.page && a.font == b.font &&
         a.firstPageHeader == b.firstPageHeader && a.lastPageFooter == b.lastPageFooter &&
         a.compression == b.compression && a.printIfEmpty == b.printIfEmpty &&
         a.reportTitle == b.reportTitle &&
         samePrinterSettings(a.printerSettings, b.printerSettings) && a.functions == b.functions &&
         a.beforePrint == b.beforePrint && a.formOnDestroy == b.formOnDestroy &&
         a.printables == b.printables && a.bands == b.bands;
}

std::vector<double> pageValues(const TPageDesc &page) {
  return {page.bottomMargin, page.length,      page.topMargin,  page.width,
          page.leftMargin,   page.rightMargin, page.columnSpace};
}

double bandWidthNative(const TReportDesc &report) {
  const TPageDesc &page = report.page;
  const double full = page.width - page.leftMargin - page.rightMargin;
  return (full - page.columnSpace * (page.columns - 1)) / page.columns;
}

const TBandDesc *findBand(const TReportDesc &report, std::string_view name) {
  return findIn(report.bands, name);
}

TBandDesc *findBand(TReportDesc &report, std::string_view name) {
  return findIn(report.bands, name);
}

const TPrintableDesc *findPrintable(const TBandDesc &band, std::string_view name) {
  return findIn(band.printables, name);
}

const TPrintableDesc *findPrintable(const TReportDesc &report, std::string_view name,
                                    const TBandDesc **band) {
  for (const TBandDesc &b : report.bands) {
    if (const TPrintableDesc *p = findPrintable(b, name)) {
      if (band != nullptr) {
        *band = &b;
      }
      return p;
    }
  }
  if (band != nullptr) {
    *band = nullptr;
  }
  return findIn(report.printables, name);
}

int printableIndex(const TBandDesc &band, std::string_view name) {
  const TPrintableDesc *p = findPrintable(band, name);
  return p == nullptr ? -1 : static_cast<int>(p - band.printables.data());
}

TFontDesc effectiveFont(const TReportDesc &report, const TBandDesc &band,
                        const TPrintableDesc &printable) {
  TFontDesc font = printable.font.value_or(band.font.value_or(report.font));
  if (printable.fontSize > 0) {
    font.size = printable.fontSize;
  }
  return font;
}

} // namespace TDInvoice::Layout
