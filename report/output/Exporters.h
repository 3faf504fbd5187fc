// Exporters of a recorded page store. Both replay the recorded pages; neither re-runs a report.
#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace TDInvoice::Report {

class TReportPageList;

// Writes every page of the store as one PDF (vector, fonts embedded, text selectable), or as
// PNG files page-0001.png... in a folder at dpi. Return the number of pages written;
// EReportError when the file or folder cannot be written.
int exportPdf(const TReportPageList &pages, const QString &fileName, const QString &title);
int exportPng(const TReportPageList &pages, const QString &folder, int dpi = 150);

// A registry of export filters the preview's save dialog offers (PDF and PNG registered).
struct TExportFilter {
  QString name;
  QString extension;
  std::function<int(const TReportPageList &, const QString &)> run;
};
const std::vector<TExportFilter> &exportFilters();

} // namespace TDInvoice::Report
