// Fixtures of the preview tests: output devices filled by hand, a synthetic report of one
// record per page, and helpers to let posted notifications arrive.
#pragma once

#include "report/engine/MemoryDataSet.h"
#include "report/engine/Report.h"
#include "report/engine/ReportBand.h"
#include "report/engine/ReportCustomLabel.h"
#include "report/output/MetaPage.h"
#include "report/output/ReportPrinter.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <gtest/gtest.h>

namespace TDInvoice::Report::Testing {

// Delivers the notifications the device has posted so far.
void deliverPosted();

// Begins a document on a recording device and records pages: page n shows "Page n" and a
// black 40 x 20 block at (100 + n, 200) in device units. finished: the document is ended.
void recordPages(TReportPrinter &device, int pages, bool finished = true);

// Texts recorded on a page.
QStringList textsOf(const TMetaPage &page);

// Pages of a PDF written by Qt (-1: not a PDF).
int pdfPageCount(const QString &fileName);

// Whether a pixel is (nearly) pure black or white.
bool isBlack(QRgb pixel);
bool isWhite(QRgb pixel);

// A report on A4 over an in-memory dataset: one record per page (the detail band forces a
// new page), the page showing "Record n". labelsPerPage adds filler lines to make pages
// bigger. beforeRecord is called as each record's band is about to print.
class SyntheticReport {
public:
  explicit SyntheticReport(int records, int labelsPerPage = 0);

  QObject form;
  TReport *report;
  TMemoryDataSet *data;
  TReportBand *detail;
  std::function<void(int record)> beforeRecord;
  // Puts record n's label n x 10 mm below the band's top (the band grows to hold five), so
  // that a page's record can be read from where its text lies.
  void placeLabelsByRecord(bool on = true);
  int recordsPrinted = 0;

private:
  TReportLabel *m_label = nullptr;
  bool m_byRecord = false;
};

// The text of every page of a recorded device.
std::vector<QStringList> pageTexts(const TReportPrinter &device);

} // namespace TDInvoice::Report::Testing
